#include "dlgmodify.h"

#include "data/datamodule.h"
#include "data/errors.h"
#include "data/services.h"
#include "frames/dialogbuttons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace corvexa::client {

TDlgModify::TDlgModify(TDM& dm, QWidget* parent) : QDialog(parent), m_dm(dm) {
    setObjectName(QStringLiteral("DlgModify"));
    setWindowTitle(QStringLiteral("修改帐号"));
    auto line = [](QWidget* parent, bool masked) {
        auto* edit = new QLineEdit(parent);
        if (masked) edit->setEchoMode(QLineEdit::Password);
        return edit;
    };
    auto* old = new QGroupBox(QStringLiteral("旧帐号"), this);
    auto* oldForm = new QFormLayout(old);
    edtOldName = line(old, false);
    edtOldPSWD = line(old, true);
    for (QLineEdit* e : {edtOldName, edtOldPSWD}) {
        e->setReadOnly(true);
        e->setEnabled(false);
    }
    oldForm->addRow(QStringLiteral("登录名"), edtOldName);
    oldForm->addRow(QStringLiteral("口  令"), edtOldPSWD);
    auto* fresh = new QGroupBox(QStringLiteral("新帐号"), this);
    auto* newForm = new QFormLayout(fresh);
    edtNewName = line(fresh, false);
    edtNewPSWD1 = line(fresh, true);
    edtNewPSWD2 = line(fresh, true);
    newForm->addRow(QStringLiteral("登录名"), edtNewName);
    newForm->addRow(QStringLiteral("新口令"), edtNewPSWD1);
    newForm->addRow(QStringLiteral("重复口令"), edtNewPSWD2);
    // Shown for the user's notes; not connected to the user's record.
    auto* extra = new QGroupBox(QStringLiteral("附加信息"), this);
    auto* extraForm = new QFormLayout(extra);
    edtTel = line(extra, false);
    edtMobile = line(extra, false);
    edtMail = line(extra, false);
    extraForm->addRow(QStringLiteral("电  话"), edtTel);
    extraForm->addRow(QStringLiteral("手  机"), edtMobile);
    extraForm->addRow(QStringLiteral("电子邮件"), edtMail);

    edtOldName->setText(dm.login.LoginName);
    edtNewName->setText(dm.login.LoginName);
    for (QLineEdit* e : {edtOldPSWD, edtNewPSWD1, edtNewPSWD2})
        e->setText(dm.login.LoginPSWD);

    QDialogButtonBox* buttons = okCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(old);
    layout->addWidget(fresh);
    layout->addWidget(extra);
    layout->addWidget(buttons);
}

// Each check that fails shows its message and keeps the dialog open; a
// name that is taken is never accepted.
void TDlgModify::accept() {
    const QString name = edtNewName->text().trimmed();
    if (edtOldName->text().trimmed().toUpper() != name.toUpper()) {
        RecordSet& temp = m_dm.CDS_Temp();
        m_dm.OpenSQL(temp,
                     QStringLiteral("Select LoginName from DZZ_Users where LoginName=") + TDM::quoted(name));
        const bool taken = !temp.isEmpty();
        temp.close();
        if (taken) {
            ShowError(QStringLiteral("用户名: ") + edtNewName->text() +
                      QStringLiteral(" 已经存在，请更改新的用户名！"));
            return;
        }
    }
    if (edtNewPSWD1->text().trimmed().toUpper() != edtNewPSWD2->text().trimmed().toUpper()) {
        ShowError(QStringLiteral("新口令与重复口令不一致，请重新输入口令！"));
        return;
    }
    if (edtNewPSWD1->text().trimmed().isEmpty()) {
        ShowError(QStringLiteral("口令不能为空，请重新输入口令！"));
        return;
    }
    QDialog::accept();
}

bool changeAccount(TDM& dm, QWidget* parent, const std::function<int(TDlgModify&)>& exec) {
    QString name, password;
    {
        TDlgModify dialog(dm, parent);
        if (exec(dialog) != QDialog::Accepted) return false;
        name = dialog.edtNewName->text().trimmed();
        password = dialog.edtNewPSWD1->text().trimmed();
    }
    // The name through the user's record; the password, which no query may
    // read, by a statement of its own; both or neither.
    RecordSet& user = dm.set(u"CDS_DZZUser");
    dm.BeginTrans();
    try {
        if (!user.isEditing()) user.edit();
        user.setValue(u"LoginName", Value::fromText(name));
        TDM::applyOrRaise(user);
        dm.ExecSQL(dm.CDS_Temp(), QStringLiteral("Update DZZ_Users Set LoginPSWD=%1 where UserID=%2")
                                      .arg(TDM::quoted(password))
                                      .arg(dm.login.UserID));
        dm.CommitTrans();
    } catch (...) {
        user.cancelUpdates();
        try {
            dm.RollbackTrans();
        } catch (const DataError&) {
        }
        throw;
    }
    // The keep-alive and a second account change go by the new values.
    dm.login.LoginName = name;
    dm.login.LoginPSWD = password.toUpper();
    SettingsStore& store = dm.settings();
    store.setValue(QStringLiteral("UserName"), name);
    store.setValue(QStringLiteral("UserPSWD"), password);
    store.sync();
    return true;
}

} // namespace corvexa::client
