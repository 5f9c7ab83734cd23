#include "db/database.h"

#include "db/pgdatabase.h"
#include "db/sqlitedatabase.h"

namespace corvexa::db {

QDateTime Database::now() const {
    if (m_clock) return m_clock();
    QDateTime local = QDateTime::currentDateTime();
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

bool Database::savepoint(const QString& name, QString* error) {
    return exec(QStringLiteral("SAVEPOINT ") + name, error);
}

bool Database::releaseSavepoint(const QString& name, QString* error) {
    return exec(QStringLiteral("RELEASE ") + name, error);
}

bool Database::rollbackToSavepoint(const QString& name, QString* error) {
    return exec(QStringLiteral("ROLLBACK TO ") + name, error) &&
           exec(QStringLiteral("RELEASE ") + name, error);
}

bool isPostgresUrl(const QString& url) {
    return url.startsWith(QLatin1String("postgresql://")) || url.startsWith(QLatin1String("postgres://"));
}

std::unique_ptr<Database> openDatabase(const QString& url, QString* error) {
    if (url.startsWith(QLatin1String("sqlite:"))) {
        auto db = std::make_unique<SqliteDatabase>();
        if (!db->open(url.mid(7), error)) return nullptr;
        return db;
    }
    if (isPostgresUrl(url)) {
        auto db = std::make_unique<PgDatabase>();
        if (!db->open(url, error)) return nullptr;
        return db;
    }
    if (error)
        *error = QStringLiteral("不支持的数据库 %1（应为 sqlite:文件路径 或 postgresql://用户@主机/数据库）")
                     .arg(url);
    return nullptr;
}

} // namespace corvexa::db
