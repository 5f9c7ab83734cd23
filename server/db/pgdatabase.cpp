#include "db/pgdatabase.h"

#include "common/dates.h"
#include "sql/generator.h"
#include "sql/schema.h"

#include <QRegularExpression>
#include <libpq-fe.h>

namespace corvexa::db {
namespace {

// Type identifiers of the built-in types the generated SQL produces.
enum Oid_ : unsigned {
    kBool = 16,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kFloat4 = 700,
    kFloat8 = 701,
    kTimestamp = 1114,
    kTimestampTz = 1184,
    kDate = 1082,
    kNumeric = 1700,
};

struct ResultGuard {
    PGresult* res;
    ~ResultGuard() { PQclear(res); }
};

void ignoreNotice(void*, const char*) {}

// The server's message, with a width check said the way users read it.
QString errorOf(const PGresult* res, PGconn* conn) {
    if (res) {
        const char* constraint = PQresultErrorField(res, PG_DIAG_CONSTRAINT_NAME);
        static const QRegularExpression width(QStringLiteral("^cxw_([A-Za-z0-9_]+)_(\\d+)$"));
        if (constraint) {
            auto m = width.match(QString::fromUtf8(constraint));
            if (m.hasMatch())
                return QStringLiteral("字段 %1 的值超出宽度 %2 字节（一个汉字占两个字节）")
                    .arg(m.captured(1), m.captured(2));
        }
        const QByteArray state = PQresultErrorField(res, PG_DIAG_SQLSTATE);
        const QString table = QString::fromUtf8(PQresultErrorField(res, PG_DIAG_TABLE_NAME));
        if (state == "23505") {
            // "Key (cx_eqkey("ZB_ID"))=(...) already exists."
            static const QRegularExpression key(QStringLiteral("^Key \\((.*)\\)=\\("));
            QString columns =
                key.match(QString::fromUtf8(PQresultErrorField(res, PG_DIAG_MESSAGE_DETAIL))).captured(1);
            static const QRegularExpression keyFunction(QStringLiteral("cx_\\w+\\("));
            columns.remove(keyFunction).remove(u'"').remove(u')');
            return QStringLiteral("表 %1 中已有 %2 相同的记录").arg(table, columns);
        }
        if (state == "23502")
            return QStringLiteral("字段 %1.%2 不能为空")
                .arg(table, QString::fromUtf8(PQresultErrorField(res, PG_DIAG_COLUMN_NAME)));
        if (const char* primary = PQresultErrorField(res, PG_DIAG_MESSAGE_PRIMARY))
            return QString::fromUtf8(primary);
    }
    QString message = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
    if (PQstatus(conn) == CONNECTION_BAD) return QStringLiteral("与数据库的连接已断开：%1").arg(message);
    return message;
}

QByteArray parameterText(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
    case QMetaType::Double:
        return QByteArray::number(v.toDouble(), 'g', 17);
    case QMetaType::QDateTime:
        return dates::toStorageText(v.toDateTime()).toUtf8();
    default:
        return v.toString().toUtf8();
    }
}

QVariant cellValue(const PGresult* res, int row, int col, sql::SqlType hint) {
    if (PQgetisnull(res, row, col)) return {};
    const char* text = PQgetvalue(res, row, col);
    const int length = PQgetlength(res, row, col);
    const unsigned type = PQftype(res, col);
    switch (type) {
    case kBool:
        return text[0] == 't';
    case kInt2:
    case kInt4:
    case kInt8: {
        const qint64 n = QByteArray::fromRawData(text, length).toLongLong();
        if (hint == sql::SqlType::Boolean) return n != 0;
        return n;
    }
    case kNumeric:
        // A whole number where a whole number is expected, as SQLite gives it.
        if (hint == sql::SqlType::Integer && !memchr(text, '.', size_t(length)))
            return QByteArray::fromRawData(text, length).toLongLong();
        return QByteArray::fromRawData(text, length).toDouble();
    case kFloat4:
    case kFloat8:
        return QByteArray::fromRawData(text, length).toDouble();
    case kTimestamp:
    case kTimestampTz:
    case kDate: {
        auto d = dates::fromStorageText(QString::fromLatin1(text, length).left(19));
        return d ? QVariant(*d) : QVariant();
    }
    default:
        return QString::fromUtf8(text, length);
    }
}

} // namespace

