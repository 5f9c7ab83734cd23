#pragma once
// Helpers for the screens' controls: the numeric key filter, list fillers and
// finders, the list sorting rule and the grid-cell painter.
#include <QObject>
#include <QSet>
#include <QStyledItemDelegate>

class QComboBox;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvexa::client {

class RecordSet;

// Installed on numeric fields: Tab, Enter, Backspace, "." and the digits pass;
// any other typed character is swallowed with a beep.
class NumKeyFilter : public QObject {
public:
    using QObject::QObject;
    static bool passes(QChar c);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Clears the combo and adds the field's text of every row, opening the set
// when closed; the set is left after its last row.
void FillComboFromSet(QComboBox* combo, RecordSet& set, const QString& field);
// The first item whose caption, trimmed, equals the trimmed text exactly.
QTreeWidgetItem* FindListItem(QTreeWidget* list, const QString& text);

// The sorting of list views by a click on a column header: numeric columns
// compare with CompareNumText, text columns without regard to case, and every
// column keeps its own direction, which flips at every click; the first click
// on a column sorts descending. A list that is built anew for every use
// hands in directions that outlive it, so they hold for the whole run.
class ListSorter : public QObject {
public:
    ListSorter(QTreeWidget* list, QSet<int> numericColumns, QSet<int>* sharedDirections = nullptr);
    void sortBy(int column);
    // The direction the next click on the column sorts in.
    bool ascending(int column) const { return m_ascending->contains(column); }

private:
    QTreeWidget* m_list;
    QSet<int> m_numeric;
    QSet<int> m_ownDirections;
    QSet<int>* m_ascending; // columns whose next click sorts ascending
};

// Paints the data cells of grids: striped rows in money green, the first
// (read-only) column in yellow, text inset by 4 pixels and aligned by the
// column's alignment code ("0" left, "1" centre, else right), selection and
// focus drawn over it.
class GridCellDelegate : public QStyledItemDelegate {
public:
    explicit GridCellDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}
    void setStriped(bool striped) { m_striped = striped; }
    void setAlignmentCode(int column, const QString& code) { m_alignment.insert(column, code); }
    void setEditableFlag(int column, bool editable) { m_editable.insert(column, editable); }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // One cell; the grid's row decides the stripe.
    static void DrawGridCell(QPainter* painter, int row, const QRect& rect, bool editable,
                             const QString& alignmentCode, QStyle::State state, bool striped,
                             const QString& text, const QPalette& palette);

private:
    bool m_striped = true;
    QHash<int, QString> m_alignment;
    QHash<int, bool> m_editable;
};

} // namespace corvexa::client
