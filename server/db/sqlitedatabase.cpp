#include "sqlitedatabase.h"

#include "common/dates.h"
#include "common/gbk.h"
#include "sql/generator.h"
#include "sql/schema.h"

#include <QRegularExpression>
#include <sqlite3.h>

namespace corvexa::db {
namespace {

int collateGbk(void*, int lenA, const void* a, int lenB, const void* b) {
    return gbk::compareUtf8(static_cast<const char*>(a), lenA, static_cast<const char*>(b), lenB);
}

void fnGbkLen(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    sqlite3_result_int(ctx, gbk::byteWidthUtf8(text, sqlite3_value_bytes(argv[0])));
}

void fnGetDate(sqlite3_context* ctx, int, sqlite3_value**) {
    auto* self = static_cast<Database*>(sqlite3_user_data(ctx));
    QByteArray text = dates::toStorageText(self->now()).toUtf8();
    sqlite3_result_text(ctx, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

// Text that stands for a date: any of the accepted date forms, else NULL.
void fnDateText(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])),
                                     sqlite3_value_bytes(argv[0]));
    auto parsed = dates::parseDateText(text);
    if (!parsed) {
        sqlite3_result_null(ctx);
        return;
    }
    QByteArray out = dates::toStorageText(*parsed).toUtf8();
    sqlite3_result_text(ctx, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}

// The database's message, with a width check said the way users read it.
QString lastError(sqlite3* db) {
    QString message = QString::fromUtf8(sqlite3_errmsg(db));
    static const QRegularExpression width(QStringLiteral(R"re(cx_gbklen\("?([A-Za-z0-9_]+)"?\) <= (\d+))re"));
    auto m = width.match(message);
    if (m.hasMatch())
        return QStringLiteral("字段 %1 的值超出宽度 %2 字节（一个汉字占两个字节）")
            .arg(m.captured(1), m.captured(2));
    static const QRegularExpression unique(QStringLiteral(R"re(^UNIQUE constraint failed: (\w+)\.(.*)$)re"));
    m = unique.match(message);
    if (m.hasMatch()) {
        QString columns = m.captured(2);
        columns.replace(QStringLiteral(", ") + m.captured(1) + u'.', QStringLiteral(", "));
        return QStringLiteral("表 %1 中已有 %2 相同的记录").arg(m.captured(1), columns);
    }
    static const QRegularExpression notNull(
        QStringLiteral(R"re(^NOT NULL constraint failed: (\w+)\.(\w+)$)re"));
    m = notNull.match(message);
    if (m.hasMatch()) return QStringLiteral("字段 %1.%2 不能为空").arg(m.captured(1), m.captured(2));
    return message;
}

} // namespace

SqliteDatabase::SqliteDatabase() = default;
SqliteDatabase::~SqliteDatabase() {
    close();
}

bool SqliteDatabase::open(const QString& path, QString* error) {
    close();
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        if (error) *error = m_db ? lastError(m_db) : QStringLiteral("无法打开数据库 %1").arg(path);
        close();
        return false;
    }
    sqlite3_create_collation_v2(m_db, "GBK", SQLITE_UTF8, nullptr, collateGbk, nullptr);
    sqlite3_create_function_v2(m_db, "cx_gbklen", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, fnGbkLen,
                               nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(m_db, "cx_datetext", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               fnDateText, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(m_db, "cx_getdate", 0, SQLITE_UTF8, static_cast<Database*>(this), fnGetDate,
                               nullptr, nullptr, nullptr);
    sqlite3_busy_timeout(m_db, 10000);
    exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    return true;
}

qint64 SqliteDatabase::lastInsertId() const {
    return m_db ? qint64(sqlite3_last_insert_rowid(m_db)) : -1;
}

void SqliteDatabase::close() {
    for (sqlite3_stmt* stmt : std::as_const(m_statements))
        sqlite3_finalize(stmt);
    m_statements.clear();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

// IMMEDIATE takes the write lock at once, so two sessions' brackets queue
// instead of failing half-way.
bool SqliteDatabase::beginTransaction(QString* error) {
    return exec(QStringLiteral("BEGIN IMMEDIATE"), error);
}

bool SqliteDatabase::exec(const QString& sql, QString* error) {
    char* message = nullptr;
    int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        if (error) *error = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
        sqlite3_free(message);
        return false;
    }
    return true;
}

bool SqliteDatabase::createSchema(const sql::Schema& schema, QString* error) {
    sql::SqliteGenerator generator;
    if (!exec(QStringLiteral("BEGIN"), error)) return false;
    for (const auto& table : schema.tables()) {
        for (const QString& statement : generator.createTable(table)) {
            if (!exec(statement, error)) {
                exec(QStringLiteral("ROLLBACK"));
                return false;
            }
        }
    }
    return exec(QStringLiteral("COMMIT"), error);
}

sqlite3_stmt* SqliteDatabase::prepared(const QString& sql, QString& error) {
    if (sqlite3_stmt* stmt = m_statements.value(sql)) {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
        return stmt;
    }
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK) {
        error = lastError(m_db);
        sqlite3_finalize(stmt);
        return nullptr;
    }
    if (m_statements.size() >= kStatementCacheLimit) {
        for (sqlite3_stmt* old : std::as_const(m_statements))
            sqlite3_finalize(old);
        m_statements.clear();
    }
    m_statements.insert(sql, stmt);
    return stmt;
}

