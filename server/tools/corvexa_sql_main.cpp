// corvexa-sql: runs statements of the records' dialect against a database file.
// Prints a header line and one tab-separated line per row; errors go to stderr.
#include "db/sqlitedatabase.h"
#include "sql/schema.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

using namespace corvexa;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvexa-sql"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs a statement against a Corvexa database."));
    parser.addHelpOption();
    QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("Database, sqlite:PATH."),
                                QStringLiteral("db"));
    QCommandLineOption execOption(QStringList{QStringLiteral("e"), QStringLiteral("execute")},
                                  QStringLiteral("Statement to run."), QStringLiteral("sql"));
    QCommandLineOption showOption(QStringLiteral("translate"), QStringLiteral("Print the backend SQL only."));
    parser.addOptions({dbOption, execOption, showOption});
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString text = parser.value(execOption);
    sql::Translator translator(sql::Schema::standard(), sql::Backend::SQLite);
    sql::Translation t = translator.translateUncached(text);
    if (!t.ok) {
        err << t.error.describe(text) << Qt::endl;
        return 1;
    }
    if (parser.isSet(showOption)) {
        out << t.sql << Qt::endl;
        return 0;
    }
    QString db = parser.value(dbOption);
    if (!db.startsWith(QLatin1String("sqlite:"))) {
        err << "--db sqlite:PATH is required" << Qt::endl;
        return 2;
    }
    db::SqliteDatabase database;
    QString error;
    if (!database.open(db.mid(7), &error) || !database.createSchema(sql::Schema::standard(), &error)) {
        err << error << Qt::endl;
        return 1;
    }
    db::QueryResult r = database.run(t);
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
            for (const auto& v : row) {
                if (v.isNull())
                    cells << QString();
                else if (v.typeId() == QMetaType::QDateTime)
                    cells << v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
                else if (v.typeId() == QMetaType::Bool)
                    cells << (v.toBool() ? QStringLiteral("1") : QStringLiteral("0"));
                else
                    cells << v.toString();
            }
            out << cells.join(u'\t') << Qt::endl;
        }
    }
    return 0;
}
