#include "dlghuizhi.h"

#include "data/services.h"
#include "frames/dialogbuttons.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace corvexa::client {

TDlgHuiZhi::TDlgHuiZhi(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgHuiZhi"));
    setWindowTitle(QStringLiteral("党员组织关系转移回执签收"));
    auto* group = new QGroupBox(QStringLiteral("回执签收"), this);
    // Both buttons share the group, so exactly one is chosen.
    rbReceived = new QRadioButton(QStringLiteral("收到回执"), group);
    rbWithdrawn = new QRadioButton(QStringLiteral("取消回执"), group);
    rbReceived->setChecked(true);
    edtDate = new QDateEdit(clock().today(), group);
    edtDate->setCalendarPopup(true);
    edtDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    auto* form = new QFormLayout(group);
    form->addRow(rbReceived);
    form->addRow(rbWithdrawn);
    form->addRow(QStringLiteral("回执签收日期"), edtDate);

    QDialogButtonBox* buttons = okCancelButtons(this, QStringLiteral("确  定"), QStringLiteral("取  消"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

bool TDlgHuiZhi::received() const {
    return rbReceived->isChecked();
}

QDate TDlgHuiZhi::date() const {
    return edtDate->date();
}

} // namespace corvexa::client
