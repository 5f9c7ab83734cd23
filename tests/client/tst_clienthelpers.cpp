// The small rules shared by the screens: numbering, names, list comparison,
// ages and overdue markers, the server address typed at login.
#include "data/connection.h"
#include "data/helpers.h"

#include <QtTest>

using namespace corvexa::client;

class TestClientHelpers : public QObject {
    Q_OBJECT
private slots:
    void nextNo_data() {
        QTest::addColumn<int>("counter");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("next");
        QTest::newRow("padded") << 7 << 4 << "0008";
        QTest::newRow("longer than the width is not cut") << 12345 << 4 << "12346";
        QTest::newRow("member serial") << 123 << 6 << "000124";
        QTest::newRow("fresh") << 0 << 4 << "0001";
    }
    void nextNo() {
        QFETCH(int, counter);
        QFETCH(int, width);
        QFETCH(QString, next);
        TAutoIncNo no(counter);
        QCOMPARE(no.NextNo(width), next);
        // A cancelled record gives its number back; the same one comes again.
        no.UndoNo();
        QCOMPARE(no.NextNo(width), next);
    }

    void orgUnitName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("unit");
        QTest::newRow("committee") << "计算机学院党委"
                                   << "计算机学院";
        QTest::newRow("general branch") << "图书馆党总支"
                                        << "图书馆";
        QTest::newRow("neither") << "机关直属支部"
                                 << "机关直属支部";
        QTest::newRow("committee comes first") << "甲党总支乙党委丙"
                                               << "甲党总支乙";
        QTest::newRow("empty") << ""
                               << "";
    }
    void orgUnitName() {
        QFETCH(QString, name);
        QFETCH(QString, unit);
        QCOMPARE(OrgUnitName(name), unit);
    }

    void compareNumText_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("result");
        QTest::newRow("empty and zero") << ""
                                        << "0" << 0;
        QTest::newRow("blank and zero") << "  "
                                        << "0" << 0;
        QTest::newRow("10 > 9") << "10"
                                << "9" << 1;
        QTest::newRow("2 < 10") << "2"
                                << "10" << -1;
        QTest::newRow("equal numbers, other texts") << "1.0"
                                                    << "1" << -1;
        QTest::newRow("identical") << "3.5"
                                   << "3.5" << 0;
    }
    void compareNumText() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, result);
        QCOMPARE(CompareNumText(a, b), result);
    }

    void dropLastChar_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("trailing comma") << "a,b,"
                                        << "a,b";
        QTest::newRow("two blanks") << "  "
                                    << "  ";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("chinese") << "张三、"
                                 << "张三";
    }
    void dropLastChar() {
        QFETCH(QString, text);
        QFETCH(QString, result);
        QCOMPARE(DropLastChar(text), result);
    }

    void zeroPad() {
        QCOMPARE(ZeroPad(7, 4), QStringLiteral("0007"));
        QCOMPARE(ZeroPad(123456, 4), QStringLiteral("123456"));
    }

    void age_data() {
        QTest::addColumn<QDate>("born");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("age");
        QTest::newRow("the day of the 20th birthday") << QDate(2000, 1, 1) << QDate(2020, 1, 1) << 19;
        QTest::newRow("one day later") << QDate(2000, 1, 1) << QDate(2020, 1, 2) << 20;
        QTest::newRow("summer birthday") << QDate(1990, 6, 15) << QDate(2008, 6, 15) << 17;
        QTest::newRow("summer, a day later") << QDate(1990, 6, 15) << QDate(2008, 6, 16) << 18;
        QTest::newRow("no birth date") << QDate() << QDate(2026, 7, 10) << 126;
    }
    void age() {
        QFETCH(QDate, born);
        QFETCH(QDate, today);
        QFETCH(int, age);
        QCOMPARE(memberAge(born, today), age);
    }

    void overdue_data() {
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<QString>("memberType");
        QTest::addColumn<bool>("probationOverdue");
        QTest::addColumn<bool>("preReviewOverdue");
        QTest::newRow("122 days") << 122 << "预备" << false << false;
        QTest::newRow("123 days") << 123 << "预备" << false << true;
        QTest::newRow("365 days") << 365 << "预备" << false << true;
        QTest::newRow("366 days") << 366 << "预备" << true << true;
        QTest::newRow("366 days, full member") << 366 << "正式" << false << true;
    }
    void overdue() {
        QFETCH(int, daysAgo);
        QFETCH(QString, memberType);
        QFETCH(bool, probationOverdue);
        QFETCH(bool, preReviewOverdue);
        const QDate today(2024, 3, 1); // a leap year's February lies in between
        const QDate since = today.addDays(-daysAgo);
        QCOMPARE(isProbationOverdue(since, memberType, today), probationOverdue);
        QCOMPARE(isPreReviewOverdue(since, today), preReviewOverdue);
        // Without a date nobody is overdue.
        QVERIFY(!isProbationOverdue(QDate(), memberType, today));
        QVERIFY(!isPreReviewOverdue(QDate(), today));
    }

    void serverAddress_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::newRow("host only") << "10.1.2.3"
                                   << "10.1.2.3" << 211;
        QTest::newRow("host and port") << " server:2110 "
                                       << "server" << 2110;
        QTest::newRow("empty") << ""
                               << "127.0.0.1" << 211;
        QTest::newRow("bad port") << "server:x"
                                  << "" << -1;
        QTest::newRow("port out of range") << "server:70000"
                                           << "" << -1;
    }
    void serverAddress() {
        QFETCH(QString, text);
        QFETCH(QString, host);
        QFETCH(int, port);
        const auto address = parseServerAddress(text);
        QCOMPARE(address.has_value(), port > 0);
        if (!address) return;
        QCOMPARE(address->host, host);
        QCOMPARE(int(address->port), port);
    }
};

QTEST_GUILESS_MAIN(TestClientHelpers)
#include "tst_clienthelpers.moc"
