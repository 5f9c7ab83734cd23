// Row sets read straight from a frame's bytes must read exactly as the CBOR
// tree reads them: the same values, and a refusal wherever the tree refuses.
#include "common/wire.h"

#include <QCborArray>
#include <QtEndian>
#include <QtTest>
#include <cmath>

using namespace corvexa;
using namespace corvexa::wire;

namespace {

QCborValue dateText(const char* text) {
    return QCborValue(QCborKnownTags::DateTimeString, QString::fromLatin1(text));
}

QCborMap rowSet(QCborArray types, QCborArray rows, int columns = -1) {
    QCborArray names;
    for (qsizetype i = 0; i < (columns < 0 ? types.size() : columns); ++i)
        names.append(QStringLiteral("C%1").arg(i));
    QCborMap map;
    map.insert(QStringLiteral("columns"), names);
    map.insert(QStringLiteral("types"), types);
    map.insert(QStringLiteral("rows"), rows);
    return map;
}

QByteArray frame(const QCborValue& rows) {
    QCborMap body;
    body.insert(QStringLiteral("rows"), rows);
    body.insert(QStringLiteral("table"), QStringLiteral("Stud_DYInfo"));
    body.insert(QStringLiteral("key"), QCborArray{QStringLiteral("DY_ID")});
    return encodeFrame({QStringLiteral("rows"), 7, body});
}

struct Read {
    bool ok = false;
    RowSet rows;
    QCborMap rest;
};

Read throughTree(const QByteArray& bytes) {
    FrameDecoder decoder;
    decoder.feed(bytes);
    Message m;
    Read r;
    if (!decoder.next(m)) return r;
    auto rows = decodeRowSet(m.body.value(QStringLiteral("rows")));
    if (!rows) return r;
    r.ok = true;
    r.rows = *rows;
    m.body.remove(QStringLiteral("rows"));
    r.rest = m.body;
    return r;
}

Read streamed(const QByteArray& bytes) {
    FrameDecoder decoder;
    decoder.feed(bytes);
    Message m;
    std::optional<RowSet> rows;
    Read r;
    if (!decoder.next(m, rows) || !rows) return r;
    r.ok = true;
    r.rows = *rows;
    r.rest = m.body;
    return r;
}

} // namespace

