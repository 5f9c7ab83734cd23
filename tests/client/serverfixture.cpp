#include "serverfixture.h"

#include <csignal>
#include <sys/prctl.h>

#include "db/sqlitedatabase.h"
#include "demo/demodata.h"
#include "sql/schema.h"
#include "sql/translator.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace corvexa::testing {

ServerFixture::~ServerFixture() {
    stop();
}

bool ServerFixture::exec(const QString& statement, QString* error) {
    db::SqliteDatabase d;
    if (!d.open(m_path, error)) return false;
    sql::Translator tr(sql::Schema::standard(), sql::Backend::SQLite);
    auto t = tr.translate(statement);
    if (!t->ok) {
        if (error) *error = t->error.describe(statement);
        return false;
    }
    auto r = d.run(*t);
    if (!r.ok && error) *error = statement + QStringLiteral(": ") + r.error;
    return r.ok;
}

QString ServerFixture::scalar(const QString& query) {
    db::SqliteDatabase d;
    if (!d.open(m_path)) return QStringLiteral("<no database>");
    sql::Translator tr(sql::Schema::standard(), sql::Backend::SQLite);
    auto t = tr.translate(query);
    if (!t->ok) return t->error.message;
    auto r = d.run(*t);
    if (!r.ok) return r.error;
    if (r.rows.empty() || r.rows.front().empty()) return QStringLiteral("<no rows>");
    return r.rows.front().front().toString();
}

QStringList ServerFixture::column(const QString& query) {
    db::SqliteDatabase d;
    if (!d.open(m_path)) return {QStringLiteral("<no database>")};
    sql::Translator tr(sql::Schema::standard(), sql::Backend::SQLite);
    auto t = tr.translate(query);
    if (!t->ok) return {t->error.message};
    auto r = d.run(*t);
    if (!r.ok) return {r.error};
    QStringList out;
    for (const auto& row : r.rows)
        out << (row.empty() ? QString() : row.front().toString());
    return out;
}

bool ServerFixture::start(const QStringList& statements, QString* error, int demoScale) {
    if (!m_dir.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    m_path = m_dir.filePath(QStringLiteral("records.sqlite"));
    {
        db::SqliteDatabase d;
        if (!d.open(m_path, error) || !d.createSchema(sql::Schema::standard(), error)) return false;
        if (demoScale >= 0 && !demo::populate(d, {demoScale, QDate(2026, 7, 10)}, error)) return false;
    }
    for (const QString& s : statements) {
        if (!exec(s, error)) return false;
    }
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) {
        *error = probe.errorString();
        return false;
    }
    m_port = probe.serverPort();
    probe.close();
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A test that crashes takes its server with it, so nothing keeps ctest waiting.
    m_server.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_server.start(QCoreApplication::applicationDirPath() + QStringLiteral("/corvexa-server"),
                   {QStringLiteral("--db"), QStringLiteral("sqlite:") + m_path, QStringLiteral("--listen"),
                    QStringLiteral("127.0.0.1"), QStringLiteral("--port"), QString::number(m_port)});
    if (!m_server.waitForStarted()) {
        *error = m_server.errorString();
        return false;
    }
    for (int i = 0; i < 100; ++i) {
        QTcpSocket s;
        s.connectToHost(QStringLiteral("127.0.0.1"), m_port);
        if (s.waitForConnected(100)) return true;
        QThread::msleep(50);
    }
    *error = QStringLiteral("the server did not start listening");
    return false;
}

void ServerFixture::stop() {
    if (m_server.state() == QProcess::NotRunning) return;
    m_server.terminate();
    m_server.waitForFinished(5000);
}

} // namespace corvexa::testing
