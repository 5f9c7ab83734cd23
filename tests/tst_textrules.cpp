// Text widths and order in GBK, day numbers and date text.
#include "common/dates.h"
#include "common/gbk.h"

#include <QtTest>

using namespace corvexa;

class TestTextRules : public QObject {
    Q_OBJECT
private slots:
    void width_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bytes");
        QTest::newRow("ascii") << QStringLiteral("X01-000123") << 10;
        QTest::newRow("chinese") << QStringLiteral("第一支部") << 8;
        QTest::newRow("mixed") << QStringLiteral("计算机2班") << 9;
        QTest::newRow("empty") << QString() << 0;
    }
    void width() {
        QFETCH(QString, text);
        QFETCH(int, bytes);
        QCOMPARE(gbk::byteWidth(text), bytes);
        QByteArray utf8 = text.toUtf8();
        QCOMPARE(gbk::byteWidthUtf8(utf8.constData(), int(utf8.size())), bytes);
    }

    void order_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("pinyin er before yi")
            << QStringLiteral("第二支部") << QStringLiteral("第一支部") << -1;
        QTest::newRow("li before zhang") << QStringLiteral("李") << QStringLiteral("张") << -1;
        QTest::newRow("case ignored") << QStringLiteral("abc") << QStringLiteral("ABC") << 0;
        QTest::newRow("trailing blanks ignored")
            << QStringLiteral("2008-06-22 ") << QStringLiteral("2008-06-22") << 0;
        QTest::newRow("ascii before chinese") << QStringLiteral("Z") << QStringLiteral("阿") << -1;
        QTest::newRow("prefix first") << QStringLiteral("张") << QStringLiteral("张三") << -1;
        QTest::newRow("leading blank counts") << QStringLiteral(" a") << QStringLiteral("a") << -1;
    }
    void order() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        auto sgn = [](int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; };
        QCOMPARE(sgn(gbk::compare(a, b)), sign);
        QCOMPARE(sgn(gbk::compare(b, a)), -sign);
        QByteArray ua = a.toUtf8(), ub = b.toUtf8();
        QCOMPARE(sgn(gbk::compareUtf8(ua.constData(), int(ua.size()), ub.constData(), int(ub.size()))), sign);
    }

    void dayNumbers_data() {
        QTest::addColumn<double>("days");
        QTest::addColumn<QDateTime>("date");
        QTest::newRow("receipt date") << 39583.0 << dates::makeDateTime(2008, 5, 15);
        QTest::newRow("epoch") << 0.0 << dates::makeDateTime(1899, 12, 30);
        QTest::newRow("noon") << 39583.5 << dates::makeDateTime(2008, 5, 15, 12);
        QTest::newRow("before epoch") << -1.0 << dates::makeDateTime(1899, 12, 29);
    }
    void dayNumbers() {
        QFETCH(double, days);
        QFETCH(QDateTime, date);
        QCOMPARE(dates::fromDayNumber(days), date);
        QCOMPARE(dates::toDayNumber(date), days);
    }

    void dateText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("date");
        QTest::newRow("iso") << QStringLiteral("2008-05-15") << dates::makeDateTime(2008, 5, 15);
        QTest::newRow("short") << QStringLiteral("2008-5-1") << dates::makeDateTime(2008, 5, 1);
        QTest::newRow("slashes") << QStringLiteral("2008/5/1") << dates::makeDateTime(2008, 5, 1);
        QTest::newRow("with time") << QStringLiteral("2008-5-1 8:05:09")
                                   << dates::makeDateTime(2008, 5, 1, 8, 5, 9);
        QTest::newRow("mixed separators") << QStringLiteral("2008-5/1") << QDateTime();
        QTest::newRow("impossible day") << QStringLiteral("2008-02-30") << QDateTime();
        QTest::newRow("not a date") << QStringLiteral("abc") << QDateTime();
    }
    void dateText() {
        QFETCH(QString, text);
        QFETCH(QDateTime, date);
        auto parsed = dates::parseDateText(text);
        QCOMPARE(parsed.has_value(), date.isValid());
        if (parsed) QCOMPARE(*parsed, date);
    }
};

QTEST_GUILESS_MAIN(TestTextRules)
#include "tst_textrules.moc"
