#pragma once
// One SQLite connection with the server's collation and functions installed.
#include "sql/translator.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

struct sqlite3;

namespace corvexa::db {

using Clock = std::function<QDateTime()>; // "now" of GetDate(), wall clock in Qt::UTC

struct QueryResult {
    bool ok = false;
    QString error;
    std::vector<sql::ResultColumn> columns;
    std::vector<std::vector<QVariant>> rows; // null, bool, qint64, double, QString, QDateTime
    qint64 changes = 0;
};

class SqliteDatabase {
public:
    SqliteDatabase();
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Opens (creating when missing) the file; ":memory:" for a throwaway one.
    bool open(const QString& path, QString* error = nullptr);
    void close();
    // Creates every table and index of the schema that is missing.
    bool createSchema(const sql::Schema& schema, QString* error = nullptr);

    void setClock(Clock clock) { m_clock = std::move(clock); }
    QDateTime now() const;

    // Runs backend SQL produced by the translator, binding parameters in order.
    QueryResult run(const sql::Translation& t, const std::vector<QVariant>& parameters = {});
    // Runs backend SQL as it stands (schema creation, transactions).
    bool exec(const QString& sql, QString* error = nullptr);

    qint64 lastInsertId() const;
    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
    Clock m_clock;
};

} // namespace corvexa::db
