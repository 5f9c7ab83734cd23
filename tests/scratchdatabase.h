#pragma once
// The database a test works on. Tests run against SQLite unless
// CORVEXA_TEST_BACKEND=postgresql; then each scratch database is a database of
// its own on the test cluster (CORVEXA_TEST_PG_URL, or the file named by
// CORVEXA_TEST_PG_URL_FILE), dropped when the test is done with it.
#include "db/pgdatabase.h"
#include "sql/schema.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>
#include <memory>

namespace corvexa::test {

inline bool onPostgres() {
    return qEnvironmentVariable("CORVEXA_TEST_BACKEND") == u"postgresql";
}

inline sql::Backend backend() {
    return onPostgres() ? sql::Backend::PostgreSQL : sql::Backend::SQLite;
}

// postgresql://user@host:port/postgres of the test cluster.
inline QString clusterUrl() {
    QString url = qEnvironmentVariable("CORVEXA_TEST_PG_URL");
    if (url.isEmpty()) {
        QFile file(qEnvironmentVariable("CORVEXA_TEST_PG_URL_FILE"));
        if (file.open(QIODevice::ReadOnly)) url = QString::fromUtf8(file.readAll()).trimmed();
    }
    return url;
}

class ScratchDatabase {
public:
    // An empty database with the schema.
    ScratchDatabase() {
        if (!onPostgres()) {
            m_url = QStringLiteral("sqlite:") + m_dir.filePath(QStringLiteral("test.sqlite"));
        } else {
            const QString cluster = clusterUrl();
            if (cluster.isEmpty()) {
                m_error = QStringLiteral("no PostgreSQL test cluster (CORVEXA_TEST_PG_URL[_FILE])");
                return;
            }
            m_name = QStringLiteral("cxt_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
            m_admin = cluster;
            db::PgDatabase admin;
            if (!admin.open(m_admin, &m_error) ||
                !admin.exec(
                    QStringLiteral("CREATE DATABASE \"%1\" TEMPLATE template0 ENCODING 'UTF8'").arg(m_name),
                    &m_error)) {
                m_name.clear();
                return;
            }
            m_url = cluster.left(cluster.lastIndexOf(u'/') + 1) + m_name;
        }
        auto db = open();
        if (db && !db->createSchema(sql::Schema::standard(), &m_error)) m_url.clear();
    }
    ~ScratchDatabase() {
        if (m_name.isEmpty()) return;
        db::PgDatabase admin;
        if (admin.open(m_admin))
            admin.exec(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(m_name));
    }
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    bool isValid() const { return !m_url.isEmpty(); }
    QString error() const { return m_error; }
    QString url() const { return m_url; }

    // A new connection to it.
    std::unique_ptr<db::Database> open() {
        if (m_url.isEmpty()) return nullptr;
        auto db = db::openDatabase(m_url, &m_error);
        if (!db) m_url.clear();
        return db;
    }

private:
    QTemporaryDir m_dir;
    QString m_url, m_error, m_admin, m_name;
};

} // namespace corvexa::test