QueryResult SqliteDatabase::run(const sql::Translation& t, const std::vector<QVariant>& parameters) {
    QueryResult result;
    if (!t.ok) {
        result.error = t.error.message;
        return result;
    }
    sqlite3_stmt* stmt = prepared(t.sql, result.error);
    if (!stmt) return result;
    for (int i = 0; i < int(parameters.size()); ++i) {
        const QVariant& v = parameters[size_t(i)];
        int index = i + 1;
        if (v.isNull()) {
            sqlite3_bind_null(stmt, index);
        } else if (v.typeId() == QMetaType::Bool) {
            sqlite3_bind_int(stmt, index, v.toBool() ? 1 : 0);
        } else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong ||
                   v.typeId() == QMetaType::UInt) {
            sqlite3_bind_int64(stmt, index, v.toLongLong());
        } else if (v.typeId() == QMetaType::Double) {
            sqlite3_bind_double(stmt, index, v.toDouble());
        } else if (v.typeId() == QMetaType::QDateTime) {
            QByteArray d = dates::toStorageText(v.toDateTime()).toUtf8();
            sqlite3_bind_text(stmt, index, d.constData(), int(d.size()), SQLITE_TRANSIENT);
        } else {
            QByteArray s = v.toString().toUtf8();
            sqlite3_bind_text(stmt, index, s.constData(), int(s.size()), SQLITE_TRANSIENT);
        }
    }
    result.columns = t.columns;
    const int ncols = sqlite3_column_count(stmt);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<QVariant> row;
        row.reserve(size_t(ncols));
        for (int c = 0; c < ncols; ++c) {
            sql::SqlType type = c < int(t.columns.size()) ? t.columns[size_t(c)].type : sql::SqlType::Unknown;
            int stored = sqlite3_column_type(stmt, c);
            if (stored == SQLITE_NULL) {
                row.emplace_back();
                continue;
            }
            switch (type) {
            case sql::SqlType::Boolean:
                row.emplace_back(sqlite3_column_int64(stmt, c) != 0);
                break;
            case sql::SqlType::Integer:
                row.emplace_back(stored == SQLITE_FLOAT ? QVariant(sqlite3_column_double(stmt, c))
                                                        : QVariant(qint64(sqlite3_column_int64(stmt, c))));
                break;
            case sql::SqlType::Float:
            case sql::SqlType::Decimal:
                row.emplace_back(sqlite3_column_double(stmt, c));
                break;
            case sql::SqlType::DateTime: {
                QString s = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)));
                auto d = dates::fromStorageText(s);
                row.emplace_back(d ? QVariant(*d) : QVariant());
                break;
            }
            default:
                if (stored == SQLITE_INTEGER)
                    row.emplace_back(qint64(sqlite3_column_int64(stmt, c)));
                else if (stored == SQLITE_FLOAT)
                    row.emplace_back(sqlite3_column_double(stmt, c));
                else
                    row.emplace_back(
                        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                          sqlite3_column_bytes(stmt, c)));
            }
        }
        result.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        result.error = lastError(m_db);
        sqlite3_reset(stmt);
        return result;
    }
    result.changes = t.isQuery ? 0 : sqlite3_changes64(m_db);
    sqlite3_reset(stmt);
    result.ok = true;
    return result;
}

} // namespace corvexa::db
