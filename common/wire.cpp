#include "wire.h"

#include <QCborArray>
#include <QCborStreamReader>
#include <QLatin1String>
#include <QtEndian>
#include <limits>

namespace corvexa::wire {
namespace {

const QLatin1String kKindKey("kind");
const QLatin1String kIdKey("id");
const QLatin1String kBodyKey("body");
const QLatin1String kColumnsKey("columns");
const QLatin1String kTypesKey("types");
const QLatin1String kRowsKey("rows");

constexpr quint64 kMaxDecimalMantissa = 9999999999999999999ULL; // 19 nines

QByteArray bigEndianMagnitude(quint64 n) {
    QByteArray bytes;
    for (; n != 0; n >>= 8)
        bytes.prepend(char(n & 0xff));
    return bytes;
}

QCborValue encodeDecimal(const QString& canonical) {
    const bool negative = canonical.startsWith(u'-');
    const qsizetype point = canonical.indexOf(u'.');
    const qsizetype scale = point < 0 ? 0 : canonical.size() - point - 1;
    QString digits = canonical.mid(negative ? 1 : 0);
    digits.remove(u'.');
    const quint64 magnitude = digits.toULongLong(); // at most 19 digits: fits

    QCborValue mantissa;
    if (magnitude <= quint64(std::numeric_limits<qint64>::max()))
        mantissa = negative ? -qint64(magnitude) : qint64(magnitude);
    else if (negative) // a negative bignum holds -1 - n
        mantissa = QCborValue(QCborKnownTags::NegativeBignum, bigEndianMagnitude(magnitude - 1));
    else
        mantissa = QCborValue(QCborKnownTags::PositiveBignum, bigEndianMagnitude(magnitude));
    return QCborValue(QCborKnownTags::Decimal, QCborArray{-qint64(scale), mantissa});
}

// Sign and magnitude of a decimal's mantissa: an integer or a bignum of at most 8 bytes.
bool decodeMantissa(const QCborValue& cbor, bool& negative, quint64& magnitude) {
    if (cbor.isInteger()) {
        const qint64 v = cbor.toInteger();
        negative = v < 0;
        magnitude = negative ? quint64(-(v + 1)) + 1 : quint64(v);
        return true;
    }
    const bool positiveBignum = cbor.isTag() && cbor.tag() == QCborKnownTags::PositiveBignum;
    const bool negativeBignum = cbor.isTag() && cbor.tag() == QCborKnownTags::NegativeBignum;
    if (!(positiveBignum || negativeBignum) || !cbor.taggedValue().isByteArray()) return false;
    QByteArray bytes = cbor.taggedValue().toByteArray();
    while (!bytes.isEmpty() && bytes.front() == '\0')
        bytes.remove(0, 1);
    if (bytes.size() > 8) return false;
    quint64 n = 0;
    for (char c : bytes)
        n = (n << 8) | quint8(c);
    negative = negativeBignum;
    if (negativeBignum) {
        if (n == std::numeric_limits<quint64>::max()) return false;
        ++n;
    }
    magnitude = n;
    return true;
}

std::optional<Value> decodeDecimal(const QCborValue& content) {
    if (!content.isArray()) return std::nullopt;
    const QCborArray parts = content.toArray();
    if (parts.size() != 2 || !parts.at(0).isInteger()) return std::nullopt;
    const qint64 exponent = parts.at(0).toInteger();
    if (exponent > 0 || exponent < -Value::kDecimalDigits) return std::nullopt;
    bool negative = false;
    quint64 magnitude = 0;
    if (!decodeMantissa(parts.at(1), negative, magnitude) || magnitude > kMaxDecimalMantissa)
        return std::nullopt;

    const qsizetype scale = -exponent;
    QString text = QString::number(magnitude);
    if (text.size() <= scale) text.prepend(QString(scale + 1 - text.size(), u'0'));
    if (scale > 0) text.insert(text.size() - scale, u'.');
    if (negative) text.prepend(u'-');
    return Value::fromDecimal(text);
}

std::optional<Value> decodeDateTime(const QCborValue& cbor) {
    const QDateTime dt = cbor.toDateTime();
    // A local time would read differently on every machine; only a zero offset is a wall clock.
    const bool zoneless =
        dt.timeSpec() == Qt::UTC || (dt.timeSpec() == Qt::OffsetFromUTC && dt.offsetFromUtc() == 0);
    if (!dt.isValid() || !zoneless) return std::nullopt;
    Value value = Value::fromDateTime(QDateTime(dt.date(), dt.time(), Qt::UTC));
    if (value.isNull()) return std::nullopt;
    return value;
}

} // namespace

QCborValue encodeValue(const Value& value) {
    switch (value.type()) {
    case Value::Type::Null:
        return QCborValue(nullptr);
    case Value::Type::Bool:
        return QCborValue(value.toBool());
    case Value::Type::Int:
        return QCborValue(value.toInt());
    case Value::Type::Double:
        return QCborValue(value.toDouble());
    case Value::Type::Text:
        return QCborValue(value.text());
    case Value::Type::Decimal:
        return encodeDecimal(value.text());
    case Value::Type::DateTime:
        return QCborValue(value.dateTime());
    }
    return QCborValue(nullptr);
}

std::optional<Value> decodeValue(const QCborValue& cbor) {
    switch (cbor.type()) {
    case QCborValue::Null:
        return Value();
    case QCborValue::False:
    case QCborValue::True:
        return Value::fromBool(cbor.isTrue());
    case QCborValue::Integer:
        return Value::fromInt(cbor.toInteger());
    case QCborValue::Double:
        return Value::fromDouble(cbor.toDouble());
    case QCborValue::String:
        return Value::fromText(cbor.toString());
    case QCborValue::DateTime:
        return decodeDateTime(cbor);
    case QCborValue::Tag:
        if (cbor.tag() == QCborKnownTags::Decimal) return decodeDecimal(cbor.taggedValue());
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

QCborValue encodeRowSet(const RowSet& rowSet) {
    QCborArray names;
    QCborArray types;
    for (const Column& column : rowSet.columns) {
        names.append(column.name);
        types.append(int(column.type));
    }
    QCborArray rows;
    for (const QList<Value>& row : rowSet.rows) {
        QCborArray cells;
        for (const Value& value : row)
            cells.append(encodeValue(value));
        rows.append(cells);
    }
    QCborMap map;
    map.insert(kColumnsKey, names);
    map.insert(kTypesKey, types);
    map.insert(kRowsKey, rows);
    return map;
}

std::optional<RowSet> decodeRowSet(const QCborValue& cbor, QString* error) {
    const auto refuse = [error](const QString& text) -> std::optional<RowSet> {
        if (error) *error = text;
        return std::nullopt;
    };
    if (!cbor.isMap()) return refuse(QStringLiteral("row set is not a map"));
    const QCborMap map = cbor.toMap();
    const QCborValue names = map.value(kColumnsKey);
    const QCborValue types = map.value(kTypesKey);
    const QCborValue rows = map.value(kRowsKey);
    if (!names.isArray() || !types.isArray() || !rows.isArray())
        return refuse(QStringLiteral("row set needs the arrays columns, types and rows"));
    if (names.toArray().size() != types.toArray().size())
        return refuse(QStringLiteral("row set has %1 column names but %2 types")
                          .arg(names.toArray().size())
                          .arg(types.toArray().size()));

    RowSet result;
    const QCborArray nameArray = names.toArray();
    const QCborArray typeArray = types.toArray();
    for (qsizetype i = 0; i < nameArray.size(); ++i) {
        const QCborValue name = nameArray.at(i);
        const QCborValue type = typeArray.at(i);
        if (!name.isString()) return refuse(QStringLiteral("column %1 has no text name").arg(i));
        if (!type.isInteger() || type.toInteger() < 0 || type.toInteger() >= Value::kTypeCount)
            return refuse(QStringLiteral("column %1 has an unknown type").arg(i));
        result.columns.append(Column{name.toString(), Value::Type(type.toInteger())});
    }

    const QCborArray rowArray = rows.toArray();
    result.rows.reserve(rowArray.size());
    for (qsizetype r = 0; r < rowArray.size(); ++r) {
        const QCborValue row = rowArray.at(r);
        if (!row.isArray() || row.toArray().size() != result.columns.size())
            return refuse(QStringLiteral("row %1 does not have %2 values").arg(r).arg(result.columns.size()));
        const QCborArray cells = row.toArray();
        QList<Value> values;
        values.reserve(cells.size());
        for (qsizetype c = 0; c < cells.size(); ++c) {
            std::optional<Value> value = decodeValue(cells.at(c));
            if (!value) return refuse(QStringLiteral("row %1 column %2 holds no value").arg(r).arg(c));
            const Value::Type declared = result.columns.at(c).type;
            if (!value->isNull() && declared != Value::Type::Null && value->type() != declared)
                return refuse(QStringLiteral("row %1 column %2 holds %3 in a %4 column")
                                  .arg(r)
                                  .arg(c)
                                  .arg(QLatin1String(Value::typeName(value->type())),
                                       QLatin1String(Value::typeName(declared))));
            values.append(std::move(*value));
        }
        result.rows.append(std::move(values));
    }
    return result;
}

QByteArray encodeFrame(const Message& message) {
    if (message.kind.isEmpty() || message.requestId < 0) return {};
    QCborMap map;
    map.insert(kKindKey, message.kind);
    map.insert(kIdKey, message.requestId);
    map.insert(kBodyKey, message.body);
    const QByteArray payload = QCborValue(map).toCbor();
    if (payload.size() > kMaxFrameBytes) return {};
    QByteArray frame(kHeaderBytes, Qt::Uninitialized);
    qToBigEndian<quint32>(quint32(payload.size()), frame.data());
    frame += payload;
    return frame;
}

void FrameDecoder::feed(const QByteArray& bytes) {
    if (hasError()) return;
    // Drop what was read once it is the larger part, so many small frames stay linear.
    if (m_offset > 0 && m_offset >= m_buffer.size() / 2) {
        m_buffer.remove(0, m_offset);
        m_offset = 0;
    }
    m_buffer.append(bytes);
}

bool FrameDecoder::next(Message& message) {
    QByteArray payload;
    if (!takePayload(payload)) return false;
    const bool ok = parsePayload(payload, message);
    if (ok && m_offset == m_buffer.size()) {
        m_buffer.clear();
        m_offset = 0;
    }
    return ok;
}

bool FrameDecoder::next(Message& message, std::optional<RowSet>& rows) {
    QByteArray payload;
    if (!takePayload(payload)) return false;
    const bool ok = parseStreaming(payload, message, rows);
    if (ok && m_offset == m_buffer.size()) {
        m_buffer.clear();
        m_offset = 0;
    }
    return ok;
}

// The payload of the next complete frame, read in place; false when more
// bytes are needed or the length is refused.
bool FrameDecoder::takePayload(QByteArray& payload) {
    if (hasError()) return false;
    const qsizetype available = m_buffer.size() - m_offset;
    if (available < kHeaderBytes) return false;
    const quint32 length = qFromBigEndian<quint32>(m_buffer.constData() + m_offset);
    if (length > quint32(kMaxFrameBytes))
        return fail(
            QStringLiteral("frame of %1 bytes exceeds the limit of %2").arg(length).arg(kMaxFrameBytes));
    if (length == 0) return fail(QStringLiteral("empty frame"));
    if (available - kHeaderBytes < qsizetype(length)) return false;
    // The payload is parsed before the buffer changes again, so it need not be copied.
    payload = QByteArray::fromRawData(m_buffer.constData() + m_offset + kHeaderBytes, length);
    m_offset += kHeaderBytes + length;
    return true;
}

bool FrameDecoder::fail(const QString& text) {
    m_error = text;
    m_buffer.clear();
    m_offset = 0;
    return false;
}

bool FrameDecoder::parsePayload(const QByteArray& payload, Message& message) {
    QCborStreamReader reader(payload);
    const QCborValue root = QCborValue::fromCbor(reader);
    if (reader.lastError() != QCborError::NoError)
        return fail(QStringLiteral("malformed CBOR at byte %1 of the frame: %2")
                        .arg(reader.currentOffset())
                        .arg(reader.lastError().toString()));
    if (reader.currentOffset() != payload.size())
        return fail(QStringLiteral("%1 stray bytes after the frame's map")
                        .arg(payload.size() - reader.currentOffset()));
    if (!root.isMap()) return fail(QStringLiteral("frame is not a CBOR map"));

    const QCborMap map = root.toMap();
    std::optional<QCborValue> kind, id, body;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        const QCborValue key = it.key();
        if (!key.isString()) continue;
        const QString name = key.toString();
        std::optional<QCborValue>* slot = name == kKindKey   ? &kind
                                          : name == kIdKey   ? &id
                                          : name == kBodyKey ? &body
                                                             : nullptr;
        if (!slot) continue;
        // Two readers could take different copies of a repeated key: refuse the ambiguity.
        if (slot->has_value()) return fail(QStringLiteral("frame repeats the key \"%1\"").arg(name));
        *slot = it.value();
    }
    if (!kind || !kind->isString() || kind->toString().isEmpty())
        return fail(QStringLiteral("frame has no text kind"));
    if (!id || !id->isInteger() || id->toInteger() < 0)
        return fail(QStringLiteral("frame has no id (a non-negative integer)"));
    if (body && !body->isMap()) return fail(QStringLiteral("frame body is not a map"));

    message.kind = kind->toString();
    message.requestId = id->toInteger();
    message.body = body ? body->toMap() : QCborMap();
    return true;
}

namespace {

// Reads the CBOR of a frame item by item. Every read checks the reader's
// state, so a malformed payload ends in an error, never in a wrong value.
class StreamParser {
public:
    explicit StreamParser(const QByteArray& payload) : m_reader(payload) {}

    QString error;
    QCborStreamReader& reader() { return m_reader; }

    bool refuse(const QString& text) {
        if (error.isEmpty()) error = text;
        return false;
    }
    bool readError() {
        return refuse(QStringLiteral("malformed CBOR at byte %1 of the frame: %2")
                          .arg(m_reader.currentOffset())
                          .arg(m_reader.lastError().toString()));
    }

    bool readText(QString& text) {
        if (!m_reader.isString())
            return refuse(QStringLiteral("text expected at byte %1").arg(m_reader.currentOffset()));
        text.clear();
        auto chunk = m_reader.readString();
        while (chunk.status == QCborStreamReader::Ok) {
            if (text.isEmpty())
                text = std::move(chunk.data);
            else
                text += chunk.data;
            chunk = m_reader.readString();
        }
        // A reader in error answers "end of string"; only its error tells.
        return (chunk.status == QCborStreamReader::EndOfString && !failed()) || readError();
    }

    bool failed() { return m_reader.lastError() != QCborError::NoError; }
    // The next item of the current container; false also once the reader failed,
    // so that no loop runs on a broken stream.
    bool more() { return !failed() && m_reader.hasNext(); }

    // Any item as a tree, for the parts that are small.
    bool readTree(QCborValue& value) {
        if (failed()) return readError();
        value = QCborValue::fromCbor(m_reader);
        return !failed() || readError();
    }

    // One value as decodeValue reads it from a tree: the frequent kinds are
    // read directly, the rest (dates, decimals, anything unknown) through a
    // small tree so that both paths agree.
    bool readValue(Value& value) {
        switch (m_reader.type()) {
        case QCborStreamReader::String: {
            QString text;
            if (!readText(text)) return false;
            value = Value::fromText(text);
            return true;
        }
        case QCborStreamReader::UnsignedInteger: {
            const quint64 n = m_reader.toUnsignedInteger();
            // Beyond int64 a CBOR tree holds the number as a double.
            value = n > quint64(std::numeric_limits<qint64>::max()) ? Value::fromDouble(double(n))
                                                                    : Value::fromInt(qint64(n));
            return m_reader.next() || readError();
        }
        case QCborStreamReader::NegativeInteger: {
            // Qt gives the magnitude: 1 stands for -1.
            const quint64 n = quint64(m_reader.toNegativeInteger());
            constexpr quint64 kLimit = quint64(std::numeric_limits<qint64>::max()) + 1;
            value = n > kLimit    ? Value::fromDouble(-double(n))
                    : n == kLimit ? Value::fromInt(std::numeric_limits<qint64>::min())
                                  : Value::fromInt(-qint64(n));
            return m_reader.next() || readError();
        }
        case QCborStreamReader::Double:
            value = Value::fromDouble(m_reader.toDouble());
            return m_reader.next() || readError();
        case QCborStreamReader::SimpleType:
            if (m_reader.isNull() || m_reader.isFalse() || m_reader.isTrue()) {
                value = m_reader.isNull() ? Value() : Value::fromBool(m_reader.isTrue());
                return m_reader.next() || readError();
            }
            break;
        case QCborStreamReader::Tag:
            if (m_reader.toTag() == QCborKnownTags::DateTimeString) return readDateTime(value);
            break;
        default:
            break;
        }
        return readThroughTree(value);
    }

    bool readThroughTree(Value& value) {
        const qint64 at = m_reader.currentOffset();
        QCborValue tree;
        if (!readTree(tree)) return false;
        std::optional<Value> decoded = decodeValue(tree);
        if (!decoded) return refuse(QStringLiteral("no value at byte %1").arg(at));
        value = std::move(*decoded);
        return true;
    }

    // Tag 0 in the writer's own layout "yyyy-MM-ddTHH:mm:ss.zzzZ" is read by
    // hand (parsing date texts is the costliest part of large answers); any
    // other text is read the general way.
    bool readDateTime(Value& value) {
        const qint64 at = m_reader.currentOffset();
        if (!m_reader.next()) return readError();
        QString text;
        if (!m_reader.isString() || !readText(text))
            return refuse(QStringLiteral("no value at byte %1").arg(at));
        if (std::optional<Value> fast = parseWriterDateTime(text)) {
            value = std::move(*fast);
            return true;
        }
        std::optional<Value> decoded = decodeValue(QCborValue(QCborKnownTags::DateTimeString, text));
        if (!decoded) return refuse(QStringLiteral("no value at byte %1").arg(at));
        value = std::move(*decoded);
        return true;
    }

    static std::optional<Value> parseWriterDateTime(QStringView t) {
        static constexpr char kLayout[] = "dddd-dd-ddTdd:dd:dd.dddZ";
        if (t.size() != qsizetype(sizeof kLayout - 1)) return std::nullopt;
        for (qsizetype i = 0; i < t.size(); ++i) {
            const char want = kLayout[i];
            const QChar c = t[i];
            if (want == 'd' ? !(c >= u'0' && c <= u'9') : c != QLatin1Char(want)) return std::nullopt;
        }
        auto number = [&](qsizetype from, qsizetype length) {
            int n = 0;
            for (qsizetype i = from; i < from + length; ++i)
                n = n * 10 + (t[i].unicode() - u'0');
            return n;
        };
        const QDate date(number(0, 4), number(5, 2), number(8, 2));
        const QTime time(number(11, 2), number(14, 2), number(17, 2), number(20, 3));
        if (!date.isValid() || !time.isValid()) return std::nullopt;
        Value v = Value::fromDateTime(QDateTime(date, time, Qt::UTC));
        if (v.isNull()) return std::nullopt;
        return v;
    }

    bool enter(bool map, const QString& what) {
        if (map ? !m_reader.isMap() : !m_reader.isArray()) return refuse(what);
        return m_reader.enterContainer() || readError();
    }
    bool leave() { return (!failed() && m_reader.leaveContainer()) || readError(); }

    bool readRowSet(RowSet& rows);

private:
    QCborStreamReader m_reader;
};

bool StreamParser::readRowSet(RowSet& result) {
    if (!enter(true, QStringLiteral("row set is not a map"))) return false;
    bool haveNames = false, haveTypes = false, haveRows = false;
    QStringList names;
    QList<qint64> types;
    while (more()) {
        QString key;
        if (!m_reader.isString()) {
            QCborValue skipped;
            if (!readTree(skipped) || !readTree(skipped)) return false;
            continue;
        }
        if (!readText(key)) return false;
        bool* seen = key == kColumnsKey ? &haveNames
                     : key == kTypesKey ? &haveTypes
                     : key == kRowsKey  ? &haveRows
                                        : nullptr;
        if (!seen) {
            QCborValue skipped;
            if (!readTree(skipped)) return false;
            continue;
        }
        if (*seen) return refuse(QStringLiteral("row set repeats the key \"%1\"").arg(key));
        *seen = true;
        if (!enter(false, QStringLiteral("row set needs the arrays columns, types and rows"))) return false;
        if (seen == &haveNames) {
            while (more()) {
                QString name;
                if (!m_reader.isString())
                    return refuse(QStringLiteral("column %1 has no text name").arg(names.size()));
                if (!readText(name)) return false;
                names << name;
            }
        } else if (seen == &haveTypes) {
            while (more()) {
                if (!m_reader.isInteger())
                    return refuse(QStringLiteral("column %1 has an unknown type").arg(types.size()));
                types << m_reader.toInteger();
                if (!m_reader.next()) return readError();
            }
        } else {
            while (more()) {
                const qsizetype r = result.rows.size();
                if (!enter(false, QStringLiteral("row %1 is not an array").arg(r))) return false;
                QList<Value> values;
                values.reserve(names.isEmpty() ? 8 : names.size());
                while (more()) {
                    Value v;
                    if (!readValue(v)) return false;
                    values.append(std::move(v));
                }
                if (!leave()) return false;
                result.rows.append(std::move(values));
            }
        }
        if (!leave()) return false;
    }
    if (!leave()) return false;
    if (!haveNames || !haveTypes || !haveRows)
        return refuse(QStringLiteral("row set needs the arrays columns, types and rows"));
    if (names.size() != types.size())
        return refuse(
            QStringLiteral("row set has %1 column names but %2 types").arg(names.size()).arg(types.size()));
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (types[i] < 0 || types[i] >= Value::kTypeCount)
            return refuse(QStringLiteral("column %1 has an unknown type").arg(i));
        result.columns.append(Column{names[i], Value::Type(types[i])});
    }
    // The checks of decodeRowSet, once every part is known.
    for (qsizetype r = 0; r < result.rows.size(); ++r) {
        const QList<Value>& row = result.rows[r];
        if (row.size() != result.columns.size())
            return refuse(QStringLiteral("row %1 does not have %2 values").arg(r).arg(result.columns.size()));
        for (qsizetype c = 0; c < row.size(); ++c) {
            const Value::Type declared = result.columns[c].type;
            if (!row[c].isNull() && declared != Value::Type::Null && row[c].type() != declared)
                return refuse(QStringLiteral("row %1 column %2 holds %3 in a %4 column")
                                  .arg(r)
                                  .arg(c)
                                  .arg(QLatin1String(Value::typeName(row[c].type())),
                                       QLatin1String(Value::typeName(declared))));
        }
    }
    return true;
}

} // namespace

bool FrameDecoder::parseStreaming(const QByteArray& payload, Message& message, std::optional<RowSet>& rows) {
    rows.reset();
    StreamParser p(payload);
    QCborStreamReader& reader = p.reader();
    if (!reader.isMap()) return fail(QStringLiteral("frame is not a CBOR map"));
    if (!reader.enterContainer()) {
        p.readError();
        return fail(p.error);
    }
    std::optional<QString> kind;
    std::optional<qint64> id;
    bool haveBody = false;
    QCborMap body;
    auto repeated = [&](const QString& key) {
        return fail(QStringLiteral("frame repeats the key \"%1\"").arg(key));
    };
    while (p.more()) {
        if (!reader.isString()) {
            QCborValue skipped;
            if (!p.readTree(skipped) || !p.readTree(skipped)) return fail(p.error);
            continue;
        }
        QString key;
        if (!p.readText(key)) return fail(p.error);
        if (key == kKindKey) {
            if (kind) return repeated(key);
            QString text;
            if (!reader.isString() || !p.readText(text) || text.isEmpty())
                return fail(QStringLiteral("frame has no text kind"));
            kind = text;
        } else if (key == kIdKey) {
            if (id) return repeated(key);
            if (!reader.isInteger() || reader.toInteger() < 0)
                return fail(QStringLiteral("frame has no id (a non-negative integer)"));
            id = reader.toInteger();
            if (!reader.next()) {
                p.readError();
                return fail(p.error);
            }
        } else if (key == kBodyKey) {
            if (haveBody) return repeated(key);
            haveBody = true;
            if (!p.enter(true, QStringLiteral("frame body is not a map"))) return fail(p.error);
            while (p.more()) {
                QCborValue name, value;
                if (reader.isString()) {
                    QString text;
                    if (!p.readText(text)) return fail(p.error);
                    name = text;
                } else if (!p.readTree(name)) {
                    return fail(p.error);
                }
                if (name.isString() && name.toString() == kRowsKey) {
                    if (rows) return repeated(kRowsKey);
                    rows.emplace();
                    if (!p.readRowSet(*rows)) {
                        rows.reset();
                        return fail(p.error);
                    }
                    continue;
                }
                if (!p.readTree(value)) return fail(p.error);
                body.insert(name, value);
            }
            if (!p.leave()) return fail(p.error);
        } else {
            QCborValue skipped;
            if (!p.readTree(skipped)) return fail(p.error);
        }
    }
    if (!reader.leaveContainer()) {
        p.readError();
        return fail(p.error);
    }
    if (reader.currentOffset() != payload.size())
        return fail(QStringLiteral("%1 stray bytes after the frame's map")
                        .arg(payload.size() - reader.currentOffset()));
    if (!kind) return fail(QStringLiteral("frame has no text kind"));
    if (!id) return fail(QStringLiteral("frame has no id (a non-negative integer)"));
    message.kind = *kind;
    message.requestId = *id;
    message.body = body;
    return true;
}

} // namespace corvexa::wire
