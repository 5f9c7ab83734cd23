#pragma once
// The graduation-year question: a year from 2000 to 2100, this year unless
// the caller presets another.
#include <QDialog>

class QSpinBox;

namespace corvexa::client {

class TDlgYear : public QDialog {
    Q_OBJECT
public:
    explicit TDlgYear(QWidget* parent = nullptr);

    QSpinBox* edtYear;

    int year() const;
    void setYear(int year);
};

} // namespace corvexa::client
