#pragma once
// Front door of the dialect layer: statement text in, backend SQL out.
#include "types.h"

#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace corvexa::sql {

class Schema;

enum class Backend { SQLite, PostgreSQL };

struct ResultColumn {
    QString name; // alias or column name as written; "" for an unnamed expression
    SqlType type = SqlType::Unknown;
};

struct Translation {
    bool ok = false;
    SqlError error;       // when !ok
    bool isQuery = false; // returns rows
    QString sql;          // backend text
    std::vector<ResultColumn> columns;
    QStringList parameters; // :Name parameters in bind order (1-based ?NNN / $n)
    QString targetTable;    // single table a query reads, or the table a statement changes
};

struct TranslateOptions {
    bool allowParameters = false; // providers of the server; never user text
    bool allowSecret = false;     // the server's own login check; never user text
    bool writeSerials = false;    // copying a whole database keeps its serials
};

// Translates and caches by text; safe to use from several threads.
class Translator {
public:
    explicit Translator(const Schema& schema, Backend backend);

    std::shared_ptr<const Translation> translate(const QString& text, const TranslateOptions& options = {});
    // Without the cache (tests, fuzzing).
    Translation translateUncached(const QString& text, const TranslateOptions& options = {}) const;

    Backend backend() const { return m_backend; }
    const Schema& schema() const { return m_schema; }

private:
    const Schema& m_schema;
    Backend m_backend;
    QMutex m_mutex;
    QHash<QString, std::shared_ptr<const Translation>> m_cache;
    static constexpr int kCacheLimit = 4096;
};

} // namespace corvexa::sql
