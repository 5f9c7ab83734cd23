#pragma once
// A connection to one backend, as the server's sessions and applies use it.
// SQLite is the embedded default; a PostgreSQL connection implements the same.
#include "sql/translator.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

namespace corvexa::db {

using Clock = std::function<QDateTime()>; // "now" of GetDate(), wall clock in Qt::UTC

struct QueryResult {
    bool ok = false;
    QString error;
    std::vector<sql::ResultColumn> columns;
    std::vector<std::vector<QVariant>> rows; // null, bool, qint64, double, QString, QDateTime
    qint64 changes = 0;
};

class Database {
public:
    virtual ~Database() = default;

    virtual sql::Backend backend() const = 0;
    // Creates every table and index of the schema that is missing.
    virtual bool createSchema(const sql::Schema& schema, QString* error = nullptr) = 0;
    // Runs backend SQL produced by the translator, binding parameters in order.
    virtual QueryResult run(const sql::Translation& t, const std::vector<QVariant>& parameters = {}) = 0;
    // Runs backend SQL as it stands (savepoints, commits).
    virtual bool exec(const QString& sql, QString* error = nullptr) = 0;
    virtual bool beginTransaction(QString* error = nullptr) = 0;
    // Changes between a savepoint and its release are kept or dropped
    // together: inside an open transaction they nest in it, outside it they
    // make a transaction of their own.
    virtual bool savepoint(const QString& name, QString* error = nullptr);
    virtual bool releaseSavepoint(const QString& name, QString* error = nullptr);
    virtual bool rollbackToSavepoint(const QString& name, QString* error = nullptr);
    // Inside a transaction a failed statement undoes only itself (the default).
    // Bulk writers that abandon the whole transaction on a failure turn that
    // off where it costs time.
    virtual void setStatementRollback(bool) {}
    // The serial the last insert of this connection was given.
    virtual qint64 lastInsertId() const = 0;

    void setClock(Clock clock) { m_clock = std::move(clock); }
    QDateTime now() const;

protected:
    Clock m_clock;
};

// "sqlite:PATH" or "postgresql://user@host:port/database" (any libpq URI).
std::unique_ptr<Database> openDatabase(const QString& url, QString* error = nullptr);
bool isPostgresUrl(const QString& url);

} // namespace corvexa::db
