#pragma once
// Copies every record of one database into another, empty one (an office
// that outgrows its SQLite file moves to PostgreSQL and keeps its records).
#include "db/database.h"

#include <functional>

namespace corvexa::db {

using MigrateProgress = std::function<void(const QString& table, qint64 rows)>;

// All or nothing: the target's writes are one transaction. Serials keep their
// values and the target hands out the next ones after the highest copied.
bool copyDatabase(Database& from, Database& to, const sql::Schema& schema, QString* error,
                  const MigrateProgress& progress = {});

} // namespace corvexa::db
