#include "apply.h"

#include "common/gbk.h"
#include "sql/schema.h"

namespace corvexa::server {
namespace {

QString nameOf(const sql::TableDef& table, const QString& column) {
    const sql::ColumnDef* c = table.column(column);
    return c ? c->name : column;
}

} // namespace

QString ApplyEngine::checkValue(const sql::ColumnDef& column, const QVariant& value) const {
    if (value.isNull()) {
        if (column.required) return QStringLiteral("字段 %1 不能为空").arg(column.name);
        return {};
    }
    switch (column.type) {
    case sql::ColumnType::Text: {
        int width = gbk::byteWidth(value.toString());
        if (column.width > 0 && width > column.width)
            return QStringLiteral("字段 %1 的值 '%2' 有 %3 字节，超出宽度 %4 字节（一个汉字占两个字节）")
                .arg(column.name, value.toString().left(40))
                .arg(width)
                .arg(column.width);
        return {};
    }
    case sql::ColumnType::DateTime:
        if (value.typeId() != QMetaType::QDateTime || !value.toDateTime().isValid())
            return QStringLiteral("字段 %1 的值不是日期").arg(column.name);
        return {};
    case sql::ColumnType::SmallInt:
    case sql::ColumnType::Integer:
    case sql::ColumnType::Serial:
    case sql::ColumnType::Decimal:
    case sql::ColumnType::Float: {
        bool ok = false;
        value.toDouble(&ok);
        if (!ok) return QStringLiteral("字段 %1 的值不是数值").arg(column.name);
        return {};
    }
    default:
        return {};
    }
}

QString ApplyEngine::applyRow(const sql::TableDef& table, const QStringList& key, const RowChange& change,
                              qint64* serial) {
    std::vector<QVariant> params;
    auto param = [&](const QVariant& v) {
        params.push_back(v);
        return QStringLiteral(":p%1").arg(params.size());
    };
    // Conditions that find the row as it was read: key and original values.
    auto matchOriginal = [&](QStringList& where) -> QString {
        QStringList columns = key;
        for (auto it = change.values.constBegin(); it != change.values.constEnd(); ++it) {
            if (!columns.contains(it.key(), Qt::CaseInsensitive)) columns << it.key();
        }
        for (const QString& name : columns) {
            if (!change.original.contains(name)) continue;
            const sql::ColumnDef* col = table.column(name);
            if (!col) return QStringLiteral("表 %1 中没有字段 %2").arg(table.name, name);
            const QVariant& v = change.original.value(name);
            if (v.isNull())
                where << col->name + QStringLiteral(" is NULL");
            else
                where << col->name + u'=' + param(v);
        }
        for (const QString& k : key) {
            if (!change.original.contains(k) || change.original.value(k).isNull())
                return QStringLiteral("缺少关键字段 %1 的原值").arg(nameOf(table, k));
        }
        return {};
    };

    QString text;
    switch (change.kind) {
    case RowChange::Kind::Insert: {
        QStringList columns, values;
        for (const auto& col : table.columns) {
            if (col.type == sql::ColumnType::Serial) continue; // the server assigns serials
            QVariant v;
            for (auto it = change.values.constBegin(); it != change.values.constEnd(); ++it) {
                if (it.key().compare(col.name, Qt::CaseInsensitive) == 0) v = it.value();
            }
            if (QString problem = checkValue(col, v); !problem.isEmpty()) return problem;
            if (v.isNull()) continue;
            columns << col.name;
            values << param(v);
        }
        for (auto it = change.values.constBegin(); it != change.values.constEnd(); ++it) {
            if (!table.column(it.key()))
                return QStringLiteral("表 %1 中没有字段 %2").arg(table.name, it.key());
        }
        if (columns.isEmpty()) return QStringLiteral("新记录没有任何字段值");
        text = QStringLiteral("Insert into %1 (%2) VALUES (%3)")
                   .arg(table.name, columns.join(u','), values.join(u','));
        break;
    }
    case RowChange::Kind::Update: {
        QStringList sets;
        for (auto it = change.values.constBegin(); it != change.values.constEnd(); ++it) {
            const sql::ColumnDef* col = table.column(it.key());
            if (!col) return QStringLiteral("表 %1 中没有字段 %2").arg(table.name, it.key());
            if (col->type == sql::ColumnType::Serial)
                return QStringLiteral("字段 %1 由服务器分配，不能修改").arg(col->name);
            if (QString problem = checkValue(*col, it.value()); !problem.isEmpty()) return problem;
            sets << col->name + u'=' + param(it.value());
        }
        if (sets.isEmpty()) return {};
        QStringList where;
        if (QString problem = matchOriginal(where); !problem.isEmpty()) return problem;
        text = QStringLiteral("Update %1 Set %2 where %3")
                   .arg(table.name, sets.join(u','), where.join(QStringLiteral(" and ")));
        break;
    }
    case RowChange::Kind::Delete: {
        QStringList where;
        if (QString problem = matchOriginal(where); !problem.isEmpty()) return problem;
        text = QStringLiteral("Delete from %1 where %2").arg(table.name, where.join(QStringLiteral(" and ")));
        break;
    }
    }
    auto t = m_translator.translate(text, {true});
    if (!t->ok) return t->error.message;
    db::QueryResult r = m_db.run(*t, params);
    if (!r.ok) return r.error;
    if (change.kind != RowChange::Kind::Insert && r.changes != 1)
        return r.changes == 0 ? QStringLiteral("记录已被其他用户修改或删除，请刷新后重做")
                              : QStringLiteral("关键字段不能唯一确定一条记录");
    if (change.kind == RowChange::Kind::Insert && serial)
        *serial = table.serial.isEmpty() ? -1 : m_db.lastInsertId();
    return {};
}

ApplyResult ApplyEngine::apply(const QString& tableName, const QStringList& key,
                               const std::vector<RowChange>& changes) {
    ApplyResult result;
    const sql::TableDef* table = m_translator.schema().table(tableName);
    if (!table) {
        result.failed = int(changes.size());
        result.messages << QStringLiteral("未知的表 %1").arg(tableName);
        return result;
    }
    QString error;
    if (!m_db.savepoint(QStringLiteral("cx_apply"), &error)) {
        result.failed = int(changes.size());
        result.messages << error;
        return result;
    }
    for (size_t i = 0; i < changes.size(); ++i) {
        qint64 serial = -1;
        QString problem = applyRow(*table, key, changes[i], &serial);
        if (!problem.isEmpty()) {
            ++result.failed;
            result.messages << QStringLiteral("第%1行：%2").arg(i + 1).arg(problem);
        }
        if (changes[i].kind == RowChange::Kind::Insert)
            result.insertedSerials.push_back(problem.isEmpty() ? serial : -1);
    }
    if (result.failed) {
        m_db.rollbackToSavepoint(QStringLiteral("cx_apply"));
        std::fill(result.insertedSerials.begin(), result.insertedSerials.end(), -1);
    } else if (!m_db.releaseSavepoint(QStringLiteral("cx_apply"), &error)) {
        result.failed = int(changes.size());
        result.messages << error;
    }
    return result;
}

} // namespace corvexa::server