PgDatabase::PgDatabase() = default;
PgDatabase::~PgDatabase() {
    close();
}

bool PgDatabase::open(const QString& url, QString* error) {
    close();
    m_conn = PQconnectdb(url.toUtf8().constData());
    if (PQstatus(m_conn) != CONNECTION_OK) {
        if (error)
            *error =
                QStringLiteral("无法连接数据库：%1").arg(QString::fromUtf8(PQerrorMessage(m_conn)).trimmed());
        close();
        return false;
    }
    PQsetNoticeProcessor(m_conn, ignoreNotice, nullptr);
    return exec(QStringLiteral("SET client_encoding = 'UTF8'; SET datestyle = 'ISO, YMD'; "
                               "SET standard_conforming_strings = on"),
                error);
}

void PgDatabase::close() {
    m_statements.clear();
    m_ownTransaction.clear();
    if (m_conn) {
        PQfinish(m_conn);
        m_conn = nullptr;
    }
}

bool PgDatabase::exec(const QString& sql, QString* error) {
    ResultGuard r{PQexec(m_conn, sql.toUtf8().constData())};
    const ExecStatusType status = PQresultStatus(r.res);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return true;
    if (error) *error = errorOf(r.res, m_conn);
    return false;
}

bool PgDatabase::beginTransaction(QString* error) {
    return exec(QStringLiteral("BEGIN"), error);
}

bool PgDatabase::inTransaction() const {
    return PQtransactionStatus(m_conn) != PQTRANS_IDLE;
}

// PostgreSQL has savepoints only inside a transaction; outside one, the
// savepoint opens it and its release or roll-back ends it.
bool PgDatabase::savepoint(const QString& name, QString* error) {
    if (!inTransaction()) {
        if (!exec(QStringLiteral("BEGIN"), error)) return false;
        m_ownTransaction = name;
    }
    return Database::savepoint(name, error);
}

bool PgDatabase::releaseSavepoint(const QString& name, QString* error) {
    if (m_ownTransaction == name) {
        m_ownTransaction.clear();
        if (exec(QStringLiteral("COMMIT"), error)) return true;
        exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    return Database::releaseSavepoint(name, error);
}

bool PgDatabase::rollbackToSavepoint(const QString& name, QString* error) {
    if (m_ownTransaction == name) {
        m_ownTransaction.clear();
        return exec(QStringLiteral("ROLLBACK"), error);
    }
    return Database::rollbackToSavepoint(name, error);
}

bool PgDatabase::createSchema(const sql::Schema& schema, QString* error) {
    sql::PgGenerator generator;
    if (!exec(QStringLiteral("BEGIN"), error)) return false;
    QStringList statements = sql::PgGenerator::supportFunctions();
    for (const auto& table : schema.tables())
        statements << generator.createTable(table);
    for (const QString& statement : statements) {
        if (!exec(statement, error)) {
            exec(QStringLiteral("ROLLBACK"));
            return false;
        }
    }
    return exec(QStringLiteral("COMMIT"), error);
}

QByteArray PgDatabase::preparedName(const QString& sql, QString& error) {
    auto it = m_statements.constFind(sql);
    if (it != m_statements.constEnd()) return *it;
    if (m_statements.size() >= kStatementCacheLimit) {
        exec(QStringLiteral("DEALLOCATE ALL"));
        m_statements.clear();
    }
    const QByteArray name = "cx" + QByteArray::number(++m_nextStatement);
    ResultGuard r{PQprepare(m_conn, name.constData(), sql.toUtf8().constData(), 0, nullptr)};
    if (PQresultStatus(r.res) != PGRES_COMMAND_OK) {
        error = errorOf(r.res, m_conn);
        return {};
    }
    m_statements.insert(sql, name);
    return name;
}

QueryResult PgDatabase::resultOf(PGresult* res, const sql::Translation* t) {
    QueryResult result;
    const ExecStatusType status = PQresultStatus(res);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        result.error = errorOf(res, m_conn);
        return result;
    }
    const int ncols = PQnfields(res);
    const int nrows = PQntuples(res);
    if (t) {
        result.columns = t->columns;
    } else {
        for (int c = 0; c < ncols; ++c)
            result.columns.push_back({QString::fromUtf8(PQfname(res, c)), sql::SqlType::Unknown});
    }
    result.rows.reserve(size_t(nrows));
    for (int r = 0; r < nrows; ++r) {
        std::vector<QVariant> row;
        row.reserve(size_t(ncols));
        for (int c = 0; c < ncols; ++c)
            row.push_back(cellValue(res, r, c,
                                    c < int(result.columns.size()) ? result.columns[size_t(c)].type
                                                                   : sql::SqlType::Unknown));
        result.rows.push_back(std::move(row));
    }
    const char* tuples = PQcmdTuples(res);
    result.changes = tuples && *tuples ? QByteArray(tuples).toLongLong() : 0;
    result.ok = true;
    return result;
}

