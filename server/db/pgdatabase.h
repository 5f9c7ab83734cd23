#pragma once
// One PostgreSQL connection (libpq) behind the same interface as SQLite.
#include "db/database.h"

#include <QHash>

struct pg_conn;
struct pg_result;

namespace corvexa::db {

class PgDatabase : public Database {
public:
    PgDatabase();
    ~PgDatabase() override;
    PgDatabase(const PgDatabase&) = delete;
    PgDatabase& operator=(const PgDatabase&) = delete;

    // url: any libpq connection URI, e.g. postgresql://user@host:5432/corvexa.
    bool open(const QString& url, QString* error = nullptr);
    void close();

    sql::Backend backend() const override { return sql::Backend::PostgreSQL; }
    bool createSchema(const sql::Schema& schema, QString* error = nullptr) override;
    QueryResult run(const sql::Translation& t, const std::vector<QVariant>& parameters = {}) override;
    bool exec(const QString& sql, QString* error = nullptr) override;
    bool beginTransaction(QString* error = nullptr) override;
    bool savepoint(const QString& name, QString* error = nullptr) override;
    bool releaseSavepoint(const QString& name, QString* error = nullptr) override;
    bool rollbackToSavepoint(const QString& name, QString* error = nullptr) override;
    void setStatementRollback(bool on) override { m_statementRollback = on; }
    qint64 lastInsertId() const override { return m_lastInsertId; }

    // Runs plain SQL and hands back its rows as text (administration, tests).
    QueryResult query(const QString& sql, const std::vector<QVariant>& parameters = {});

private:
    bool inTransaction() const;
    QByteArray preparedName(const QString& sql, QString& error);
    QueryResult resultOf(pg_result* res, const sql::Translation* t);

    pg_conn* m_conn = nullptr;
    QHash<QString, QByteArray> m_statements; // SQL -> name of its prepared statement
    int m_nextStatement = 0;
    static constexpr int kStatementCacheLimit = 256;
    qint64 m_lastInsertId = -1;
    bool m_statementRollback = true;
    QString m_ownTransaction; // savepoint that opened the transaction it lives in
};

} // namespace corvexa::db
