// libFuzzer target: any bytes through tokenizer, parser, resolver and generator.
#include "sql/schema.h"
#include "sql/translator.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static corvexa::sql::Translator translator(corvexa::sql::Schema::standard(),
                                               corvexa::sql::Backend::SQLite);
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    corvexa::sql::Translation t = translator.translateUncached(text);
    if (t.ok && t.sql.isEmpty()) __builtin_trap();
    return 0;
}
