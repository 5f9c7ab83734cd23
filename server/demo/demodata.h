#pragma once
// Demonstration records: five colleges' organizations with their branches, the
// members of both populations in every category over several years, this
// year's graduates with their transfer entries, users with different rights,
// the code tables and the table dictionary. Everything comes from a fixed seed,
// so the same options always give the same rows.
#include <QDate>
#include <QString>

namespace corvexa::db {
class Database;
}

namespace corvexa::demo {

struct DemoOptions {
    // 0: a few hundred members. N > 0: N current student members over all
    // organizations and the other categories in proportion (benchmarks).
    int scale = 0;
    // The day the records are seen from; its year is the current year. No date
    // after it is written. An invalid date stands for the system's date.
    QDate today;
};

// Writes the records into a database that has the schema and no rows yet, in
// one transaction; on failure nothing stays and the error says why.
bool populate(db::Database& db, const DemoOptions& options, QString* error = nullptr);

} // namespace corvexa::demo
