#pragma once
// A table model over a record set for grids and lists: one column per chosen
// field with its caption as header, the field's display text (dates
// "yyyy-mm-dd", shares "0.00%") for DisplayRole, the value for EditRole.
#include "recordset.h"

#include <QAbstractTableModel>
#include <QPointer>

namespace corvexa::client {

class RecordSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // fields: the names of the columns, in order; all fields when empty.
    explicit RecordSetModel(RecordSet* set, QStringList fields = {}, QObject* parent = nullptr);

    RecordSet* recordSet() const { return m_set; }
    int fieldOfColumn(int column) const { return m_columns.value(column, -1); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Editing a cell makes its row current and edits the record there; the
    // row is posted when another row becomes current (or by the caller).
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    QString lastError() const { return m_lastError; }

private:
    void rebuildColumns();

    QPointer<RecordSet> m_set;
    QStringList m_fieldNames;
    QList<int> m_columns; // field index per column
    // Rows as last announced, so that views never see rows they were not told of
    // while the set's controls are disabled.
    int m_rows = 0;
    QString m_lastError;
};

} // namespace corvexa::client
