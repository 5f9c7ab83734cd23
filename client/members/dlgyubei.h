#pragma once
// Turning a candidate into a probationary member: his name (read-only) and
// the joining date. Created for each use.
#include <QDate>
#include <QDialog>

class QDateEdit;
class QLineEdit;

namespace corvexa::client {

class TDlgYuBei : public QDialog {
    Q_OBJECT
public:
    TDlgYuBei(const QString& name, QWidget* parent = nullptr);

    QLineEdit* edtName;
    QDateEdit* edtRuDang;

    QDate joinDate() const;

    void accept() override;
};

} // namespace corvexa::client
