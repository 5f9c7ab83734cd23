#include "dlgyear.h"

#include "data/services.h"
#include "frames/dialogbuttons.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace corvexa::client {

TDlgYear::TDlgYear(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgYear"));
    setWindowTitle(QStringLiteral("设置毕业生毕业年度"));
    setModal(true);
    edtYear = new QSpinBox(this);
    edtYear->setRange(2000, 2100);
    edtYear->setValue(clock().today().year());
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("请设置毕业年度"), this));
    row->addWidget(edtYear);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(okCancelButtons(this));
}

int TDlgYear::year() const {
    return edtYear->value();
}

void TDlgYear::setYear(int year) {
    edtYear->setValue(year);
}

} // namespace corvexa::client
