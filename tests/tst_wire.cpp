// Values and frames on the wire: every value comes back with its type, a stream
// may be cut anywhere, and a malformed frame fails the decoder without a message.
#include "common/value.h"
#include "common/wire.h"

#include <QCborArray>
#include <QRandomGenerator>
#include <QtEndian>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace corvexa;
using wire::Message;

Q_DECLARE_METATYPE(corvexa::wire::Message)
Q_DECLARE_METATYPE(corvexa::wire::RowSet)

namespace corvexa {
// Lets QCOMPARE print values.
char* toString(const Value& value) {
    return qstrdup(value.debugText().toUtf8().constData());
}
} // namespace corvexa

namespace {

Value dec(const char* text) {
    std::optional<Value> v = Value::fromDecimal(QString::fromLatin1(text));
    Q_ASSERT(v);
    return *v;
}

QDateTime utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::UTC);
}

Value at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return Value::fromDateTime(utc(y, mo, d, h, mi, s, ms));
}

QByteArray header(quint32 length) {
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(length, bytes.data());
    return bytes;
}

QByteArray framed(const QByteArray& payload) {
    return header(quint32(payload.size())) + payload;
}

QByteArray framed(const QCborValue& payload) {
    return framed(payload.toCbor());
}

QCborMap envelope(const QCborValue& kind, const QCborValue& id) {
    QCborMap map;
    map.insert(QStringLiteral("kind"), kind);
    map.insert(QStringLiteral("id"), id);
    return map;
}

// Brace lists of one QCborArray would copy it instead of nesting it.
QCborArray arr(std::initializer_list<QCborValue> items) {
    QCborArray a;
    for (const QCborValue& v : items)
        a.append(v);
    return a;
}

QList<Message> drain(wire::FrameDecoder& decoder) {
    QList<Message> out;
    Message m;
    while (decoder.next(m))
        out.append(m);
    return out;
}

QList<Message> sampleMessages() {
    wire::RowSet rows;
    rows.columns = {{QStringLiteral("DY_ID"), Value::Type::Text},
                    {QStringLiteral("SN"), Value::Type::Decimal}};
    rows.rows = {{Value::fromText(QStringLiteral("X05-000001")), dec("9999999999999999999")},
                 {Value::fromText(QStringLiteral("张三")), Value()}};
    Message login{QStringLiteral("login"), 1, {}};
    login.body.insert(QStringLiteral("user"), wire::encodeValue(Value::fromText(QStringLiteral("第一支部"))));
    login.body.insert(QStringLiteral("when"), wire::encodeValue(at(1899, 12, 30, 23, 59, 59, 999)));
    Message result{QStringLiteral("rows"), 2, {}};
    result.body.insert(QStringLiteral("rows"), wire::encodeRowSet(rows));
    Message bye{QStringLiteral("bye"), 0, {}};
    return {login, result, bye};
}

QByteArray streamOf(const QList<Message>& messages) {
    QByteArray bytes;
    for (const Message& m : messages)
        bytes += wire::encodeFrame(m);
    return bytes;
}

} // namespace

