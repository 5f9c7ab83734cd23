// corvexa-server: the application server of the records system.
//   corvexa-server [--db sqlite:PATH] [--listen ADDRESS] [--port 211]
//   corvexa-server init --db sqlite:PATH [--demo] [--demo-scale N]
#include "db/sqlitedatabase.h"
#include "demo/demodata.h"
#include "net/tcpserver.h"
#include "sql/schema.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>

using namespace corvexa;

namespace {
void logLine(QtMsgType type, const QMessageLogContext&, const QString& message) {
    const char* level = "info";
    switch (type) {
    case QtWarningMsg:
        level = "warning";
        break;
    case QtCriticalMsg:
    case QtFatalMsg:
        level = "error";
        break;
    case QtDebugMsg:
        level = "debug";
        break;
    case QtInfoMsg:
        break;
    }
    fprintf(stderr, "%s %s %s\n", qPrintable(QDateTime::currentDateTime().toString(Qt::ISODateWithMs)), level,
            qPrintable(message));
    fflush(stderr);
}
} // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(logLine);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvexa-server"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Corvexa application server."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("init: create the database and exit."));
    QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("Database, sqlite:PATH."),
                                QStringLiteral("db"), QStringLiteral("sqlite:corvexa.sqlite"));
    QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("TCP port (211)."),
                                  QStringLiteral("port"), QStringLiteral("211"));
    QCommandLineOption listenOption(QStringLiteral("listen"), QStringLiteral("Address to listen on."),
                                    QStringLiteral("address"), QStringLiteral("0.0.0.0"));
    QCommandLineOption demoOption(QStringLiteral("demo"),
                                  QStringLiteral("init: fill a new database with demo records."));
    QCommandLineOption scaleOption(
        QStringLiteral("demo-scale"),
        QStringLiteral("init: demo records with N current student members (benchmarks)."),
        QStringLiteral("N"), QStringLiteral("0"));
    parser.addOptions({dbOption, portOption, listenOption, demoOption, scaleOption});
    parser.process(app);

    const QString db = parser.value(dbOption);
    if (!db.startsWith(QLatin1String("sqlite:"))) {
        qCritical("unsupported database %s (use sqlite:PATH)", qPrintable(db));
        return 2;
    }
    server::ServerConfig config;
    config.databaseUrl = db;
    const QString path = db.mid(7);
    {
        db::SqliteDatabase database;
        QString error;
        if (!database.open(path, &error) || !database.createSchema(sql::Schema::standard(), &error)) {
            qCritical("database %s: %s", qPrintable(path), qPrintable(error));
            return 1;
        }
    }
    if (parser.positionalArguments().value(0) == u"init") {
        if (parser.isSet(demoOption) || parser.isSet(scaleOption)) {
            db::SqliteDatabase database;
            QString error;
            database.open(path, &error);
            auto count = database.run(*sql::Translator(sql::Schema::standard(), sql::Backend::SQLite)
                                           .translate(QStringLiteral("Select Count(*) as N from DZZ_List")));
            if (!count.ok || count.rows.at(0).at(0).toLongLong() != 0) {
                qCritical("database %s already holds records; demo data goes into a new database only",
                          qPrintable(path));
                return 1;
            }
            if (!demo::populate(database, {parser.value(scaleOption).toInt(), QDate::currentDate()},
                                &error)) {
                qCritical("demo data: %s", qPrintable(error));
                return 1;
            }
            qInfo("demo records written");
        }
        qInfo("database %s ready", qPrintable(path));
        return 0;
    }
    bool ok = false;
    config.port = quint16(parser.value(portOption).toUInt(&ok));
    if (!ok || !config.address.setAddress(parser.value(listenOption))) {
        qCritical("bad --port or --listen");
        return 2;
    }
    sql::Translator translator(sql::Schema::standard(), sql::Backend::SQLite);
    server::TcpServer server(config, translator);
    if (!server.listen(config.address, config.port)) {
        qCritical("cannot listen on %s:%u: %s", qPrintable(config.address.toString()), config.port,
                  qPrintable(server.errorString()));
        return 1;
    }
    qInfo("listening on %s:%u, database %s", qPrintable(config.address.toString()), server.serverPort(),
          qPrintable(path));
    return app.exec();
}
