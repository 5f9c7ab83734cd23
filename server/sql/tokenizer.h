#pragma once
#include "types.h"

#include <QString>
#include <vector>

namespace corvexa::sql {

enum class TokenKind {
    End,
    Identifier, // plain, [bracketed] or "quoted"
    Keyword,    // a reserved word, text upper-cased
    Integer,
    Float,
    String,    // '...' or N'...', text unescaped
    Parameter, // :Name
    Operator,  // = <> != < > <= >= + - * / % *= =* ||
    Comma,
    Dot,
    LParen,
    RParen,
    Semicolon,
};

struct Token {
    TokenKind kind = TokenKind::End;
    QString text;
    int pos = 0;
    bool quoted = false; // identifier written in brackets or double quotes
};

// Splits statement text into tokens; fails on an unterminated literal or a
// character that belongs to no token.
class Tokenizer {
public:
    static bool tokenize(const QString& text, std::vector<Token>& tokens, SqlError& error);
    static bool isKeyword(const QString& upperWord);
};

} // namespace corvexa::sql
