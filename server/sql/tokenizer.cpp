#include "tokenizer.h"

#include <QSet>

namespace corvexa::sql {
namespace {

const QSet<QString>& keywords() {
    static const QSet<QString> words = {
        QStringLiteral("SELECT"), QStringLiteral("DISTINCT"), QStringLiteral("ALL"),
        QStringLiteral("TOP"),    QStringLiteral("FROM"),     QStringLiteral("WHERE"),
        QStringLiteral("GROUP"),  QStringLiteral("BY"),       QStringLiteral("HAVING"),
        QStringLiteral("ORDER"),  QStringLiteral("ASC"),      QStringLiteral("DESC"),
        QStringLiteral("AS"),     QStringLiteral("AND"),      QStringLiteral("OR"),
        QStringLiteral("NOT"),    QStringLiteral("IN"),       QStringLiteral("IS"),
        QStringLiteral("NULL"),   QStringLiteral("LIKE"),     QStringLiteral("BETWEEN"),
        QStringLiteral("EXISTS"), QStringLiteral("CASE"),     QStringLiteral("WHEN"),
        QStringLiteral("THEN"),   QStringLiteral("ELSE"),     QStringLiteral("END"),
        QStringLiteral("INSERT"), QStringLiteral("INTO"),     QStringLiteral("VALUES"),
        QStringLiteral("UPDATE"), QStringLiteral("SET"),      QStringLiteral("DELETE"),
        QStringLiteral("JOIN"),   QStringLiteral("INNER"),    QStringLiteral("LEFT"),
        QStringLiteral("RIGHT"),  QStringLiteral("OUTER"),    QStringLiteral("ON"),
        QStringLiteral("ESCAPE"), QStringLiteral("UNION"),    QStringLiteral("CROSS"),
        QStringLiteral("FULL"),
    };
    return words;
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool isIdentStart(QChar c) {
    return c.isLetter() || c == u'_' || c == u'#' || c == u'@' || c.unicode() > 0x7F;
}
bool isIdentPart(QChar c) {
    return isIdentStart(c) || c.isDigit() || c == u'$';
}

} // namespace

bool Tokenizer::isKeyword(const QString& upperWord) {
    return keywords().contains(upperWord);
}

bool Tokenizer::tokenize(const QString& text, std::vector<Token>& tokens, SqlError& error) {
    tokens.clear();
    const int n = int(text.size());
    int i = 0;
    auto fail = [&](const QString& message, int pos) {
        error = {message, pos};
        return false;
    };
    while (i < n) {
        QChar c = text[i];
        if (c.isSpace() || c == QChar(0x3000)) {
            ++i;
            continue;
        }
        if (c == u'-' && i + 1 < n && text[i + 1] == u'-') {
            while (i < n && text[i] != u'\n')
                ++i;
            continue;
        }
        if (c == u'/' && i + 1 < n && text[i + 1] == u'*') {
            int end = text.indexOf(QStringLiteral("*/"), i + 2);
            if (end < 0) return fail(QStringLiteral("注释没有结束（缺少 */）"), i);
            i = end + 2;
            continue;
        }
        Token t;
        t.pos = i;
        if ((c == u'N' || c == u'n') && i + 1 < n && text[i + 1] == u'\'') {
            ++i; // N'...' is an ordinary text literal here
            c = text[i];
        }
        if (c == u'\'') {
            QString value;
            int j = i + 1;
            for (;;) {
                if (j >= n) return fail(QStringLiteral("文本常量没有结束（缺少单引号）"), t.pos);
                if (text[j] == u'\'') {
                    if (j + 1 < n && text[j + 1] == u'\'') {
                        value += u'\'';
                        j += 2;
                        continue;
                    }
                    break;
                }
                value += text[j++];
            }
            t.kind = TokenKind::String;
            t.text = value;
            i = j + 1;
        } else if (isAsciiDigit(c) || (c == u'.' && i + 1 < n && isAsciiDigit(text[i + 1]))) {
            int j = i;
            bool isFloat = false;
            while (j < n && isAsciiDigit(text[j]))
                ++j;
            if (j < n && text[j] == u'.') {
                isFloat = true;
                ++j;
                while (j < n && isAsciiDigit(text[j]))
                    ++j;
            }
            if (j < n && (text[j] == u'e' || text[j] == u'E')) {
                int k = j + 1;
                if (k < n && (text[k] == u'+' || text[k] == u'-')) ++k;
                if (k < n && isAsciiDigit(text[k])) {
                    isFloat = true;
                    j = k;
                    while (j < n && isAsciiDigit(text[j]))
                        ++j;
                }
            }
            t.kind = isFloat ? TokenKind::Float : TokenKind::Integer;
            t.text = text.mid(i, j - i);
            i = j;
        } else if (c == u'[' || c == u'"') {
            QChar close = c == u'[' ? u']' : u'"';
            int j = i + 1;
            QString value;
            for (;;) {
                if (j >= n) return fail(QStringLiteral("标识符没有结束（缺少 %1）").arg(close), t.pos);
                if (text[j] == close) {
                    if (j + 1 < n && text[j + 1] == close) {
                        value += close;
                        j += 2;
                        continue;
                    }
                    break;
                }
                value += text[j++];
            }
            if (value.isEmpty()) return fail(QStringLiteral("标识符不能为空"), t.pos);
            t.kind = TokenKind::Identifier;
            t.text = value;
            t.quoted = true;
            i = j + 1;
        } else if (c == u':' && i + 1 < n && isIdentStart(text[i + 1])) {
            int j = i + 1;
            while (j < n && isIdentPart(text[j]))
                ++j;
            t.kind = TokenKind::Parameter;
            t.text = text.mid(i + 1, j - i - 1);
            i = j;
        } else if (isIdentStart(c)) {
            int j = i;
            while (j < n && isIdentPart(text[j]) && text[j] != QChar(0x3000) && !text[j].isSpace())
                ++j;
            QString word = text.mid(i, j - i);
            QString upper = word.toUpper();
            if (isKeyword(upper)) {
                t.kind = TokenKind::Keyword;
                t.text = upper;
            } else {
                t.kind = TokenKind::Identifier;
                t.text = word;
            }
            i = j;
        } else {
            auto two = text.mid(i, 2);
            static const QStringList twoCharOps = {
                QStringLiteral("<>"), QStringLiteral("!="), QStringLiteral("<="),
                QStringLiteral(">="), QStringLiteral("*="), QStringLiteral("=*"),
                QStringLiteral("||"), QStringLiteral("!<"), QStringLiteral("!>")};
            if (twoCharOps.contains(two)) {
                t.kind = TokenKind::Operator;
                t.text = two;
                i += 2;
            } else {
                switch (c.unicode()) {
                case u',':
                    t.kind = TokenKind::Comma;
                    break;
                case u'.':
                    t.kind = TokenKind::Dot;
                    break;
                case u'(':
                    t.kind = TokenKind::LParen;
                    break;
                case u')':
                    t.kind = TokenKind::RParen;
                    break;
                case u';':
                    t.kind = TokenKind::Semicolon;
                    break;
                case u'=':
                case u'<':
                case u'>':
                case u'+':
                case u'-':
                case u'*':
                case u'/':
                case u'%':
                    t.kind = TokenKind::Operator;
                    break;
                default:
                    return fail(QStringLiteral("无法识别的字符 '%1'").arg(c), i);
                }
                t.text = QString(c);
                ++i;
            }
        }
        tokens.push_back(std::move(t));
    }
    Token end;
    end.kind = TokenKind::End;
    end.pos = n;
    tokens.push_back(end);
    return true;
}

} // namespace corvexa::sql
