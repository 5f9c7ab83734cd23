#include "dlgdzb.h"

#include "data/errors.h"
#include "data/recordsetbinder.h"
#include "data/services.h"
#include "frames/dialogbuttons.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvexa::client {

TDlgDZB::TDlgDZB(RecordSet& branches, QWidget* parent)
    : QDialog(parent), m_set(branches), m_binder(new RecordSetBinder(&branches, this)) {
    setObjectName(QStringLiteral("DlgDZB"));
    setWindowTitle(QStringLiteral("党支部属性"));
    auto* group = new QGroupBox(QStringLiteral("党支部"), this);
    auto* form = new QFormLayout(group);
    edtID = new QLineEdit(group);
    edtID->setReadOnly(true);
    edtID->setStyleSheet(QStringLiteral("background: #c0dcc0;")); // money green: not to be typed in
    edtName = new QLineEdit(group);
    edtHuanJie = new QDateEdit(group);
    edtHuanJie->setCalendarPopup(true);
    edtHuanJie->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    form->addRow(QStringLiteral("支部编号"), edtID);
    form->addRow(QStringLiteral("支部名称"), edtName);
    form->addRow(QStringLiteral("换届日期"), edtHuanJie);
    m_binder->bind(edtID, QStringLiteral("ZB_ID"));
    m_binder->bind(edtName, QStringLiteral("ZB_Name"));
    m_binder->bind(edtHuanJie, QStringLiteral("ZB_HuanJieRQ"));

    QDialogButtonBox* buttons = okCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

// A branch needs its name: the dialog stays open until the row can be posted.
void TDlgDZB::accept() {
    try {
        if (m_set.isEditing()) m_set.post();
    } catch (const DataError& e) {
        ShowError(e.message());
        edtName->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace corvexa::client
