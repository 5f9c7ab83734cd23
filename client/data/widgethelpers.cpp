#include "widgethelpers.h"

#include "helpers.h"
#include "recordset.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPainter>
#include <QTreeWidget>

namespace corvexa::client {

bool NumKeyFilter::passes(QChar c) {
    return c == u'\t' || c == u'\r' || c == u'\n' || c == u'\b' || c == u'.' || (c >= u'0' && c <= u'9');
}

bool NumKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    // Keys without text (arrows, Delete, function keys) move and edit as usual.
    const QString text = key->text();
    if (text.isEmpty() || key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Tab ||
        key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        return false;
    for (QChar c : text) {
        if (!passes(c)) {
            QApplication::beep();
            return true;
        }
    }
    return false;
}

void FillComboFromSet(QComboBox* combo, RecordSet& set, const QString& field) {
    combo->clear();
    if (!set.isOpen()) set.open();
    const int f = set.requireField(field);
    QStringList items;
    items.reserve(set.rowCount());
    set.disableControls();
    for (set.first(); !set.eof(); set.next())
        items << set.displayText(set.currentRow(), f);
    set.enableControls();
    combo->addItems(items);
}

QTreeWidgetItem* FindListItem(QTreeWidget* list, const QString& text) {
    const QString wanted = text.trimmed();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        if (item->text(0).trimmed() == wanted) return item;
    }
    return nullptr;
}

ListSorter::ListSorter(QTreeWidget* list, QSet<int> numericColumns, QSet<int>* sharedDirections)
    : QObject(list), m_list(list), m_numeric(std::move(numericColumns)),
      m_ascending(sharedDirections ? sharedDirections : &m_ownDirections) {}

void ListSorter::sortBy(int column) {
    const bool asc = ascending(column);
    // The next click on this column sorts the other way.
    if (asc)
        m_ascending->remove(column);
    else
        m_ascending->insert(column);
    QList<QTreeWidgetItem*> items;
    while (m_list->topLevelItemCount() > 0)
        items << m_list->takeTopLevelItem(0);
    const bool numeric = m_numeric.contains(column);
    std::stable_sort(items.begin(), items.end(), [&](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        const int c = numeric ? CompareNumText(a->text(column), b->text(column))
                              : CompareListText(a->text(column), b->text(column));
        return asc ? c < 0 : c > 0;
    });
    m_list->addTopLevelItems(items);
}

void GridCellDelegate::DrawGridCell(QPainter* painter, int row, const QRect& rect, bool editable,
                                    const QString& alignmentCode, QStyle::State state, bool striped,
                                    const QString& text, const QPalette& palette) {
    QColor background =
        striped && row % 2 == 1 ? QColor(192, 220, 192) : palette.color(QPalette::ToolTipBase);
    if (!editable) background = Qt::yellow;
    QColor foreground = palette.color(QPalette::Text);
    if (state & QStyle::State_Selected) {
        background = palette.color(QPalette::Highlight);
        foreground = palette.color(QPalette::HighlightedText);
    }
    if (state & QStyle::State_HasFocus) {
        background = palette.color(QPalette::Highlight).lighter(130); // the theme's hot-light tone
        foreground = palette.color(QPalette::HighlightedText);
    }
    painter->save();
    painter->fillRect(rect, background);
    const Qt::Alignment align = alignmentCode == u"0"   ? Qt::AlignLeft
                                : alignmentCode == u"1" ? Qt::AlignHCenter
                                                        : Qt::AlignRight;
    painter->setPen(foreground);
    painter->drawText(rect.adjusted(4, 0, -4, 0), int(align | Qt::AlignVCenter), text);
    if (state & QStyle::State_HasFocus) {
        QPen pen(foreground, 1, Qt::DotLine);
        painter->setPen(pen);
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const bool editable = m_editable.value(index.column(), index.column() != 0);
    DrawGridCell(painter, index.row(), option.rect, editable,
                 m_alignment.value(index.column(), QStringLiteral("0")), option.state, m_striped,
                 index.data(Qt::DisplayRole).toString(), option.palette);
}

} // namespace corvexa::client
