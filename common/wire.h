#pragma once
// The framing and value encoding spoken between server and client over TCP.
//
// A frame is a 4-byte big-endian payload length followed by exactly that many
// bytes holding one CBOR map: {"kind": text, "id": integer >= 0, "body": map}.
// Keys other than these are ignored so that a newer peer may add some.
//
// Values inside bodies carry their type in the CBOR itself:
//   null       CBOR null. A key that is absent means "not given", never null.
//   bool       CBOR true / false.
//   int        CBOR integer (major type 0 or 1), int64 range.
//   double     CBOR float, written 64-bit so NaN and -0.0 survive; any width is read.
//   text       CBOR text string.
//   decimal    tag 4 (decimal fraction) [exponent, mantissa], the exponent being
//              minus the scale (-19..0) and the mantissa an integer, or a tag 2/3
//              bignum where it leaves int64 (19 nines do): "-12.50" is 4([-2, -1250]).
//   date-time  tag 0 text "yyyy-MM-ddTHH:mm:ss.zzzZ". The values are zoneless wall
//              clock readings; "Z" is written only because the tag requires a zone,
//              and a reading with another zone is refused. Tag 1 is read as well.
// Row sets are {"columns": [name...], "types": [type code...], "rows": [[value...]...]}
// with the codes of Value::Type.
#include "common/value.h"

#include <QByteArray>
#include <QCborMap>
#include <QCborValue>
#include <QList>
#include <QString>
#include <optional>

namespace corvexa::wire {

inline constexpr int kProtocolVersion = 1;
inline constexpr qsizetype kHeaderBytes = 4;
// Largest payload after the length; a longer frame is refused before it is read.
inline constexpr qsizetype kMaxFrameBytes = 16 * 1024 * 1024;

struct Message {
    QString kind;
    qint64 requestId = 0; // ties a reply to its request; 0 for notices
    QCborMap body;
    friend bool operator==(const Message&, const Message&) = default;
};

// The whole frame, length included. Empty when the payload would exceed
// kMaxFrameBytes or the message is not sendable (empty kind, negative id).
QByteArray encodeFrame(const Message& message);

QCborValue encodeValue(const Value& value);
// Nothing when the CBOR is not one of the encodings above (also for undefined,
// which is what QCborMap::value gives for a missing key).
std::optional<Value> decodeValue(const QCborValue& cbor);

struct Column {
    QString name;
    Value::Type type = Value::Type::Null; // Null: untyped, the values may be of any type
    friend bool operator==(const Column&, const Column&) = default;
};

struct RowSet {
    QList<Column> columns;
    QList<QList<Value>> rows;
    friend bool operator==(const RowSet&, const RowSet&) = default;
};

QCborValue encodeRowSet(const RowSet& rowSet);
// Every row must have one value per column, each null or of its column's type.
std::optional<RowSet> decodeRowSet(const QCborValue& cbor, QString* error = nullptr);

// Cuts a byte stream into messages. A malformed frame fails the decoder for good:
// the stream can no longer be trusted to be in step, so the connection is closed.
class FrameDecoder {
public:
    void feed(const QByteArray& bytes);
    // The next complete message; false when more bytes are needed or on error.
    bool next(Message& message);
    // The same, but a row set under the body's key "rows" is decoded straight
    // from the frame's bytes into rows, without building its CBOR tree first
    // (large answers); it is then absent from message.body.
    bool next(Message& message, std::optional<RowSet>& rows);

    bool hasError() const { return !m_error.isEmpty(); }
    QString errorText() const { return m_error; }
    qsizetype bufferedBytes() const { return m_buffer.size() - m_offset; }

private:
    bool fail(const QString& text);
    bool parsePayload(const QByteArray& payload, Message& message);
    bool parseStreaming(const QByteArray& payload, Message& message, std::optional<RowSet>& rows);
    bool takePayload(QByteArray& payload);

    QByteArray m_buffer;
    qsizetype m_offset = 0; // start of the first unread frame in m_buffer
    QString m_error;
};

} // namespace corvexa::wire
