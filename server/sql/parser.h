#pragma once
#include "ast.h"
#include "tokenizer.h"

namespace corvexa::sql {

// Recursive-descent parser of one statement (a trailing ';' is allowed).
class Parser {
public:
    static std::unique_ptr<Statement> parse(const QString& text, SqlError& error);

    static constexpr int kMaxDepth = 200;
    static constexpr int kMaxLength = 1 << 20;
};

} // namespace corvexa::sql
