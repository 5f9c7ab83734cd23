// Statements the dialect layer must refuse with a message that says what and
// where, and shapes of translations that carry the user's text safely.
#include "db/sqlitedatabase.h"
#include "sql/schema.h"

#include <QtTest>

using namespace corvexa;

class TestSqlErrors : public QObject {
    Q_OBJECT
    sql::Translator m_tr{sql::Schema::standard(), sql::Backend::SQLite};

private slots:
    void refused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fragment"); // part of the message
        QTest::addColumn<int>("position");     // -1: not checked
        QTest::newRow("empty") << QString() << QStringLiteral("空") << -1;
        QTest::newRow("unknown table")
            << QStringLiteral("Select * from Stud_DYInf") << QStringLiteral("Stud_DYInf") << 14;
        QTest::newRow("unknown column")
            << QStringLiteral("Select A.Nam from Stud_DYInfo A") << QStringLiteral("Nam") << 7;
        QTest::newRow("unknown alias")
            << QStringLiteral("Select X.Name from Stud_DYInfo A") << QStringLiteral("X") << 7;
        QTest::newRow("ambiguous column") << QStringLiteral("Select DY_ID from Stud_DYInfo A, Stud_XianYou B")
                                          << QStringLiteral("不明确") << 7;
        QTest::newRow("unterminated text")
            << QStringLiteral("Select * from DZB_XS where ZB_ID='S01") << QStringLiteral("单引号") << 33;
        QTest::newRow("trailing garbage")
            << QStringLiteral("Select * from DZB_XS x y") << QStringLiteral("多出") << 23;
        QTest::newRow("missing from table")
            << QStringLiteral("Select * from") << QStringLiteral("表名") << 13;
        QTest::newRow("not a date") << QStringLiteral("Select * from Stud_YuSen where YuSenRQ='abc'")
                                    << QStringLiteral("日期") << 39;
        QTest::newRow("too wide") << QStringLiteral(
                                         "Update Stud_DYInfo Set Name='一二三四五六' where DY_ID='X'")
                                  << QStringLiteral("宽度") << 28;
        QTest::newRow("serial written")
            << QStringLiteral("Update DZB_XS Set SN=5") << QStringLiteral("SN") << -1;
        QTest::newRow("required missing") << QStringLiteral("Insert into Stud_XianYou (DY_ID) VALUES ('X')")
                                          << QStringLiteral("DZZ_ID") << -1;
        QTest::newRow("values count") << QStringLiteral("Insert into Code_Sex (Sex_ID, Sex) VALUES ('1')")
                                      << QStringLiteral("个数") << -1;
        QTest::newRow("password read")
            << QStringLiteral("Select LoginPSWD from DZZ_Users") << QStringLiteral("LoginPSWD") << 7;
        QTest::newRow("password in where of query")
            << QStringLiteral("Select LoginName from DZZ_Users where LoginPSWD like 'a%'")
            << QStringLiteral("LoginPSWD") << -1;
        QTest::newRow("outer join under or")
            << QStringLiteral("Select * from Stud_XianYou B, DZB_XS C where B.DZB_ID*=C.ZB_ID or B.DY_ID='x'")
            << QStringLiteral("AND") << -1;
        QTest::newRow("outer join two kept tables")
            << QStringLiteral("Select * from Stud_XianYou B, DZB_XS C, Stud_YuSen Y where B.DZB_ID*=C.ZB_ID "
                              "and Y.DZB_ID*=C.ZB_ID")
            << QStringLiteral("两个表") << -1;
        QTest::newRow("outer join cycle")
            << QStringLiteral(
                   "Select * from Stud_XianYou B, DZB_XS C where B.DZB_ID*=C.ZB_ID and C.ZB_ID*=B.DZB_ID")
            << QStringLiteral("外连接") << -1;
        QTest::newRow("ungrouped column")
            << QStringLiteral("Select A.Name, A.Sex, Count(*) from Stud_DYInfo A group by A.Name")
            << QStringLiteral("Sex") << -1;
        QTest::newRow("aggregate in where") << QStringLiteral("Select Name from Stud_DYInfo where Count(*)>1")
                                            << QStringLiteral("聚合") << -1;
        QTest::newRow("unknown function")
            << QStringLiteral("Select Foo(Name) from Stud_DYInfo") << QStringLiteral("Foo") << 7;
        QTest::newRow("value as condition")
            << QStringLiteral("Select Name from Stud_DYInfo where 1") << QStringLiteral("条件") << -1;
        QTest::newRow("distinct order by other")
            << QStringLiteral("Select Distinct Name from Stud_DYInfo order by Sex")
            << QStringLiteral("DISTINCT") << -1;
        QTest::newRow("parameter in user text")
            << QStringLiteral("Select Name from Stud_DYInfo where DY_ID=:A") << QStringLiteral("参数") << -1;
        QTest::newRow("second statement")
            << QStringLiteral("Select 1; Delete from Stud_DYInfo") << QStringLiteral("多出") << -1;
        QTest::newRow("arabic-indic digit")
            << QString::fromUtf8("Select * from DZB_XS where ZB_ID in (\xd9\xa7)")
            << QStringLiteral("未知的字段") << -1;
        QTest::newRow("deep nesting")
            << QStringLiteral("Select ") + QString(5000, u'(') + u'1' + QString(5000, u')')
            << QStringLiteral("太深") << -1;
    }
    void refused() {
        QFETCH(QString, text);
        QFETCH(QString, fragment);
        QFETCH(int, position);
        sql::Translation t = m_tr.translateUncached(text);
        QVERIFY2(!t.ok, qPrintable(t.sql));
        QVERIFY2(t.error.message.contains(fragment), qPrintable(t.error.message));
        if (position >= 0) QCOMPARE(t.error.position, position);
        QVERIFY(t.error.describe(text).contains(QStringLiteral("第1行")) || t.error.position < 0);
    }

    // The user's text reaches the database only as literals and schema names.
    void literalsStayLiterals() {
        db::SqliteDatabase d;
        QVERIFY(d.open(QStringLiteral(":memory:")));
        QVERIFY(d.createSchema(sql::Schema::standard()));
        const QString name = QStringLiteral("O'Brien'); Delete from Code_Sex; --");
        QString quoted = name;
        quoted.replace(u'\'', QStringLiteral("''"));
        auto ins =
            m_tr.translateUncached(QStringLiteral("Insert into Code_Sex (Sex_ID, Sex) VALUES ('1', '男')"));
        QVERIFY(d.run(ins).ok);
        auto q = m_tr.translateUncached(
            QStringLiteral("Select Count(*) as N from Stud_DYInfo where Name='%1'").arg(quoted));
        QVERIFY2(q.ok, qPrintable(q.error.message));
        QVERIFY(d.run(q).ok);
        auto left = d.run(m_tr.translateUncached(QStringLiteral("Select Count(*) as N from Code_Sex")));
        QCOMPARE(left.rows.at(0).at(0).toLongLong(), 1);
    }

    void translationsAreCached() {
        auto a = m_tr.translate(QStringLiteral("Select Year(GetDate()) as Y"));
        auto b = m_tr.translate(QStringLiteral("Select Year(GetDate()) as Y"));
        QVERIFY(a->ok);
        QCOMPARE(a.get(), b.get());
    }
};

QTEST_GUILESS_MAIN(TestSqlErrors)
#include "tst_sqlerrors.moc"
