// corvexa-server: the application server of the records system.
//   corvexa-server [--db URL] [--listen ADDRESS] [--port 211]
//   corvexa-server init --db URL [--demo] [--demo-scale N]
//   corvexa-server migrate --from URL --to URL
// URL is sqlite:PATH or postgresql://user@host:port/database.
#include "db/migrate.h"
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

std::unique_ptr<db::Database> openWithSchema(const QString& url) {
    QString error;
    auto database = db::openDatabase(url, &error);
    if (!database || !database->createSchema(sql::Schema::standard(), &error)) {
        qCritical("database %s: %s", qPrintable(url), qPrintable(error));
        return nullptr;
    }
    return database;
}

int init(const QString& url, bool demo, int scale) {
    auto database = openWithSchema(url);
    if (!database) return 1;
    if (demo) {
        sql::Translator translator(sql::Schema::standard(), database->backend());
        auto count =
            database->run(*translator.translate(QStringLiteral("Select Count(*) as N from DZZ_List")));
        if (!count.ok || count.rows.at(0).at(0).toLongLong() != 0) {
            qCritical("database %s already holds records; demo data goes into a new database only",
                      qPrintable(url));
            return 1;
        }
        QString error;
        if (!demo::populate(*database, {scale, QDate::currentDate()}, &error)) {
            qCritical("demo data: %s", qPrintable(error));
            return 1;
        }
        if (database->backend() == sql::Backend::PostgreSQL) database->exec(QStringLiteral("ANALYZE"));
        qInfo("demo records written");
    }
    qInfo("database %s ready", qPrintable(url));
    return 0;
}

int migrate(const QString& fromUrl, const QString& toUrl) {
    QString error;
    auto from = db::openDatabase(fromUrl, &error);
    if (!from) {
        qCritical("database %s: %s", qPrintable(fromUrl), qPrintable(error));
        return 1;
    }
    auto to = openWithSchema(toUrl);
    if (!to) return 1;
    qint64 total = 0;
    const bool ok =
        db::copyDatabase(*from, *to, sql::Schema::standard(), &error, [&](const QString& table, qint64 rows) {
            total += rows;
            if (rows) qInfo("%s: %lld rows", qPrintable(table), rows);
        });
    if (!ok) {
        qCritical("migration failed, nothing was written: %s", qPrintable(error));
        return 1;
    }
    qInfo("%lld rows copied from %s to %s", total, qPrintable(fromUrl), qPrintable(toUrl));
    return 0;
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
                                 QStringLiteral("init: create the database and exit; "
                                                "migrate: copy --from into an empty --to and exit."));
    QCommandLineOption dbOption(QStringLiteral("db"),
                                QStringLiteral("Database: sqlite:PATH or postgresql://user@host:port/db."),
                                QStringLiteral("url"), QStringLiteral("sqlite:corvexa.sqlite"));
    QCommandLineOption fromOption(QStringLiteral("from"), QStringLiteral("migrate: the database to copy."),
                                  QStringLiteral("url"));
    QCommandLineOption toOption(QStringLiteral("to"), QStringLiteral("migrate: the new, empty database."),
                                QStringLiteral("url"));
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
    parser.addOptions({dbOption, fromOption, toOption, portOption, listenOption, demoOption, scaleOption});
    parser.process(app);

    const QString command = parser.positionalArguments().value(0);
    if (command == u"migrate") {
        if (!parser.isSet(fromOption) || !parser.isSet(toOption)) {
            qCritical("migrate needs --from URL and --to URL");
            return 2;
        }
        return migrate(parser.value(fromOption), parser.value(toOption));
    }
    const QString url = parser.value(dbOption);
    if (command == u"init")
        return init(url, parser.isSet(demoOption) || parser.isSet(scaleOption),
                    parser.value(scaleOption).toInt());
    if (!command.isEmpty()) {
        qCritical("unknown command %s (init or migrate)", qPrintable(command));
        return 2;
    }
    auto database = openWithSchema(url);
    if (!database) return 1;
    server::ServerConfig config;
    config.databaseUrl = url;
    bool ok = false;
    config.port = quint16(parser.value(portOption).toUInt(&ok));
    if (!ok || !config.address.setAddress(parser.value(listenOption))) {
        qCritical("bad --port or --listen");
        return 2;
    }
    sql::Translator translator(sql::Schema::standard(), database->backend());
    database.reset();
    server::TcpServer server(config, translator);
    if (!server.listen(config.address, config.port)) {
        qCritical("cannot listen on %s:%u: %s", qPrintable(config.address.toString()), config.port,
                  qPrintable(server.errorString()));
        return 1;
    }
    qInfo("listening on %s:%u, database %s", qPrintable(config.address.toString()), server.serverPort(),
          qPrintable(url));
    return app.exec();
}
