#include "dlglogin.h"

#include "data/errors.h"
#include "data/services.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace corvexa::client {

TDlgLogin::TDlgLogin(TDM& dm, QWidget* parent) : QDialog(parent), m_dm(dm) {
    setObjectName(QStringLiteral("DlgLogin"));
    setWindowTitle(QStringLiteral("Corvexa登录"));
    auto* group = new QGroupBox(QStringLiteral("用户登录"), this);
    auto* form = new QFormLayout(group);
    edtUser = new QLineEdit(group);
    edtUser->setObjectName(QStringLiteral("edtUser"));
    edtPSWD = new QLineEdit(group);
    edtPSWD->setObjectName(QStringLiteral("edtPSWD"));
    edtPSWD->setEchoMode(QLineEdit::Password);
    SpinYear = new QSpinBox(group);
    SpinYear->setObjectName(QStringLiteral("SpinYear"));
    SpinYear->setRange(1900, 3000);
    EditIP = new QLineEdit(group);
    EditIP->setObjectName(QStringLiteral("EditIP"));
    chkSave = new QCheckBox(QStringLiteral("记住登录信息"), group);
    chkSave->setObjectName(QStringLiteral("chkSave"));
    form->addRow(QStringLiteral("登录名"), edtUser);
    form->addRow(QStringLiteral("口令"), edtPSWD);
    form->addRow(QStringLiteral("工作年度"), SpinYear);
    form->addRow(QStringLiteral("服务器IP"), EditIP);
    form->addRow(QString(), chkSave);

    auto* buttons = new QDialogButtonBox(this);
    BitBtn1 = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        if (check()) {
            if (chkSave->isChecked()) saveSettings();
            accept();
        } else if (m_attempts > 3) {
            reject();
        }
    });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    readSettings();
    setFixedSize(sizeHint().expandedTo(QSize(320, 0)));
}

void TDlgLogin::readSettings() {
    SettingsStore& store = m_dm.settings();
    if (!store.isUsable()) {
        // Nothing can be read nor saved.
        SpinYear->setValue(2004);
        EditIP->clear();
        chkSave->setChecked(false);
        chkSave->setEnabled(false);
        return;
    }
    const bool saved = store.value(QStringLiteral("SaveInfo")).toInt() != 0;
    chkSave->setChecked(saved);
    if (saved) {
        edtUser->setText(store.value(QStringLiteral("UserName")).toString());
        edtPSWD->setText(store.value(QStringLiteral("UserPSWD")).toString());
    }
    const int year = clock().today().year();
    SpinYear->setValue(
        store.contains(QStringLiteral("WorkYear")) ? store.value(QStringLiteral("WorkYear")).toInt() : year);
    EditIP->setText(store.contains(QStringLiteral("SrvIP")) ? store.value(QStringLiteral("SrvIP")).toString()
                                                            : QStringLiteral("127.0.0.1"));
    m_dm.login.BiYeNianDu = store.contains(QStringLiteral("BiYeNianDu"))
                                ? store.value(QStringLiteral("BiYeNianDu")).toInt()
                                : year;
}

bool TDlgLogin::check() {
    ++m_attempts;
    const QString host = EditIP->text().trimmed();
    ServerConnection& connection = m_dm.connection();
    try {
        if (connection.isConnected() && host != m_connectedHost) connection.disconnect();
        if (!connection.isConnected()) {
            connection.connectTo(host);
            m_connectedHost = host;
        }
    } catch (const DataError& e) {
        ShowError(QStringLiteral("连接数据库服务器时出现错误，请确认输入的数据库服务器IP地址是否正确。\n\n") +
                  e.message());
        return false;
    }
    LoginResult result;
    try {
        result = m_dm.logIn(host, edtUser->text(), edtPSWD->text(), SpinYear->value());
    } catch (const DataError& e) {
        ShowError(QStringLiteral("连接数据库服务器时出现错误，请确认输入的数据库服务器IP地址是否正确。\n\n") +
                  e.message());
        return false;
    }
    switch (result) {
    case LoginResult::UnknownUser:
        ShowError(QStringLiteral("该用户名不存在！"));
        return false;
    case LoginResult::WrongPassword:
        ShowError(QStringLiteral("用户名密码不正确！"));
        return false;
    case LoginResult::Disabled:
        ShowWarning(QStringLiteral("登录信息正确，但目前该帐号被禁用，不能登录到系统。\n\n请与管理员联系"));
        return false;
    case LoginResult::Ok:
        break;
    }
    return true;
}

void TDlgLogin::saveSettings() {
    SettingsStore& store = m_dm.settings();
    if (!store.isUsable()) return;
    // The order in which the values have always been written.
    store.setValue(QStringLiteral("SaveInfo"), 1);
    store.setValue(QStringLiteral("UserName"), edtUser->text());
    store.setValue(QStringLiteral("WorkYEar"), SpinYear->value());
    store.setValue(QStringLiteral("UserPSWD"), edtPSWD->text().trimmed());
    store.setValue(QStringLiteral("SrvIP"), EditIP->text().trimmed());
    store.sync();
}

bool DialogLogin::run(TDM& dm) {
    TDlgLogin dialog(dm);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace corvexa::client
