#include "dlgjiansaody.h"

#include "data/datamodule.h"
#include "data/services.h"
#include "frames/dialogbuttons.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace corvexa::client {

TDlgJianSaoDY::TDlgJianSaoDY(TDM& dm, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgJianSaoDY"));
    setWindowTitle(QStringLiteral("减少党员"));
    auto* group = new QGroupBox(QStringLiteral("减少党员设置"), this);
    auto* form = new QFormLayout(group);
    cmbType = new QComboBox(group);
    dm.fillCodeCombo(cmbType, QStringLiteral("JianSaoLX"));
    // No type is offered before the user picks one.
    cmbType->setCurrentIndex(-1);
    edtDate = new QDateEdit(clock().today(), group);
    edtDate->setCalendarPopup(true);
    edtDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    form->addRow(QStringLiteral("减少类型"), cmbType);
    form->addRow(QStringLiteral("减少日期"), edtDate);

    QDialogButtonBox* buttons = okCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

QString TDlgJianSaoDY::type() const {
    return cmbType->currentText();
}

QDate TDlgJianSaoDY::date() const {
    return edtDate->date();
}

} // namespace corvexa::client
