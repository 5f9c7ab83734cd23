#include "translator.h"

#include "generator.h"
#include "parser.h"
#include "resolver.h"
#include "schema.h"

#include <QMutexLocker>

namespace corvexa::sql {

Translator::Translator(const Schema& schema, Backend backend) : m_schema(schema), m_backend(backend) {}

Translation Translator::translateUncached(const QString& text, const TranslateOptions& options) const {
    Translation out;
    SqlError error;
    std::unique_ptr<Statement> stmt = Parser::parse(text, error);
    if (!stmt) {
        out.error = error;
        return out;
    }
    Resolver resolver(m_schema, options);
    if (!resolver.resolve(*stmt, out, error)) {
        Translation failed;
        failed.error = error;
        return failed;
    }
    std::unique_ptr<Generator> generator;
    switch (m_backend) {
    case Backend::SQLite:
        generator = std::make_unique<SqliteGenerator>();
        break;
    case Backend::PostgreSQL:
        generator = std::make_unique<PgGenerator>();
        break;
    }
    out.sql = generator->statement(*stmt);
    out.ok = true;
    return out;
}

std::shared_ptr<const Translation> Translator::translate(const QString& text,
                                                         const TranslateOptions& options) {
    const QString key = QChar(u'0' + (options.allowParameters ? 1 : 0) + (options.allowSecret ? 2 : 0) +
                              (options.writeSerials ? 4 : 0)) +
                        text;
    {
        QMutexLocker lock(&m_mutex);
        auto it = m_cache.constFind(key);
        if (it != m_cache.constEnd()) return *it;
    }
    auto result = std::make_shared<const Translation>(translateUncached(text, options));
    QMutexLocker lock(&m_mutex);
    if (m_cache.size() >= kCacheLimit) m_cache.clear();
    m_cache.insert(key, result);
    return result;
}

} // namespace corvexa::sql