class TestWire : public QObject {
    Q_OBJECT
private slots:
    void valueRoundTrip_data() {
        QTest::addColumn<Value>("value");
        constexpr qint64 kMin = std::numeric_limits<qint64>::min();
        constexpr qint64 kMax = std::numeric_limits<qint64>::max();
        QTest::newRow("null") << Value();
        QTest::newRow("false") << Value::fromBool(false);
        QTest::newRow("true") << Value::fromBool(true);
        QTest::newRow("int zero") << Value::fromInt(0);
        QTest::newRow("int -1") << Value::fromInt(-1);
        QTest::newRow("int max") << Value::fromInt(kMax);
        QTest::newRow("int min") << Value::fromInt(kMin);
        QTest::newRow("int beyond double") << Value::fromInt((qint64(1) << 53) + 1);
        QTest::newRow("double 0.1") << Value::fromDouble(0.1);
        QTest::newRow("double whole") << Value::fromDouble(3.0);
        QTest::newRow("double -0") << Value::fromDouble(-0.0);
        QTest::newRow("double nan") << Value::fromDouble(std::numeric_limits<double>::quiet_NaN());
        QTest::newRow("double inf") << Value::fromDouble(std::numeric_limits<double>::infinity());
        QTest::newRow("double -inf") << Value::fromDouble(-std::numeric_limits<double>::infinity());
        QTest::newRow("double denormal") << Value::fromDouble(std::numeric_limits<double>::denorm_min());
        QTest::newRow("double max") << Value::fromDouble(std::numeric_limits<double>::max());
        QTest::newRow("text empty") << Value::fromText(QString());
        QTest::newRow("text chinese") << Value::fromText(QStringLiteral("中共党员：张三（第一支部）"));
        QTest::newRow("text nul and emoji")
            << Value::fromText(QStringLiteral("a") + QChar(0) + QString::fromUcs4(U"\U0001F600") + u'b');
        QTest::newRow("decimal zero") << dec("0");
        QTest::newRow("decimal scale kept") << dec("12.50");
        QTest::newRow("decimal negative") << dec("-12.50");
        QTest::newRow("decimal int64 max") << dec("9223372036854775807");
        QTest::newRow("decimal past int64") << dec("9223372036854775808");
        QTest::newRow("decimal int64 min") << dec("-9223372036854775808");
        QTest::newRow("decimal past int64 min") << dec("-9223372036854775809");
        QTest::newRow("decimal 19 nines") << dec("9999999999999999999");
        QTest::newRow("decimal -19 nines") << dec("-9999999999999999999");
        QTest::newRow("decimal smallest") << dec("0.0000000000000000001");
        QTest::newRow("decimal all fraction") << dec("-0.1234567890123456789");
        QTest::newRow("decimal zero with scale") << dec("0.00");
        QTest::newRow("date with ms") << at(2008, 5, 15, 12, 34, 56, 789);
        QTest::newRow("date day-number epoch") << at(1899, 12, 30);
        QTest::newRow("date before 1900 with ms") << at(1753, 1, 1, 0, 0, 0, 1);
        QTest::newRow("date first") << at(1, 1, 1);
        QTest::newRow("date last") << at(9999, 12, 31, 23, 59, 59, 999);
        QTest::newRow("date leap day") << at(2000, 2, 29, 12);
    }
    // Through real frame bytes, so Qt's own tag handling on reading is part of the trip.
    void valueRoundTrip() {
        QFETCH(Value, value);
        Message sent{QStringLiteral("value"), 7, {}};
        sent.body.insert(QStringLiteral("v"), wire::encodeValue(value));
        wire::FrameDecoder decoder;
        decoder.feed(wire::encodeFrame(sent));
        Message got;
        QVERIFY2(decoder.next(got), qPrintable(decoder.errorText()));
        std::optional<Value> back = wire::decodeValue(got.body.value(QStringLiteral("v")));
        QVERIFY(back);
        QCOMPARE(*back, value);
    }

    // The bytes other programs read: pinned so a change of encoding is deliberate.
    void valueBytes_data() {
        QTest::addColumn<Value>("value");
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("null") << Value() << QByteArray("f6");
        QTest::newRow("int") << Value::fromInt(1) << QByteArray("01");
        QTest::newRow("double stays 64-bit") << Value::fromDouble(1.0) << QByteArray("fb3ff0000000000000");
        QTest::newRow("text") << Value::fromText(QStringLiteral("党")) << QByteArray("63e5859a");
        QTest::newRow("decimal") << dec("-12.50") << QByteArray("c482213904e1");
        QTest::newRow("decimal bignum")
            << dec("9999999999999999999") << QByteArray("c48200c2488ac7230489e7ffff");
        QTest::newRow("decimal negative bignum")
            << dec("-9999999999999999999") << QByteArray("c48200c3488ac7230489e7fffe");
        QTest::newRow("date") << at(2008, 5, 15, 12, 34, 56, 789)
                              << QByteArray("c07818323030382d30352d31355431323a33343a35362e3738395a");
    }
    void valueBytes() {
        QFETCH(Value, value);
        QFETCH(QByteArray, hex);
        QCOMPARE(wire::encodeValue(value).toCbor().toHex(), hex);
    }

