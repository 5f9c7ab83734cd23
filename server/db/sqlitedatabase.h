#pragma once
// One SQLite connection with the server's collation and functions installed.
#include "db/database.h"

#include <QHash>

struct sqlite3;
struct sqlite3_stmt;

namespace corvexa::db {

class SqliteDatabase : public Database {
public:
    SqliteDatabase();
    ~SqliteDatabase() override;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Opens (creating when missing) the file; ":memory:" for a throwaway one.
    bool open(const QString& path, QString* error = nullptr);
    void close();
    sql::Backend backend() const override { return sql::Backend::SQLite; }
    bool createSchema(const sql::Schema& schema, QString* error = nullptr) override;
    QueryResult run(const sql::Translation& t, const std::vector<QVariant>& parameters = {}) override;
    bool exec(const QString& sql, QString* error = nullptr) override;
    bool beginTransaction(QString* error = nullptr) override;

    qint64 lastInsertId() const override;
    sqlite3* handle() const { return m_db; }

private:
    sqlite3_stmt* prepared(const QString& sql, QString& error);

    sqlite3* m_db = nullptr;
    // Statements prepared once per connection and reused: providers and
    // inserts run the same text again and again.
    QHash<QString, sqlite3_stmt*> m_statements;
    static constexpr int kStatementCacheLimit = 256;
};

} // namespace corvexa::db
