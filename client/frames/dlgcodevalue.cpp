#include "dlgcodevalue.h"

#include "data/datamodule.h"
#include "data/services.h"
#include "data/widgethelpers.h"
#include "frames/dialogbuttons.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace corvexa::client {

TDlgCodeValue::TDlgCodeValue(TDM& dm, QWidget* parent) : QDialog(parent), m_dm(dm) {
    setObjectName(QStringLiteral("DlgCodeValue"));
    setWindowTitle(QStringLiteral("查找代码字段的值"));
    PageControl = new QTabWidget(this);
    auto* codes = new QWidget(PageControl);
    auto* codesLayout = new QHBoxLayout(codes);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("代码表"), codes));
    lstTables = new QListWidget(codes);
    left->addWidget(lstTables);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("代码表内容"), codes));
    grdValues = new QTableWidget(1, 2, codes);
    grdValues->setColumnWidth(0, 120);
    grdValues->horizontalHeader()->setStretchLastSection(true);
    auto* cells = new GridCellDelegate(grdValues);
    cells->setEditableFlag(0, false);
    grdValues->setItemDelegate(cells);
    grdValues->setSelectionMode(QAbstractItemView::SingleSelection);
    grdValues->setEditTriggers(QAbstractItemView::NoEditTriggers);
    right->addWidget(grdValues);
    codesLayout->addLayout(left, 1);
    codesLayout->addLayout(right, 2);
    PageControl->addTab(codes, QStringLiteral("代码字段值"));

    auto* datePage = new QWidget(PageControl);
    auto* dateLayout = new QVBoxLayout(datePage);
    dateLayout->addWidget(new QLabel(QStringLiteral("请输入或选择日期"), datePage));
    edtDate = new QDateEdit(clock().today(), datePage);
    edtDate->setCalendarPopup(true);
    edtDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    dateLayout->addWidget(edtDate);
    dateLayout->addStretch(1);
    PageControl->addTab(datePage, QStringLiteral("日期"));

    QDialogButtonBox* buttons = okCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl);
    layout->addWidget(buttons);
    resize(520, 380);

    RecordSet& temp = dm.CDS_Temp();
    dm.OpenSQL(temp, QStringLiteral("Select * from Sys_Tables where TabType='CODE'"));
    const int id = temp.fieldIndex(u"TabID"), name = temp.fieldIndex(u"TabName"),
              title = temp.fieldIndex(u"TabTitle");
    for (int row = 0; row < temp.rowCount(); ++row) {
        lstTables->addItem(temp.displayText(row, title));
        m_tables.append({int(temp.value(row, id).toInt()), temp.displayText(row, name)});
    }
    temp.close();
    connect(lstTables, &QListWidget::currentRowChanged, this, &TDlgCodeValue::showTable);
    // Only the value column can be chosen.
    connect(grdValues, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (column == 0 && row >= 0) grdValues->setCurrentCell(row, 1);
    });
}

void TDlgCodeValue::showTable(int position) {
    if (position < 0 || position >= m_tables.size()) return;
    const CodeTable& table = m_tables[position];
    RecordSet& temp = m_dm.CDS_Temp();
    // The dictionary lists a table's fields in their order.
    m_dm.OpenSQL(temp,
                 QStringLiteral("Select * from Sys_Fields where TabID=%1 order by FldIndex").arg(table.id));
    const int fieldTitle = temp.fieldIndex(u"FldTitle");
    QStringList titles;
    for (int row = 0; row < 2; ++row)
        titles << (row < temp.rowCount() ? temp.displayText(row, fieldTitle) : QString());
    grdValues->setHorizontalHeaderLabels(titles);
    m_dm.OpenSQL(temp, QStringLiteral("Select * from ") + table.name);
    grdValues->setRowCount(qMax(1, temp.rowCount()));
    grdValues->clearContents();
    for (int row = 0; row < temp.rowCount(); ++row)
        for (int column = 0; column < 2 && column < temp.fieldCount(); ++column)
            grdValues->setItem(row, column, new QTableWidgetItem(temp.displayText(row, column)));
    temp.close();
}

void TDlgCodeValue::accept() {
    QString value;
    if (PageControl->currentIndex() == 1) {
        value = edtDate->date().toString(QStringLiteral("yyyy-MM-dd"));
    } else if (const QTableWidgetItem* item = grdValues->currentItem()) {
        value = item->text();
    }
    CodeValue = TDM::quoted(value);
    QDialog::accept();
}

} // namespace corvexa::client