    // Encodings another peer may send: the accepted ones and what they mean.
    void decodeForeign_data() {
        QTest::addColumn<QByteArray>("hex");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<Value>("expected");
        const Value none;
        QTest::newRow("half float") << QByteArray("f93e00") << true << Value::fromDouble(1.5);
        QTest::newRow("single float") << QByteArray("fa3fc00000") << true << Value::fromDouble(1.5);
        QTest::newRow("chunked text ended")
            << QByteArray("7f61616162ff") << true << Value::fromText(QStringLiteral("ab"));
        QTest::newRow("epoch seconds") << QByteArray("c100") << true << at(1970, 1, 1);
        QTest::newRow("epoch with ms")
            << QByteArray("c1fb3ff8000000000000") << true << at(1970, 1, 1, 0, 0, 1, 500);
        QTest::newRow("date without ms")
            << QByteArray("c074323030382d30352d31355431323a30303a30305a") << true << at(2008, 5, 15, 12);
        QTest::newRow("date zero offset")
            << QByteArray("c07819323030382d30352d31355430303a30303a30302b30303a3030") << true
            << at(2008, 5, 15);
        QTest::newRow("padded bignum") << QByteArray("c48200c2420005") << true << dec("5");
        QTest::newRow("negative bignum zero") << QByteArray("c48221c34100") << true << dec("-0.01");
        QTest::newRow("zero mantissa") << QByteArray("c4822100") << true << dec("0.00");

        QTest::newRow("undefined") << QByteArray("f7") << false << none;
        QTest::newRow("array") << QByteArray("80") << false << none;
        QTest::newRow("map") << QByteArray("a0") << false << none;
        QTest::newRow("bytes") << QByteArray("4100") << false << none;
        QTest::newRow("simple value") << QByteArray("f863") << false << none;
        QTest::newRow("unknown tag") << QByteArray("d86301") << false << none;
        QTest::newRow("decimal as text") << QByteArray("c463312e35") << false << none;
        QTest::newRow("decimal three parts") << QByteArray("c483210101") << false << none;
        QTest::newRow("decimal positive exponent") << QByteArray("c4820105") << false << none;
        QTest::newRow("decimal scale 20") << QByteArray("c4823301") << false << none;
        QTest::newRow("decimal float mantissa") << QByteArray("c48220f93e00") << false << none;
        QTest::newRow("decimal 20 digits") << QByteArray("c48200c2488ac7230489e80000") << false << none;
        QTest::newRow("decimal 9-byte bignum") << QByteArray("c48200c249010000000000000000") << false << none;
        QTest::newRow("decimal bignum of int") << QByteArray("c48200c201") << false << none;
        QTest::newRow("decimal bignum overflow") << QByteArray("c48200c348ffffffffffffffff") << false << none;
        QTest::newRow("date not a date") << QByteArray("c063616263") << false << none;
        QTest::newRow("date local time")
            << QByteArray("c073323030382d30352d31355430303a30303a3030") << false << none;
        QTest::newRow("date with offset")
            << QByteArray("c07819323030382d30352d31355430303a30303a30302b30383a3030") << false << none;
        QTest::newRow("date past 9999") << QByteArray("c11b000000e8d4a51000") << false << none;
    }
    void decodeForeign() {
        QFETCH(QByteArray, hex);
        QFETCH(bool, accepted);
        QFETCH(Value, expected);
        QCborParserError error;
        const QCborValue cbor = QCborValue::fromCbor(QByteArray::fromHex(hex), &error);
        QCOMPARE(error.error, QCborError::NoError);
        std::optional<Value> value = wire::decodeValue(cbor);
        QCOMPARE(value.has_value(), accepted);
        if (accepted) QCOMPARE(*value, expected);
    }

