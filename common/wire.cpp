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
    const QByteArray payload =
        QByteArray::fromRawData(m_buffer.constData() + m_offset + kHeaderBytes, length);
    m_offset += kHeaderBytes + length;
    const bool ok = parsePayload(payload, message);
    if (ok && m_offset == m_buffer.size()) {
        m_buffer.clear();
        m_offset = 0;
    }
    return ok;
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

} // namespace corvexa::wire
