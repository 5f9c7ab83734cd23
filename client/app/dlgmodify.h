#pragma once
// The account dialog: a new login name and password for the logged-in user.
#include <QDialog>
#include <functional>

class QLineEdit;

namespace corvexa::client {

class TDM;

class TDlgModify : public QDialog {
    Q_OBJECT
public:
    explicit TDlgModify(TDM& dm, QWidget* parent = nullptr);

    QLineEdit* edtOldName;
    QLineEdit* edtOldPSWD;
    QLineEdit* edtNewName;
    QLineEdit* edtNewPSWD1;
    QLineEdit* edtNewPSWD2;
    QLineEdit* edtTel;
    QLineEdit* edtMobile;
    QLineEdit* edtMail;

    void accept() override;

private:
    TDM& m_dm;
};

// The account change behind actSec_Account. The dialog runs through exec
// (tests answer it themselves); true when the change was stored.
bool changeAccount(TDM& dm, QWidget* parent, const std::function<int(TDlgModify&)>& exec);

} // namespace corvexa::client
