#include "db/migrate.h"

#include "sql/schema.h"

namespace corvexa::db {
namespace {

bool fail(QString* error, const QString& message) {
    if (error) *error = message;
    return false;
}

} // namespace

bool copyDatabase(Database& from, Database& to, const sql::Schema& schema, QString* error,
                  const MigrateProgress& progress) {
    sql::Translator readers(schema, from.backend());
    sql::Translator writers(schema, to.backend());
    const sql::TranslateOptions options{true, true, true}; // parameters, passwords and serials too

    for (const auto& table : schema.tables()) {
        auto count =
            writers.translate(QStringLiteral("Select Count(*) as N from %1").arg(table.name), options);
        const QueryResult r = to.run(*count);
        if (!r.ok) return fail(error, QStringLiteral("%1：%2").arg(table.name, r.error));
        if (r.rows.at(0).at(0).toLongLong() != 0)
            return fail(error,
                        QStringLiteral("目标数据库的表 %1 已有记录，只能迁移到新的空数据库").arg(table.name));
    }

    QString message;
    if (!to.beginTransaction(&message)) return fail(error, message);
    to.setStatementRollback(false);
    auto abandon = [&](const QString& why) {
        to.exec(QStringLiteral("ROLLBACK"));
        to.setStatementRollback(true);
        return fail(error, why);
    };
    for (const auto& table : schema.tables()) {
        QStringList columns, parameters;
        for (const auto& c : table.columns) {
            columns << c.name;
            parameters << u':' + c.name;
        }
        auto read = readers.translate(QStringLiteral("Select %1 from %2").arg(columns.join(u','), table.name),
                                      options);
        auto write = writers.translate(QStringLiteral("Insert into %1 (%2) VALUES (%3)")
                                           .arg(table.name, columns.join(u','), parameters.join(u',')),
                                       options);
        if (!read->ok) return abandon(read->error.message);
        if (!write->ok) return abandon(write->error.message);
        const QueryResult rows = from.run(*read);
        if (!rows.ok) return abandon(QStringLiteral("读取 %1 时出错：%2").arg(table.name, rows.error));
        std::vector<int> order; // parameter -> column
        for (const QString& p : write->parameters)
            order.push_back(int(columns.indexOf(p)));
        std::vector<QVariant> values(order.size());
        for (const auto& row : rows.rows) {
            for (size_t i = 0; i < order.size(); ++i)
                values[i] = row.at(size_t(order[i]));
            const QueryResult w = to.run(*write, values);
            if (!w.ok) return abandon(QStringLiteral("写入 %1 时出错：%2").arg(table.name, w.error));
        }
        if (!table.serial.isEmpty() && to.backend() == sql::Backend::PostgreSQL &&
            !to.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('\"%1\"', '%2'), "
                                    "coalesce(max(\"%2\"), 0) + 1, false) FROM \"%1\"")
                         .arg(table.name, table.serial),
                     &message))
            return abandon(message);
        if (progress) progress(table.name, qint64(rows.rows.size()));
    }
    to.setStatementRollback(true);
    if (!to.exec(QStringLiteral("COMMIT"), &message)) return abandon(message);
    // Fresh statistics, so that the planner knows the tables are no longer empty.
    if (to.backend() == sql::Backend::PostgreSQL) to.exec(QStringLiteral("ANALYZE"));
    return true;
}

} // namespace corvexa::db
