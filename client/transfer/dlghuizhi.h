#pragma once
// Signs off (or withdraws) the receipt of the relation transfer for the
// selected members, with the day of signing. Created for each use.
#include <QDate>
#include <QDialog>

class QDateEdit;
class QRadioButton;

namespace corvexa::client {

class TDlgHuiZhi : public QDialog {
    Q_OBJECT
public:
    explicit TDlgHuiZhi(QWidget* parent = nullptr);

    QRadioButton* rbReceived;
    QRadioButton* rbWithdrawn;
    QDateEdit* edtDate;

    // "收到回执" chosen; otherwise the receipt is withdrawn.
    bool received() const;
    QDate date() const;
};

} // namespace corvexa::client
