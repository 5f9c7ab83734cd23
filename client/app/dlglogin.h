#pragma once
// The login dialog: connects to the server at the address typed, checks the
// login and fills the data module's login values. Four attempts.
#include "data/datamodule.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace corvexa::client {

class TDlgLogin : public QDialog {
    Q_OBJECT
public:
    explicit TDlgLogin(TDM& dm, QWidget* parent = nullptr);

    QLineEdit* edtUser;
    QLineEdit* edtPSWD;
    QSpinBox* SpinYear;
    QLineEdit* EditIP;
    QCheckBox* chkSave;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

    int attempts() const { return m_attempts; }

private:
    void readSettings();
    // One attempt; true when the login values are filled and the account may log in.
    bool check();
    void saveSettings();

    TDM& m_dm;
    int m_attempts = 0;
    QString m_connectedHost;
};

// The start-up's login step with the dialog.
class DialogLogin : public LoginStep {
public:
    bool run(TDM& dm) override;
};

} // namespace corvexa::client
