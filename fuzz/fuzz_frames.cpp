// libFuzzer target: any bytes through the frame decoder, fed in two pieces cut
// where the first byte says, then every field of every message through the
// value and row-set decoders. What decodes must encode and decode to itself,
// and row sets read straight from the bytes must equal those of the tree.
#include "common/wire.h"

#include <QCborArray>
#include <QSet>
#include <cstddef>
#include <cstdint>

namespace {

using namespace corvexa;

void checkField(const QCborValue& field) {
    if (std::optional<Value> value = wire::decodeValue(field)) {
        if (wire::decodeValue(QCborValue::fromCbor(wire::encodeValue(*value).toCbor())) != value)
            __builtin_trap();
    }
    if (std::optional<wire::RowSet> rows = wire::decodeRowSet(field)) {
        if (wire::decodeRowSet(QCborValue::fromCbor(wire::encodeRowSet(*rows).toCbor())) != rows)
            __builtin_trap();
    }
}

void checkMessage(const wire::Message& message) {
    if (message.kind.isEmpty() || message.requestId < 0) __builtin_trap();
    for (auto it = message.body.constBegin(); it != message.body.constEnd(); ++it) {
        const QCborValue field = it.value();
        checkField(field);
        if (field.isArray()) // parameter lists
            for (const QCborValue& item : field.toArray())
                checkField(item);
    }
    // A message that was read can be sent again and reads the same.
    const QByteArray again = wire::encodeFrame(message);
    if (again.isEmpty()) return; // re-encoding may grow past the limit (e.g. half floats become doubles)
    wire::FrameDecoder decoder;
    decoder.feed(again);
    wire::Message back;
    if (!decoder.next(back) || back.kind != message.kind || back.requestId != message.requestId)
        __builtin_trap();
}

// The row sets read straight from the bytes must read as the CBOR tree reads
// them: the same rows where the tree accepts them, a refusal where it refuses.
void compareStreaming(const QByteArray& bytes) {
    wire::FrameDecoder tree, stream;
    tree.feed(bytes);
    stream.feed(bytes);
    const QString rowsKey = QStringLiteral("rows");
    for (;;) {
        wire::Message a, b;
        std::optional<wire::RowSet> rows;
        const bool treeOk = tree.next(a);
        const bool streamOk = stream.next(b, rows);
        if (!treeOk) {
            if (streamOk) __builtin_trap();
            return;
        }
        // A repeated key reads as its first copy in the tree; the streaming
        // reader refuses it. Nothing to compare then.
        QSet<QCborValue> keys;
        for (auto it = a.body.constBegin(); it != a.body.constEnd(); ++it)
            keys.insert(it.key());
        if (keys.size() != a.body.size()) return;
        std::optional<wire::RowSet> expected;
        const bool hasRows = a.body.contains(rowsKey);
        if (hasRows) expected = wire::decodeRowSet(a.body.value(rowsKey));
        if (hasRows && !expected) {
            if (streamOk) __builtin_trap();
            return;
        }
        if (!streamOk || b.kind != a.kind || b.requestId != a.requestId || rows != expected) __builtin_trap();
        a.body.remove(rowsKey);
        if (b.body != a.body) __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype cut = size == 0 ? 0 : qsizetype(data[0]) % qsizetype(size + 1);
    wire::FrameDecoder decoder;
    wire::Message message;
    decoder.feed(bytes.left(cut));
    while (decoder.next(message))
        checkMessage(message);
    decoder.feed(bytes.mid(cut));
    while (decoder.next(message))
        checkMessage(message);
    if (decoder.hasError() && decoder.next(message)) __builtin_trap();
    compareStreaming(bytes);
    return 0;
}