class TestWireRows : public QObject {
    Q_OBJECT
private slots:
    void sameAsTheTree_data() {
        QTest::addColumn<QCborValue>("rows");
        QTest::addColumn<bool>("accepted");
        const int null = int(Value::Type::Null), b = int(Value::Type::Bool), i = int(Value::Type::Int),
                  d = int(Value::Type::Double), t = int(Value::Type::Text), dec = int(Value::Type::Decimal),
                  dt = int(Value::Type::DateTime);
        RowSet all;
        all.columns = {
            {QStringLiteral("B"), Value::Type::Bool},    {QStringLiteral("I"), Value::Type::Int},
            {QStringLiteral("D"), Value::Type::Double},  {QStringLiteral("T"), Value::Type::Text},
            {QStringLiteral("N"), Value::Type::Decimal}, {QStringLiteral("W"), Value::Type::DateTime},
            {QStringLiteral("U"), Value::Type::Null}};
        const QDateTime when(QDate(2008, 5, 15), QTime(13, 4, 5, 67), Qt::UTC);
        all.rows = {
            {Value::fromBool(true), Value::fromInt(std::numeric_limits<qint64>::min()),
             Value::fromDouble(NAN), Value::fromText(QStringLiteral("张三")),
             *Value::fromDecimal(u"9999999999999999999"), Value::fromDateTime(when), Value::fromInt(3)},
            {Value::fromBool(false), Value::fromInt(std::numeric_limits<qint64>::max()),
             Value::fromDouble(-0.0), Value::fromText(QString()), *Value::fromDecimal(u"-12.50"),
             Value::fromDateTime(QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC)),
             Value::fromText(QStringLiteral("x"))},
            {Value(), Value(), Value(), Value(), Value(), Value(), Value()},
        };
        QTest::newRow("every type") << encodeRowSet(all) << true;
        QTest::newRow("no rows") << QCborValue(rowSet({t}, {})) << true;
        QTest::newRow("date without milliseconds")
            << QCborValue(rowSet({dt}, {QCborArray{dateText("2008-05-15T10:00:00Z")}})) << true;
        QTest::newRow("date with a zero offset")
            << QCborValue(rowSet({dt}, {QCborArray{dateText("2008-05-15T10:00:00.000+00:00")}})) << true;
        QTest::newRow("date with another offset")
            << QCborValue(rowSet({dt}, {QCborArray{dateText("2008-05-15T10:00:00.000+01:00")}})) << false;
        QTest::newRow("impossible date in the writer's layout")
            << QCborValue(rowSet({dt}, {QCborArray{dateText("2008-02-30T10:00:00.000Z")}})) << false;
        QTest::newRow("integer beyond int64 in an untyped column")
            << QCborValue(rowSet({null}, {QCborArray{QCborValue(1e19)}})) << true;
        QTest::newRow("text in an integer column")
            << QCborValue(rowSet({i}, {QCborArray{QStringLiteral("1")}})) << false;
        QTest::newRow("integer in a double column") << QCborValue(rowSet({d}, {QCborArray{1}})) << false;
        QTest::newRow("short row") << QCborValue(rowSet({t, t}, {QCborArray{QStringLiteral("a")}})) << false;
        QTest::newRow("unknown type code") << QCborValue(rowSet({99}, {})) << false;
        QTest::newRow("names and types differ") << QCborValue(rowSet({t}, {}, 2)) << false;
        QTest::newRow("a row that is no array") << QCborValue(rowSet({b}, {QCborValue(true)})) << false;
        QTest::newRow("undefined value") << QCborValue(rowSet({b}, {QCborArray{QCborValue()}})) << false;
        QTest::newRow("decimal beyond 19 digits")
            << QCborValue(rowSet(
                   {dec}, {QCborArray{QCborValue(QCborKnownTags::Decimal,
                                                 QCborArray{0, QCborValue(QCborKnownTags::PositiveBignum,
                                                                          QByteArray(9, '\x01'))})}}))
            << false;
        QTest::newRow("not a map") << QCborValue(QCborArray{1, 2}) << false;
        QCborMap missing;
        missing.insert(QStringLiteral("columns"), QCborArray{});
        QTest::newRow("types and rows missing") << QCborValue(missing) << false;
    }
    void sameAsTheTree() {
        QFETCH(QCborValue, rows);
        QFETCH(bool, accepted);
        const QByteArray bytes = frame(rows);
        const Read tree = throughTree(bytes);
        const Read stream = streamed(bytes);
        QCOMPARE(tree.ok, accepted);
        QCOMPARE(stream.ok, accepted);
        if (!accepted) return;
        QCOMPARE(stream.rows, tree.rows);
        QCOMPARE(stream.rest, tree.rest);
    }

    // Frames that the tree refuses are refused by the streaming reader too,
    // and a frame without rows passes with its body intact.
    void frames() {
        QCborMap body;
        body.insert(QStringLiteral("failed"), 0);
        const QByteArray plain = encodeFrame({QStringLiteral("applied"), 3, body});
        FrameDecoder decoder;
        decoder.feed(plain + plain.left(9));
        Message m;
        std::optional<RowSet> rows;
        QVERIFY(decoder.next(m, rows));
        QCOMPARE(m.kind, QStringLiteral("applied"));
        QCOMPARE(m.requestId, 3);
        QCOMPARE(m.body, body);
        QVERIFY(!rows);
        QVERIFY(!decoder.next(m, rows)); // the rest is not in yet
        QVERIFY(!decoder.hasError());

        const QByteArray truncated =
            frame(QCborValue(rowSet({int(Value::Type::Text)}, {QCborArray{QStringLiteral("a")}})));
        QByteArray broken = truncated;
        broken[broken.size() - 3] = char(0xff); // inside the last value
        FrameDecoder bad;
        bad.feed(broken);
        QVERIFY(!bad.next(m, rows));
        QVERIFY(bad.hasError());
        FrameDecoder badTree;
        badTree.feed(broken);
        QVERIFY(!badTree.next(m) || !decodeRowSet(m.body.value(QStringLiteral("rows"))));

        // A row that claims two thousand million values and breaks off after
        // three: refused, without reading on.
        const QByteArray payload = QByteArray::fromHex(
            "a3646b696e6464726f77736269640164626f6479a164726f7773a367636f6c756d6e7381614165747970657381"
            "0264726f7773819a7fffffff010203ff");
        QByteArray lying(4, '\0');
        qToBigEndian<quint32>(quint32(payload.size()), lying.data());
        FrameDecoder endless;
        endless.feed(lying + payload);
        QVERIFY(!endless.next(m, rows));
        QVERIFY(endless.hasError());
    }
};

QTEST_GUILESS_MAIN(TestWireRows)
#include "tst_wirerows.moc"
