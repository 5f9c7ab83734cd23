// libFuzzer target: any bytes through tokenizer, parser, resolver and both
// generators; a statement one backend accepts the other must accept too.
#include "sql/schema.h"
#include "sql/translator.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvexa::sql;
    static Translator sqlite(Schema::standard(), Backend::SQLite);
    static Translator postgres(Schema::standard(), Backend::PostgreSQL);
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    Translation a = sqlite.translateUncached(text);
    Translation b = postgres.translateUncached(text);
    if (a.ok != b.ok) __builtin_trap();
    if ((a.ok && a.sql.isEmpty()) || (b.ok && b.sql.isEmpty())) __builtin_trap();
    return 0;
}