    void decimalText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("canonical"); // null: refused
        const QString refused;
        QTest::newRow("plain") << QStringLiteral("12.50") << QStringLiteral("12.50");
        QTest::newRow("plus dropped") << QStringLiteral("+5") << QStringLiteral("5");
        QTest::newRow("leading zeros dropped") << QStringLiteral("-007.10") << QStringLiteral("-7.10");
        QTest::newRow("zero loses sign") << QStringLiteral("-0.00") << QStringLiteral("0.00");
        QTest::newRow("leading zeros not counted")
            << QStringLiteral("0000000000000000000000001") << QStringLiteral("1");
        QTest::newRow("19 digits") << QStringLiteral("123456789.0123456789")
                                   << QStringLiteral("123456789.0123456789");
        QTest::newRow("19 fraction digits")
            << QStringLiteral("0.1234567890123456789") << QStringLiteral("0.1234567890123456789");
        QTest::newRow("20 digits") << QStringLiteral("12345678901234567890") << refused;
        QTest::newRow("20 with fraction zeros") << QStringLiteral("10.000000000000000000") << refused;
        QTest::newRow("20 fraction digits") << QStringLiteral("0.00000000000000000001") << refused;
        QTest::newRow("empty") << QString() << refused;
        QTest::newRow("sign only") << QStringLiteral("-") << refused;
        QTest::newRow("point only") << QStringLiteral(".") << refused;
        QTest::newRow("no fraction digits") << QStringLiteral("1.") << refused;
        QTest::newRow("no whole digits") << QStringLiteral(".5") << refused;
        QTest::newRow("two points") << QStringLiteral("1.2.3") << refused;
        QTest::newRow("two signs") << QStringLiteral("+-1") << refused;
        QTest::newRow("leading blank") << QStringLiteral(" 1") << refused;
        QTest::newRow("trailing blank") << QStringLiteral("1 ") << refused;
        QTest::newRow("exponent") << QStringLiteral("1e5") << refused;
        QTest::newRow("hex") << QStringLiteral("0x10") << refused;
        QTest::newRow("fullwidth digits") << QStringLiteral("１２") << refused;
        QTest::newRow("arabic-indic digit") << QStringLiteral("\u0663") << refused;
        QTest::newRow("comma") << QStringLiteral("1,5") << refused;
    }
    void decimalText() {
        QFETCH(QString, text);
        QFETCH(QString, canonical);
        std::optional<Value> v = Value::fromDecimal(text);
        QCOMPARE(v.has_value(), !canonical.isNull());
        if (v) {
            QCOMPARE(v->type(), Value::Type::Decimal);
            QCOMPARE(v->text(), canonical);
        }
    }

    void equality_data() {
        QTest::addColumn<Value>("a");
        QTest::addColumn<Value>("b");
        QTest::addColumn<bool>("equal");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("int vs double") << Value::fromInt(1) << Value::fromDouble(1.0) << false;
        QTest::newRow("bool vs int") << Value::fromBool(false) << Value::fromInt(0) << false;
        QTest::newRow("text vs decimal") << Value::fromText(QStringLiteral("1")) << dec("1") << false;
        QTest::newRow("null vs empty text") << Value() << Value::fromText(QString()) << false;
        QTest::newRow("decimal scale") << dec("1.5") << dec("1.50") << false;
        QTest::newRow("decimal spelling") << dec("+01.50") << dec("1.50") << true;
        QTest::newRow("zero sign") << Value::fromDouble(0.0) << Value::fromDouble(-0.0) << false;
        QTest::newRow("nan") << Value::fromDouble(nan) << Value::fromDouble(-nan) << true;
        QTest::newRow("nan vs number") << Value::fromDouble(nan) << Value::fromDouble(0.0) << false;
        QTest::newRow("date ms") << at(2008, 5, 15, 0, 0, 0, 1) << at(2008, 5, 15) << false;
    }
    void equality() {
        QFETCH(Value, a);
        QFETCH(Value, b);
        QFETCH(bool, equal);
        QCOMPARE(a == b, equal);
        QCOMPARE(b == a, equal);
    }

    // Date-times are wall-clock readings: a zone is dropped, never converted.
    void dateTimeRange_data() {
        QTest::addColumn<QDateTime>("input");
        QTest::addColumn<QDateTime>("held"); // invalid: null
        QTest::newRow("offset kept as read")
            << QDateTime(QDate(2008, 5, 15), QTime(8, 30), Qt::OffsetFromUTC, 8 * 3600)
            << utc(2008, 5, 15, 8, 30);
        QTest::newRow("local kept as read")
            << QDateTime(QDate(2008, 5, 15), QTime(8, 30), Qt::LocalTime) << utc(2008, 5, 15, 8, 30);
        QTest::newRow("invalid") << QDateTime() << QDateTime();
        QTest::newRow("year 10000") << utc(10000, 1, 1) << QDateTime();
        QTest::newRow("year before 1") << utc(-1, 12, 31) << QDateTime();
    }
    void dateTimeRange() {
        QFETCH(QDateTime, input);
        QFETCH(QDateTime, held);
        const Value v = Value::fromDateTime(input);
        QCOMPARE(v.isNull(), !held.isValid());
        if (held.isValid()) {
            QCOMPARE(v.dateTime(), held);
            QCOMPARE(v.dateTime().timeSpec(), Qt::UTC);
        }
    }

    void variantBridge_data() {
        QTest::addColumn<QVariant>("variant");
        QTest::addColumn<Value>("value");
        QTest::newRow("invalid") << QVariant() << Value();
        QTest::newRow("typed null") << QVariant(QMetaType::fromType<QString>()) << Value();
        QTest::newRow("bool not int") << QVariant(true) << Value::fromBool(true);
        QTest::newRow("int") << QVariant(-5) << Value::fromInt(-5);
        QTest::newRow("int64 max") << QVariant(std::numeric_limits<qint64>::max())
                                   << Value::fromInt(std::numeric_limits<qint64>::max());
        QTest::newRow("uint max") << QVariant(std::numeric_limits<uint>::max())
                                  << Value::fromInt(4294967295LL);
        QTest::newRow("uint64 past int64")
            << QVariant(std::numeric_limits<quint64>::max()) << Value::fromDouble(18446744073709551615.0);
        QTest::newRow("float") << QVariant(1.5f) << Value::fromDouble(1.5);
        QTest::newRow("empty text") << QVariant(QString()) << Value::fromText(QString());
        QTest::newRow("text") << QVariant(QStringLiteral("党支部"))
                              << Value::fromText(QStringLiteral("党支部"));
        QTest::newRow("date-time") << QVariant(utc(1890, 3, 4, 5, 6, 7, 8)) << at(1890, 3, 4, 5, 6, 7, 8);
        QTest::newRow("date is midnight") << QVariant(QDate(2008, 5, 15)) << at(2008, 5, 15);
        QTest::newRow("held value") << QVariant::fromValue(dec("1.50")) << dec("1.50");
    }
    void variantBridge() {
        QFETCH(QVariant, variant);
        QFETCH(Value, value);
        QCOMPARE(Value::fromVariant(variant), value);
        if (value.type() != Value::Type::Decimal) QCOMPARE(Value::fromVariant(value.toVariant()), value);
    }
    void decimalLeavesAsText() {
        const QVariant v = dec("-12.50").toVariant();
        QCOMPARE(v.typeId(), int(QMetaType::QString));
        QCOMPARE(v.toString(), QStringLiteral("-12.50"));
        QVERIFY(!Value().toVariant().isValid());
    }

    void rowSetRoundTrip_data() {
        QTest::addColumn<wire::RowSet>("rowSet");
        using T = Value::Type;
        wire::RowSet all;
        all.columns = {{QStringLiteral("SN"), T::Decimal},
                       {QStringLiteral("姓名"), T::Text},
                       {QStringLiteral("HuiZhi"), T::Bool},
                       {QStringLiteral("人数"), T::Int},
                       {QStringLiteral("XSPer"), T::Double},
                       {QStringLiteral("ChuShengRQ"), T::DateTime},
                       {QString(), T::Null},
                       {QStringLiteral("姓名"), T::Text}};
        all.rows = {{dec("1"), Value::fromText(QStringLiteral("张三")), Value::fromBool(true),
                     Value::fromInt(3), Value::fromDouble(0.25), at(1985, 7, 1), Value::fromInt(1),
                     Value::fromText(QString())},
                    {Value(), Value(), Value(), Value(), Value(), Value(),
                     Value::fromText(QStringLiteral("x")), Value()},
                    {dec("-0.5"), Value::fromText(QStringLiteral("'; --")), Value::fromBool(false),
                     Value::fromInt(std::numeric_limits<qint64>::min()), Value::fromDouble(-0.0),
                     at(1899, 12, 30, 0, 0, 0, 1), at(2000, 1, 1), Value::fromText(QStringLiteral("李四"))}};
        wire::RowSet noRows;
        noRows.columns = {{QStringLiteral("DY_ID"), T::Text}, {QStringLiteral("YuSenRQ"), T::DateTime}};
        QTest::newRow("every type with nulls") << all;
        QTest::newRow("no rows keeps the types") << noRows;
        QTest::newRow("nothing") << wire::RowSet();
    }
    void rowSetRoundTrip() {
        QFETCH(wire::RowSet, rowSet);
        const QByteArray bytes = wire::encodeRowSet(rowSet).toCbor();
        QString error;
        std::optional<wire::RowSet> back = wire::decodeRowSet(QCborValue::fromCbor(bytes), &error);
        QVERIFY2(back, qPrintable(error));
        QCOMPARE(back->columns, rowSet.columns);
        QCOMPARE(back->rows.size(), rowSet.rows.size());
        for (qsizetype r = 0; r < rowSet.rows.size(); ++r)
            for (qsizetype c = 0; c < rowSet.columns.size(); ++c)
                QCOMPARE(back->rows[r][c], rowSet.rows[r][c]);
    }

    void rowSetRefused_data() {
        QTest::addColumn<QCborValue>("cbor");
        auto rowSet = [](const QCborArray& names, const QCborArray& types, const QCborArray& rows) {
            QCborMap m;
            m.insert(QStringLiteral("columns"), names);
            m.insert(QStringLiteral("types"), types);
            m.insert(QStringLiteral("rows"), rows);
            return QCborValue(m);
        };
        const int text = int(Value::Type::Text), dbl = int(Value::Type::Double),
                  decimal = int(Value::Type::Decimal);
        const QCborArray one = arr({QStringLiteral("A")});
        QTest::newRow("not a map") << QCborValue(arr({}));
        QTest::newRow("rows missing")
            << QCborValue(QCborMap{{QStringLiteral("columns"), arr({})}, {QStringLiteral("types"), arr({})}});
        QTest::newRow("fewer types than names") << rowSet(one, arr({}), arr({}));
        QTest::newRow("unknown type") << rowSet(one, arr({Value::kTypeCount}), arr({}));
        QTest::newRow("negative type") << rowSet(one, arr({-1}), arr({}));
        QTest::newRow("name not text") << rowSet(arr({1}), arr({text}), arr({}));
        QTest::newRow("row short") << rowSet(one, arr({text}), arr({arr({})}));
        QTest::newRow("row long") << rowSet(one, arr({text}),
                                            arr({arr({QStringLiteral("a"), QStringLiteral("b")})}));
        QTest::newRow("row not array") << rowSet(one, arr({text}), arr({QStringLiteral("a")}));
        QTest::newRow("cell not a value") << rowSet(one, arr({text}), arr({arr({arr({})})}));
        QTest::newRow("int in double column") << rowSet(one, arr({dbl}), arr({arr({1})}));
        QTest::newRow("text in decimal column")
            << rowSet(one, arr({decimal}), arr({arr({QStringLiteral("1.5")})}));
    }
    void rowSetRefused() {
        QFETCH(QCborValue, cbor);
        QString error;
        QVERIFY(!wire::decodeRowSet(QCborValue::fromCbor(cbor.toCbor()), &error));
        QVERIFY(!error.isEmpty());
    }

    // Cut the stream in two at every byte, and also feed it byte by byte.
    void splitAnywhere() {
        const QList<Message> sent = sampleMessages();
        const QByteArray stream = streamOf(sent);
        for (qsizetype cut = 0; cut <= stream.size(); ++cut) {
            wire::FrameDecoder decoder;
            decoder.feed(stream.left(cut));
            QList<Message> got = drain(decoder);
            decoder.feed(stream.mid(cut));
            got += drain(decoder);
            QVERIFY2(got == sent,
                     qPrintable(QStringLiteral("cut at %1: %2").arg(cut).arg(decoder.errorText())));
            QCOMPARE(decoder.bufferedBytes(), qsizetype(0));
        }
        wire::FrameDecoder decoder;
        QList<Message> got;
        for (char byte : stream) {
            decoder.feed(QByteArray(1, byte));
            got += drain(decoder);
        }
        QVERIFY(got == sent);
        QVERIFY(!decoder.hasError());
    }

    void envelopeAccepted_data() {
        QTest::addColumn<QCborMap>("payload");
        QTest::addColumn<Message>("expected");
        QCborMap extra = envelope(QStringLiteral("ping"), 3);
        extra.insert(QStringLiteral("v"), 2);
        extra.insert(7, QStringLiteral("kind"));
        QCborMap withBody = envelope(QStringLiteral("open"), 9);
        withBody.insert(QStringLiteral("body"), QCborMap{{QStringLiteral("ADZZ_ID"), QStringLiteral("05")}});
        QTest::newRow("no body") << envelope(QStringLiteral("ping"), 0)
                                 << Message{QStringLiteral("ping"), 0, {}};
        QTest::newRow("unknown keys ignored") << extra << Message{QStringLiteral("ping"), 3, {}};
        QTest::newRow("body") << withBody
                              << Message{QStringLiteral("open"),
                                         9,
                                         {{QStringLiteral("ADZZ_ID"), QStringLiteral("05")}}};
        QTest::newRow("largest id") << envelope(QStringLiteral("x"), std::numeric_limits<qint64>::max())
                                    << Message{QStringLiteral("x"), std::numeric_limits<qint64>::max(), {}};
    }
    void envelopeAccepted() {
        QFETCH(QCborMap, payload);
        QFETCH(Message, expected);
        wire::FrameDecoder decoder;
        decoder.feed(framed(QCborValue(payload)));
        Message got;
        QVERIFY2(decoder.next(got), qPrintable(decoder.errorText()));
        QVERIFY(got == expected);
    }

    void malformed_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fragment"); // part of the error text: the right check fired
        const QByteArray good = QCborValue(envelope(QStringLiteral("k"), 1)).toCbor();
        auto withKind = [](const QCborValue& kind) { return framed(QCborValue(envelope(kind, 1))); };
        auto withId = [](const QCborValue& id) {
            return framed(QCborValue(envelope(QStringLiteral("k"), id)));
        };
        auto withBody = [](const QCborValue& body) {
            QCborMap m = envelope(QStringLiteral("k"), 1);
            m.insert(QStringLiteral("body"), body);
            return framed(QCborValue(m));
        };
        const QString limit = QStringLiteral("limit"), cbor = QStringLiteral("CBOR");
        QTest::newRow("length over the limit") << header(quint32(wire::kMaxFrameBytes) + 1) << limit;
        QTest::newRow("length all ones") << header(0xffffffffu) << limit;
        QTest::newRow("zero length") << header(0) << QStringLiteral("empty");
        QTest::newRow("truncated CBOR") << framed(good.left(good.size() - 2)) << cbor;
        QTest::newRow("reserved byte") << framed(QByteArray("\x1c")) << cbor;
        QTest::newRow("lone break") << framed(QByteArray("\xff")) << cbor;
        QTest::newRow("bad UTF-8") << framed(QByteArray::fromHex("a1646b696e6461ff")) << cbor;
        QTest::newRow("string longer than frame")
            << framed(QByteArray::fromHex("a1646b696e647a7fffffff")) << cbor;
        QTest::newRow("nesting too deep")
            << framed(QByteArray::fromHex("a164626f6479") + QByteArray(100000, '\x81') + QByteArray(1, '\0'))
            << cbor;
        QTest::newRow("trailing byte") << framed(good + QByteArray(1, '\0')) << QStringLiteral("stray");
        QTest::newRow("two maps in one frame") << framed(good + good) << QStringLiteral("stray");
        QTest::newRow("array") << framed(QCborValue(arr({QStringLiteral("k"), 1}))) << QStringLiteral("map");
        QTest::newRow("integer") << framed(QCborValue(5)) << QStringLiteral("map");
        QTest::newRow("kind missing")
            << framed(QCborValue(QCborMap{{QStringLiteral("id"), 1}})) << QStringLiteral("kind");
        QTest::newRow("kind integer") << withKind(5) << QStringLiteral("kind");
        QTest::newRow("kind bytes") << withKind(QByteArray("k")) << QStringLiteral("kind");
        QTest::newRow("kind empty") << withKind(QString()) << QStringLiteral("kind");
        QTest::newRow("id missing") << framed(QCborValue(
                                           QCborMap{{QStringLiteral("kind"), QStringLiteral("k")}}))
                                    << QStringLiteral("id");
        QTest::newRow("id text") << withId(QStringLiteral("1")) << QStringLiteral("id");
        QTest::newRow("id negative") << withId(-1) << QStringLiteral("id");
        QTest::newRow("id double") << withId(1.0) << QStringLiteral("id");
        QTest::newRow("body array") << withBody(arr({})) << QStringLiteral("body");
        QTest::newRow("body null") << withBody(QCborValue(nullptr)) << QStringLiteral("body");
        QTest::newRow("kind twice") << framed(QByteArray::fromHex("a3646b696e6461616269640164") +
                                              QByteArray("kind") + QByteArray::fromHex("6162"))
                                    << QStringLiteral("repeats");
    }
    // A good frame before the bad one still arrives; nothing after it does.
    void malformed() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fragment);
        const Message before{QStringLiteral("before"), 1, {}};
        const QByteArray after = wire::encodeFrame(Message{QStringLiteral("after"), 2, {}});
        wire::FrameDecoder decoder;
        decoder.feed(wire::encodeFrame(before) + bytes + after);
        Message got;
        QVERIFY(decoder.next(got));
        QVERIFY(got == before);
        got = Message();
        QVERIFY(!decoder.next(got));
        QVERIFY(decoder.hasError());
        QVERIFY2(decoder.errorText().contains(fragment), qPrintable(decoder.errorText()));
        QVERIFY(got == Message());
        decoder.feed(after);
        QVERIFY(!decoder.next(got));
        QVERIFY(got == Message());
    }

    // The limit is on the payload: exactly kMaxFrameBytes passes both ways, one more does not.
    void sizeLimit() {
        auto withBytes = [](qsizetype n) {
            return Message{QStringLiteral("big"), 1, {{QStringLiteral("b"), QByteArray(n, 'x')}}};
        };
        const qsizetype overhead =
            wire::encodeFrame(withBytes(1 << 20)).size() - wire::kHeaderBytes - (1 << 20);
        const Message largest = withBytes(wire::kMaxFrameBytes - overhead);
        const QByteArray frame = wire::encodeFrame(largest);
        QCOMPARE(frame.size(), wire::kHeaderBytes + wire::kMaxFrameBytes);
        QVERIFY(wire::encodeFrame(withBytes(wire::kMaxFrameBytes - overhead + 1)).isEmpty());

        wire::FrameDecoder decoder;
        decoder.feed(frame.left(wire::kHeaderBytes));
        Message got;
        QVERIFY(!decoder.next(got));
        QVERIFY(!decoder.hasError()); // waits for the rest
        decoder.feed(frame.mid(wire::kHeaderBytes));
        QVERIFY2(decoder.next(got), qPrintable(decoder.errorText()));
        QVERIFY(got == largest);
    }

    void unsendable_data() {
        QTest::addColumn<Message>("message");
        QTest::newRow("empty kind") << Message{QString(), 1, {}};
        QTest::newRow("negative id") << Message{QStringLiteral("k"), -1, {}};
    }
    void unsendable() {
        QFETCH(Message, message);
        QVERIFY(wire::encodeFrame(message).isEmpty());
    }

    // Mutated streams in random chunks: no crash, and whatever comes out is sound.
    void mutatedStreams() {
        const QByteArray original = streamOf(sampleMessages());
        QRandomGenerator random(20240611);
        for (int round = 0; round < 3000; ++round) {
            QByteArray bytes = original;
            for (int edits = random.bounded(1, 4); edits > 0; --edits) {
                const qsizetype pos = random.bounded(int(bytes.size()));
                switch (random.bounded(4)) {
                case 0:
                    bytes[pos] = char(bytes[pos] ^ (1 << random.bounded(8)));
                    break;
                case 1:
                    bytes[pos] = char(random.bounded(256));
                    break;
                case 2:
                    bytes.truncate(pos);
                    break;
                default:
                    bytes.insert(pos, bytes.mid(random.bounded(int(bytes.size())), random.bounded(1, 9)));
                    break;
                }
                if (bytes.isEmpty()) break;
            }
            wire::FrameDecoder decoder;
            for (qsizetype from = 0; from < bytes.size();) {
                const qsizetype n = random.bounded(1, 40);
                decoder.feed(bytes.mid(from, n));
                from += n;
                for (const Message& m : drain(decoder)) {
                    QVERIFY(!m.kind.isEmpty() && m.requestId >= 0);
                    for (auto it = m.body.constBegin(); it != m.body.constEnd(); ++it) {
                        const QCborValue field = it.value();
                        if (std::optional<Value> v = wire::decodeValue(field))
                            QCOMPARE(wire::decodeValue(QCborValue::fromCbor(wire::encodeValue(*v).toCbor())),
                                     v);
                        if (std::optional<wire::RowSet> rs = wire::decodeRowSet(field))
                            QVERIFY(wire::decodeRowSet(
                                        QCborValue::fromCbor(wire::encodeRowSet(*rs).toCbor())) == rs);
                    }
                }
                if (decoder.hasError()) QVERIFY(drain(decoder).isEmpty());
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestWire)
#include "tst_wire.moc"