QueryResult PgDatabase::query(const QString& sql, const std::vector<QVariant>& parameters) {
    std::vector<QByteArray> texts;
    std::vector<const char*> values;
    for (const QVariant& v : parameters) {
        texts.push_back(v.isNull() ? QByteArray() : parameterText(v));
        values.push_back(v.isNull() ? nullptr : texts.back().constData());
    }
    ResultGuard r{PQexecParams(m_conn, sql.toUtf8().constData(), int(values.size()), nullptr, values.data(),
                               nullptr, nullptr, 0)};
    return resultOf(r.res, nullptr);
}

QueryResult PgDatabase::run(const sql::Translation& t, const std::vector<QVariant>& parameters) {
    QueryResult result;
    if (!t.ok) {
        result.error = t.error.message;
        return result;
    }
    // GetDate() reads the server's clock, which tests may fix.
    if (t.sql.contains(QLatin1String("cx_getdate()"))) {
        QueryResult set =
            query(QStringLiteral("SELECT set_config('cx.now', $1, false)"), {dates::toStorageText(now())});
        if (!set.ok) return set;
    }
    QString error;
    const QByteArray name = preparedName(t.sql, error);
    if (name.isEmpty()) {
        result.error = error;
        return result;
    }
    std::vector<QByteArray> texts(parameters.size());
    std::vector<const char*> values(parameters.size(), nullptr);
    for (size_t i = 0; i < parameters.size(); ++i) {
        if (parameters[i].isNull()) continue;
        texts[i] = parameterText(parameters[i]);
        values[i] = texts[i].constData();
    }
    // In a transaction a failure would spoil everything after it; a
    // savepoint confines it to this statement, as SQLite does.
    const bool guard = m_statementRollback && inTransaction();
    if (guard && !exec(QStringLiteral("SAVEPOINT cx_statement"), &result.error)) return result;
    ResultGuard r{
        PQexecPrepared(m_conn, name.constData(), int(values.size()), values.data(), nullptr, nullptr, 0)};
    result = resultOf(r.res, &t);
    if (guard) {
        if (result.ok)
            exec(QStringLiteral("RELEASE cx_statement"));
        else
            exec(QStringLiteral("ROLLBACK TO cx_statement; RELEASE cx_statement"));
    }
    if (result.ok && !t.isQuery) {
        // An INSERT into a table with a serial returns it.
        if (!result.rows.empty() && !result.rows.front().empty())
            m_lastInsertId = result.rows.front().front().toLongLong();
        result.rows.clear();
        result.columns.clear();
    }
    return result;
}

} // namespace corvexa::db
