#include "recordsetmodel.h"

#include "errors.h"

namespace corvexa::client {

RecordSetModel::RecordSetModel(RecordSet* set, QStringList fields, QObject* parent)
    : QAbstractTableModel(parent), m_set(set), m_fieldNames(std::move(fields)) {
    rebuildColumns();
    connect(set, &RecordSet::aboutToReset, this, [this] { beginResetModel(); });
    connect(set, &RecordSet::resetDone, this, [this] {
        rebuildColumns();
        endResetModel();
    });
    connect(set, &RecordSet::rowAboutToBeInserted, this, [this](int row) { beginInsertRows({}, row, row); });
    connect(set, &RecordSet::rowInserted, this, [this] {
        ++m_rows;
        endInsertRows();
    });
    connect(set, &RecordSet::rowAboutToBeRemoved, this, [this](int row) { beginRemoveRows({}, row, row); });
    connect(set, &RecordSet::rowRemoved, this, [this] {
        --m_rows;
        endRemoveRows();
    });
    connect(set, &RecordSet::rowChanged, this, [this](int row) {
        if (m_rows == 0 || m_columns.isEmpty()) return;
        const int first = row < 0 ? 0 : row;
        const int last = row < 0 ? m_rows - 1 : row;
        if (last >= m_rows) return;
        emit dataChanged(index(first, 0), index(last, int(m_columns.size()) - 1));
    });
}

void RecordSetModel::rebuildColumns() {
    m_columns.clear();
    m_rows = m_set ? m_set->rowCount() : 0;
    if (!m_set) return;
    if (m_fieldNames.isEmpty()) {
        for (int i = 0; i < m_set->fieldCount(); ++i)
            m_columns << i;
    } else {
        for (const QString& name : m_fieldNames) {
            const int i = m_set->fieldIndex(name);
            if (i >= 0) m_columns << i;
        }
    }
}

int RecordSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int RecordSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant RecordSetModel::data(const QModelIndex& index, int role) const {
    if (!m_set || !index.isValid() || index.row() >= m_set->rowCount()) return {};
    const int field = m_columns.value(index.column(), -1);
    if (field < 0) return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_set->displayText(index.row(), field);
    case Qt::EditRole:
        return m_set->value(index.row(), field).toVariant();
    case Qt::TextAlignmentRole: {
        const FieldType t = m_set->field(field).type;
        const bool number = t == FieldType::Integer || t == FieldType::Float || t == FieldType::Decimal;
        return QVariant::fromValue(Qt::Alignment(number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    const int field = m_columns.value(section, -1);
    return field < 0 || !m_set ? QVariant() : QVariant(m_set->field(field).label());
}

Qt::ItemFlags RecordSetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!index.isValid() || !m_set) return f;
    const int field = m_columns.value(index.column(), -1);
    if (field >= 0 && m_set->field(field).isEditable()) f |= Qt::ItemIsEditable;
    return f;
}

bool RecordSetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !m_set || !index.isValid()) return false;
    const int field = m_columns.value(index.column(), -1);
    if (field < 0 || !m_set->field(field).isEditable()) return false;
    try {
        m_set->moveTo(index.row());
        m_set->edit();
        if (value.typeId() == QMetaType::QString)
            m_set->setText(m_set->field(field).name, value.toString());
        else
            m_set->setValue(field, Value::fromVariant(value));
        m_lastError.clear();
        return true;
    } catch (const DataError& e) {
        m_lastError = e.message();
        return false;
    }
}

} // namespace corvexa::client
