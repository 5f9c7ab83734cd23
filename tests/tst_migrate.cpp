// Moving an office's records from its SQLite file into another database, and
// back again, keeps every row and every value.
#include "db/migrate.h"
#include "db/sqlitedatabase.h"
#include "demo/demodata.h"
#include "scratchdatabase.h"
#include "sql/schema.h"

#include <QtTest>

using namespace corvexa;

namespace {

QString cellText(const QVariant& v) {
    if (v.isNull()) return QStringLiteral("<null>");
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (v.typeId() == QMetaType::Double) return QString::number(v.toDouble(), 'g', 15);
    if (v.typeId() == QMetaType::Bool) return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    return v.toString();
}

// Every row of every table, in key order, as text.
QHash<QString, QStringList> contents(db::Database& database) {
    sql::Translator translator(sql::Schema::standard(), database.backend());
    QHash<QString, QStringList> out;
    for (const auto& table : sql::Schema::standard().tables()) {
        QStringList columns;
        for (const auto& c : table.columns)
            columns << c.name;
        const QStringList order =
            table.serial.isEmpty() ? (table.key.isEmpty() ? columns : table.key) : QStringList{table.serial};
        auto t = translator.translate(QStringLiteral("Select %1 from %2 order by %3")
                                          .arg(columns.join(u','), table.name, order.join(u',')),
                                      {true, true});
        const db::QueryResult r = database.run(*t);
        if (!r.ok) {
            out[table.name] << QStringLiteral("<error %1>").arg(r.error);
            continue;
        }
        for (const auto& row : r.rows) {
            QStringList cells;
            for (const auto& v : row)
                cells << cellText(v);
            out[table.name] << cells.join(u'|');
        }
    }
    return out;
}

void compareContents(const QHash<QString, QStringList>& got, const QHash<QString, QStringList>& want) {
    for (auto it = want.constBegin(); it != want.constEnd(); ++it) {
        const QStringList rows = got.value(it.key());
        QVERIFY2(rows.size() == it->size(),
                 qPrintable(
                     QStringLiteral("%1: %2 rows, want %3").arg(it.key()).arg(rows.size()).arg(it->size())));
        for (qsizetype i = 0; i < rows.size(); ++i)
            QVERIFY2(rows[i] == it->at(i), qPrintable(QStringLiteral("%1 row %2:\n got  %3\n want %4")
                                                          .arg(it.key())
                                                          .arg(i + 1)
                                                          .arg(rows[i], it->at(i))));
    }
}

} // namespace

class TestMigrate : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    std::unique_ptr<db::SqliteDatabase> sqliteFile(const QString& name) {
        auto d = std::make_unique<db::SqliteDatabase>();
        if (!d->open(m_dir.filePath(name)) || !d->createSchema(sql::Schema::standard())) return nullptr;
        return d;
    }

private slots:
    void roundTripKeepsEveryValue() {
        auto source = sqliteFile(QStringLiteral("office.sqlite"));
        QVERIFY(source);
        QString error;
        QVERIFY2(demo::populate(*source, {0, QDate(2026, 7, 10)}, &error), qPrintable(error));
        const auto original = contents(*source);
        QVERIFY(original.value(QStringLiteral("Stud_DYInfo")).size() > 100);

        test::ScratchDatabase scratch;
        auto target = scratch.open();
        QVERIFY2(target, qPrintable(scratch.error()));
        qint64 copied = 0;
        QVERIFY2(db::copyDatabase(*source, *target, sql::Schema::standard(), &error,
                                  [&](const QString&, qint64 rows) { copied += rows; }),
                 qPrintable(error));
        QVERIFY(copied > 1000);
        compareContents(contents(*target), original);

        // A second copy into a database that holds records is refused and changes nothing.
        QVERIFY(!db::copyDatabase(*source, *target, sql::Schema::standard(), &error));
        QVERIFY2(error.contains(QStringLiteral("已有记录")), qPrintable(error));
        compareContents(contents(*target), original);

        // And back into a new file: the same rows again.
        auto back = sqliteFile(QStringLiteral("back.sqlite"));
        QVERIFY(back);
        QVERIFY2(db::copyDatabase(*target, *back, sql::Schema::standard(), &error), qPrintable(error));
        compareContents(contents(*back), original);
    }

    // Serials go on after the highest one copied.
    void serialsContinue() {
        auto source = sqliteFile(QStringLiteral("serials.sqlite"));
        QVERIFY(source);
        sql::Translator from(sql::Schema::standard(), source->backend());
        for (int i = 0; i < 3; ++i)
            QVERIFY(source
                        ->run(*from.translate(
                            QStringLiteral("Insert into Sys_SQL (TempType,TempName,SQLText,UserID) "
                                           "VALUES ('XS','模板%1','Select 1',1)")
                                .arg(i)))
                        .ok);
        QVERIFY(
            source->run(*from.translate(QStringLiteral("Delete from Sys_SQL where TempName='模板0'"))).ok);

        test::ScratchDatabase scratch;
        auto target = scratch.open();
        QVERIFY2(target, qPrintable(scratch.error()));
        QString error;
        QVERIFY2(db::copyDatabase(*source, *target, sql::Schema::standard(), &error), qPrintable(error));
        sql::Translator to(sql::Schema::standard(), target->backend());
        auto r = target->run(*to.translate(QStringLiteral(
            "Insert into Sys_SQL (TempType,TempName,SQLText,UserID) VALUES ('XS','新模板','Select 2',1)")));
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(target->lastInsertId(), qint64(4));
    }
};

QTEST_GUILESS_MAIN(TestMigrate)
#include "tst_migrate.moc"
