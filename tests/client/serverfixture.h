#pragma once
// A real corvexa-server on a free loopback port over a temporary SQLite
// database, for the tests of the desktop program's data core.
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace corvexa::testing {

class ServerFixture {
public:
    ~ServerFixture();
    // Creates the database with the schema, runs the statements (the
    // records' dialect) and, with demoScale >= 0, the demo records first;
    // then starts the server. False with the reason in error.
    bool start(const QStringList& statements, QString* error, int demoScale = -1);
    void stop();
    // Runs a statement directly on the database (the server keeps serving).
    bool exec(const QString& statement, QString* error = nullptr);
    // One value read directly from the database, as text.
    QString scalar(const QString& query);
    // The first value of every row, as text.
    QStringList column(const QString& query);

    quint16 port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    QString dir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
    QProcess m_server;
    quint16 m_port = 0;
};

} // namespace corvexa::testing
