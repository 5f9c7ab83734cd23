#pragma once
// Binds a parsed statement to the schema: tables and columns by name (without
// regard to case), types of every expression, date conversions where numbers or
// text meet dates, outer joins written in WHERE, star expansion and checks that
// give the user a clear message instead of a database error.
#include "ast.h"
#include "translator.h"

namespace corvexa::sql {

class Schema;

class Resolver {
public:
    Resolver(const Schema& schema, const TranslateOptions& options) : m_schema(schema), m_options(options) {}
    // Fills the bound members of the statement and the result description.
    bool resolve(Statement& stmt, Translation& out, SqlError& error);

private:
    const Schema& m_schema;
    TranslateOptions m_options;
};

} // namespace corvexa::sql
