// corvexa-sql: runs one statement of the records' dialect, through a running
// server (--host) or directly against a database file (--db).
// Prints a header line and one tab-separated line per row; errors go to stderr.
#include "common/blockingclient.h"
#include "common/wire.h"
#include "db/database.h"
#include "sql/schema.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

using namespace corvexa;

namespace {

QString cellText(const QVariant& v) {
    if (v.isNull()) return {};
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (v.typeId() == QMetaType::Bool) return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    return v.toString();
}

int runRemote(const QString& host, quint16 port, const QString& user, const QString& password,
              const QString& text) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    wire::BlockingClient c(60000);
    if (!c.connectTo(host, port)) {
        err << "cannot connect to " << host << ':' << port << ": " << c.errorString() << Qt::endl;
        return 1;
    }
    auto fail = [&](const wire::Message& m) {
        err << m.body.value(QStringLiteral("message")).toString() << Qt::endl;
        return 1;
    };
    if (!c.hello()) {
        err << "the server does not speak protocol version " << wire::kProtocolVersion << Qt::endl;
        return 1;
    }
    if (const QString result = c.login(user, password); result != u"ok") {
        err << "login refused: " << result << Qt::endl;
        return 1;
    }
    auto rows = c.open(QStringLiteral("DSP_SQLResult"), {}, text);
    if (rows.kind == u"done") return 0;
    if (rows.kind != u"rows") return fail(rows);
    QString error;
    auto set = wire::decodeRowSet(rows.body.value(QStringLiteral("rows")), &error);
    if (!set) {
        err << error << Qt::endl;
        return 1;
    }
    QStringList header;
    for (const auto& col : set->columns)
        header << col.name;
    out << header.join(u'\t') << Qt::endl;
    for (const auto& row : set->rows) {
        QStringList cells;
        for (const auto& v : row)
            cells << cellText(v.toVariant());
        out << cells.join(u'\t') << Qt::endl;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvexa-sql"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs a statement against a Corvexa database."));
    parser.addHelpOption();
    QCommandLineOption dbOption(QStringLiteral("db"),
                                QStringLiteral("Database: sqlite:PATH or postgresql://user@host:port/db."),
                                QStringLiteral("db"));
    QCommandLineOption execOption(QStringList{QStringLiteral("e"), QStringLiteral("execute")},
                                  QStringLiteral("Statement to run."), QStringLiteral("sql"));
    QCommandLineOption showOption(QStringLiteral("translate"), QStringLiteral("Print the backend SQL only."));
    QCommandLineOption hostOption(QStringLiteral("host"), QStringLiteral("Server host."),
                                  QStringLiteral("host"));
    QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("Server port (211)."),
                                  QStringLiteral("port"), QStringLiteral("211"));
    QCommandLineOption userOption(QStringLiteral("user"), QStringLiteral("Login name."),
                                  QStringLiteral("user"));
    QCommandLineOption passwordOption(QStringLiteral("password"), QStringLiteral("Password."),
                                      QStringLiteral("password"));
    parser.addOptions({dbOption, execOption, showOption, hostOption, portOption, userOption, passwordOption});
    parser.process(app);
    if (parser.isSet(hostOption))
        return runRemote(parser.value(hostOption), quint16(parser.value(portOption).toUInt()),
                         parser.value(userOption), parser.value(passwordOption), parser.value(execOption));

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString text = parser.value(execOption);
    const QString url = parser.value(dbOption);
    const sql::Backend backend = db::isPostgresUrl(url) ? sql::Backend::PostgreSQL : sql::Backend::SQLite;
    sql::Translator translator(sql::Schema::standard(), backend);
    sql::Translation t = translator.translateUncached(text);
    if (!t.ok) {
        err << t.error.describe(text) << Qt::endl;
        return 1;
    }
    if (parser.isSet(showOption)) {
        out << t.sql << Qt::endl;
        return 0;
    }
    if (url.isEmpty()) {
        err << "--db sqlite:PATH or --db postgresql://... is required" << Qt::endl;
        return 2;
    }
    QString error;
    auto database = db::openDatabase(url, &error);
    if (!database || !database->createSchema(sql::Schema::standard(), &error)) {
        err << error << Qt::endl;
        return 1;
    }
    db::QueryResult r = database->run(t);
    if (!r.ok) {
        err << r.error << Qt::endl;
        return 1;
    }
    if (t.isQuery) {
        QStringList header;
        for (const auto& c : r.columns)
            header << c.name;
        out << header.join(u'\t') << Qt::endl;
        for (const auto& row : r.rows) {
            QStringList cells;
            for (const auto& v : row)
                cells << cellText(v);
            out << cells.join(u'\t') << Qt::endl;
        }
    }
    return 0;
}
