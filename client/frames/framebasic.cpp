#include "framebasic.h"

#include "data/datamodule.h"
#include "data/services.h"
#include "office/fileservice.h"
#include "office/tableexport.h"
#include "office/workbook.h"

#include <QActionGroup>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QLabel>
#include <QMenu>
#include <QPieSeries>
#include <QPieSlice>
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

    m_chartMenu = new QMenu(this);
    QMenu* styles = m_chartMenu->addMenu(QStringLiteral("标签类型"));
    auto* group = new QActionGroup(this);
    const char* styleNames[] = {"数值", "百分比", "标题", "标题＋百分比", "标题＋数值"};
    for (int i = 0; i < 5; ++i) {
        QAction* action = styles->addAction(QString::fromUtf8(styleNames[i]));
        action->setCheckable(true);
        action->setChecked(i == 0);
        action->setData(i);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, i] {
            if (m_menuChart) applyLabelStyle(m_menuChart, i);
        });
    }
    // Opening the submenu checks the style the chart shows.
    connect(styles, &QMenu::aboutToShow, this, [this, styles] {
        if (!m_menuChart || m_menuChart->chart()->series().isEmpty()) return;
        const int style = labelStyle(m_menuChart);
        for (QAction* action : styles->actions())
            action->setChecked(action->data().toInt() == style);
    });
    connect(m_chartMenu->addAction(QStringLiteral("保存图片...")), &QAction::triggered, this, [this] {
        if (m_menuChart) saveChartPicture(m_menuChart, this);
    });

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

void TFrameBasic::attachChartMenu(QChartView* view) {
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
        m_menuChart = view;
        m_chartMenu->exec(view->mapToGlobal(pos));
    });
}

namespace {
const char* const kStyleProperty = "cxLabelStyle";
const char* const kTitleProperty = "cxTitle"; // a slice's own title

QString percentText(double part, double total) {
    return total == 0 ? QStringLiteral("0.00%") : QString::asprintf("%.2f%%", part * 100.0 / total);
}

QString styledLabel(int style, const QString& title, double value, double total) {
    const QString number = QString::number(value);
    const QString share = percentText(value, total);
    const QString texts[] = {number, share, title, title + u' ' + share, title + u' ' + number};
    return texts[qBound(0, style, 4)];
}

// The texts over the bars of a chart, placed again whenever the plot moves.
class BarLabels : public QObject {
public:
    static BarLabels* of(QChartView* view) {
        for (QObject* child : view->children())
            if (auto* labels = dynamic_cast<BarLabels*>(child)) return labels;
        return new BarLabels(view);
    }
    void setStyle(int style) {
        m_style = style;
        place();
    }
    QStringList texts() const {
        QStringList out;
        for (const auto* item : m_items)
            out << item->text();
        return out;
    }

private:
    explicit BarLabels(QChartView* view) : QObject(view), m_view(view) {
        connect(view->chart(), &QChart::plotAreaChanged, this, &BarLabels::place);
    }
    void place() {
        qDeleteAll(m_items);
        m_items.clear();
        QChart* chart = m_view->chart();
        for (QAbstractSeries* series : chart->series()) {
            auto* bars = qobject_cast<QAbstractBarSeries*>(series);
            if (!bars) continue;
            QStringList categories;
            for (QAbstractAxis* axis : chart->axes(Qt::Horizontal, bars))
                if (auto* c = qobject_cast<QBarCategoryAxis*>(axis)) categories = c->categories();
            const QList<QBarSet*> sets = bars->barSets();
            for (int j = 0; j < sets.size(); ++j) {
                double total = 0;
                for (int i = 0; i < sets[j]->count(); ++i)
                    total += sets[j]->at(i);
                const double offset = (j - (sets.size() - 1) / 2.0) * bars->barWidth() / sets.size();
                for (int i = 0; i < sets[j]->count(); ++i) {
                    const QString title = categories.value(i, sets[j]->label());
                    auto* item = new QGraphicsSimpleTextItem(
                        styledLabel(m_style, title, sets[j]->at(i), total), chart);
                    const QPointF top = chart->mapToPosition(QPointF(i + offset, sets[j]->at(i)), bars);
                    const QRectF box = item->boundingRect();
                    item->setPos(top.x() - box.width() / 2, top.y() - box.height() - 2);
                    m_items << item;
                }
            }
        }
    }

    QChartView* m_view;
    int m_style = 0;
    QList<QGraphicsSimpleTextItem*> m_items;
};
} // namespace

QStringList TFrameBasic::barLabels(QChartView* view) {
    return BarLabels::of(view)->texts();
}

int TFrameBasic::labelStyle(const QChartView* view) {
    const QVariant style = view->property(kStyleProperty);
    return style.isValid() ? style.toInt() : LabelValue;
}

// Every slice and bar shows what the style asks: its value, its share of its
// series, its title (a slice's label, a bar's category), or title and either.
void TFrameBasic::applyLabelStyle(QChartView* view, int style) {
    view->setProperty(kStyleProperty, style);
    for (QAbstractSeries* series : view->chart()->series()) {
        if (auto* pie = qobject_cast<QPieSeries*>(series)) {
            for (QPieSlice* slice : pie->slices()) {
                if (!slice->property(kTitleProperty).isValid())
                    slice->setProperty(kTitleProperty, slice->label());
                slice->setLabel(styledLabel(style, slice->property(kTitleProperty).toString(), slice->value(),
                                            pie->sum()));
                slice->setLabelVisible(true);
            }
        } else if (auto* bars = qobject_cast<QAbstractBarSeries*>(series)) {
            // Qt draws one format for all bars, so each bar's text is placed here.
            bars->setLabelsVisible(false);
            BarLabels::of(view)->setStyle(style);
        }
    }
}

bool TFrameBasic::saveChartPicture(QChartView* view, QWidget* parent) {
    QString path = office::fileService().saveFileName(parent, QStringLiteral("保存图片"), QString(),
                                                      QStringLiteral("Bitmaps (*.bmp)"));
    if (path.isEmpty()) return false;
    if (!path.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive)) path += QStringLiteral(".bmp");
    if (view->grab().save(path, "BMP")) return true;
    ShowError(QStringLiteral("图片不能保存到 %1").arg(path));
    return false;
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
