#pragma once
// Stores the changed rows of a record set in its table. One apply is atomic:
// when any row fails, none is stored. An update or delete matches the key and
// the original values of the changed fields, so a row that someone else changed
// in between fails instead of being overwritten.
#include "db/database.h"
#include "sql/schema.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace corvexa::server {

struct RowChange {
    enum class Kind { Insert, Update, Delete };
    Kind kind = Kind::Update;
    QHash<QString, QVariant> values;   // Insert: the row; Update: the changed fields' new values
    QHash<QString, QVariant> original; // Update/Delete: key and changed fields as they were read
};

struct ApplyResult {
    int failed = 0;
    QStringList messages;                // one per failed row: "第N行：…"
    std::vector<qint64> insertedSerials; // per inserted row, the serial the server gave it (or -1)
};

class ApplyEngine {
public:
    explicit ApplyEngine(db::Database& db, sql::Translator& translator)
        : m_db(db), m_translator(translator) {}

    ApplyResult apply(const QString& tableName, const QStringList& key,
                      const std::vector<RowChange>& changes);

private:
    QString applyRow(const sql::TableDef& table, const QStringList& key, const RowChange& change,
                     qint64* serial);
    QString checkValue(const sql::ColumnDef& column, const QVariant& value) const;

    db::Database& m_db;
    sql::Translator& m_translator;
};

} // namespace corvexa::server
