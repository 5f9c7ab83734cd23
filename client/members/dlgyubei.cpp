#include "dlgyubei.h"

#include "data/services.h"
#include "frames/dialogbuttons.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace corvexa::client {

TDlgYuBei::TDlgYuBei(const QString& name, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgYuBei"));
    setWindowTitle(QStringLiteral("转为预备党员"));
    auto* group = new QGroupBox(QStringLiteral("党员资料"), this);
    auto* form = new QFormLayout(group);
    edtName = new QLineEdit(name, group);
    edtName->setReadOnly(true);
    edtName->setStyleSheet(QStringLiteral("background: #c0dcc0;")); // money green: not to be typed in
    edtRuDang = new QDateEdit(clock().today(), group);
    edtRuDang->setCalendarPopup(true);
    edtRuDang->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    form->addRow(QStringLiteral("姓  名："), edtName);
    form->addRow(QStringLiteral("入党日期："), edtRuDang);

    QDialogButtonBox* buttons = okCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

QDate TDlgYuBei::joinDate() const {
    return edtRuDang->date();
}

// A candidate whose record has no name cannot be turned into a member.
void TDlgYuBei::accept() {
    if (edtName->text().trimmed().isEmpty()) {
        ShowWarning(QStringLiteral("姓名不能为空！请重新输入"));
        return;
    }
    QDialog::accept();
}

} // namespace corvexa::client
