#include "framebasic.h"

#include "data/datamodule.h"
#include "data/services.h"
#include "office/tableexport.h"
#include "office/workbook.h"

#include <QLabel>
#include <QMenu>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace corvexa::client {
namespace {
std::function<void(const QString&)>& recordCountSink() {
    static std::function<void(const QString&)> sink;
    return sink;
}
} // namespace

void setRecordCountSink(std::function<void(const QString&)> sink) {
    recordCountSink() = std::move(sink);
}

TFrameBasic::TFrameBasic(QWidget* parent) : QFrame(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_title = new QLabel(QStringLiteral("标题"), this);
    m_title->setObjectName(QStringLiteral("PanelTitle"));
    m_title->setAutoFillBackground(true);
    m_title->setContentsMargins(8, 4, 8, 4);
    QFont font = m_title->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.15);
    m_title->setFont(font);
    QPalette palette = m_title->palette();
    palette.setColor(QPalette::Window, QColor(0x1f, 0x5f, 0xa8)); // a strong "hot light" blue
    palette.setColor(QPalette::WindowText, Qt::white);
    m_title->setPalette(palette);
    layout->addWidget(m_title);
    m_body = new QVBoxLayout;
    m_body->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(m_body, 1);

    m_chkListMenu = new QMenu(this);
    const char* items[] = {"全选", "全不选", "反选", nullptr, "勾选加亮的行"};
    int command = 0;
    for (const char* item : items) {
        if (!item) {
            m_chkListMenu->addSeparator();
            continue;
        }
        QAction* action = m_chkListMenu->addAction(QString::fromUtf8(item));
        action->setData(command++);
        connect(action, &QAction::triggered, this, [this, action] {
            if (m_menuList) applyCheckListCommand(m_menuList, action->data().toInt());
        });
    }
}

void TFrameBasic::setTitle(const QString& title) {
    m_title->setText(title);
}

QString TFrameBasic::title() const {
    return m_title->text();
}

void TFrameBasic::ShowSelCount(const QTreeWidget* list) {
    if (!list || !recordCountSink()) return;
    recordCountSink()(QStringLiteral("选中记录条数：%1/%2")
                          .arg(list->selectedItems().size())
                          .arg(list->topLevelItemCount()));
}

void TFrameBasic::SelectItemByCaption(const QString& caption, QTreeWidget* list) {
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        if (item->text(0) == caption) {
            list->clearSelection();
            list->setCurrentItem(item);
            item->setSelected(true);
            list->scrollToItem(item);
            return;
        }
    }
}

void TFrameBasic::ExportListView(QTreeWidget* list, int startRow) {
    office::Workbook* book = DM().excel();
    if (!book) return;
    office::TableExport layout;
    layout.startRow = startRow;
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    if (selected.size() > 1) {
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->isSelected()) layout.rows << i;
    }
    office::exportModel(*book, *list->model(), layout);
    ShowInfo(QStringLiteral("数据已经成功导出到Excel！"));
}

QString TFrameBasic::exportText(const Value& value, int fieldType) {
    if (value.isNull()) return {};
    switch (FieldType(fieldType)) {
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Integer:
    case FieldType::Decimal:
        return value.type() == Value::Type::Int ? QString::number(value.toInt()) : value.text();
    case FieldType::Boolean:
        return value.toBool() ? QStringLiteral("是") : QStringLiteral("否");
    case FieldType::Float:
        return QString::asprintf("%.2f", value.toDouble());
    case FieldType::DateTime:
        return value.dateTime().toString(QStringLiteral("yyyy-MM-dd"));
    }
    return {};
}

void TFrameBasic::ExportDataSet(RecordSet& set, int startRow) {
    const int remembered = set.currentRow();
    set.disableControls();
    struct Restore {
        RecordSet& set;
        int row;
        ~Restore() {
            if (row >= 0 && row < set.rowCount()) set.moveTo(row);
            set.enableControls();
        }
    } restore{set, remembered};
    QList<int> fields;
    for (int f = 0; f < set.fieldCount(); ++f)
        if (set.field(f).visible) fields << f;
    DM().ExcelCell(startRow, 1, QStringLiteral("序号"));
    for (int c = 0; c < fields.size(); ++c)
        DM().ExcelCell(startRow, c + 2, set.field(fields[c]).label());
    for (int row = 0; row < set.rowCount(); ++row) {
        const int sheetRow = startRow + 1 + row;
        DM().ExcelCell(sheetRow, 1, QString::number(row + 1));
        for (int c = 0; c < fields.size(); ++c) {
            const QString text = exportText(set.value(row, fields[c]), int(set.field(fields[c]).type));
            if (!text.isEmpty()) DM().ExcelCell(sheetRow, c + 2, text);
        }
    }
}

void TFrameBasic::attachCheckListMenu(QTreeWidget* list) {
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& pos) {
        m_menuList = list;
        m_chkListMenu->exec(list->viewport()->mapToGlobal(pos));
    });
}

void TFrameBasic::applyCheckListCommand(QTreeWidget* list, int command) {
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        bool checked = item->checkState(0) == Qt::Checked;
        switch (command) {
        case 0:
            checked = true;
            break;
        case 1:
            checked = false;
            break;
        case 2:
            checked = !checked;
            break;
        case 3:
            checked = item->isSelected();
            break;
        default:
            return;
        }
        item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }
}

} // namespace corvexa::client
