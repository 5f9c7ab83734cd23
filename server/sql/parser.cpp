#include "parser.h"

namespace corvexa::sql {
namespace {

struct ParseFailure {
    SqlError error;
};

class ParserImpl {
public:
    explicit ParserImpl(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {}

    std::unique_ptr<Statement> statement() {
        auto stmt = std::make_unique<Statement>();
        const Token& t = peek();
        if (isKeyword(t, "SELECT")) {
            stmt->kind = StatementKind::Select;
            stmt->select = select();
        } else if (isKeyword(t, "INSERT")) {
            insert(*stmt);
        } else if (isKeyword(t, "UPDATE")) {
            update(*stmt);
        } else if (isKeyword(t, "DELETE")) {
            remove(*stmt);
        } else if (t.kind == TokenKind::End) {
            fail(QStringLiteral("语句是空的"), t);
        } else {
            fail(QStringLiteral("语句应以 Select、Insert、Update 或 Delete 开始，而不是 %1").arg(describe(t)),
                 t);
        }
        while (peek().kind == TokenKind::Semicolon)
            advance();
        if (peek().kind != TokenKind::End)
            fail(QStringLiteral("语句在 %1 处多出了内容").arg(describe(peek())), peek());
        return stmt;
    }

private:
    std::vector<Token> m_tokens;
    size_t m_index = 0;
    int m_depth = 0;

    struct DepthGuard {
        ParserImpl& p;
        explicit DepthGuard(ParserImpl& parser) : p(parser) {
            if (++p.m_depth > Parser::kMaxDepth) p.fail(QStringLiteral("语句嵌套层次太深"), p.peek());
        }
        ~DepthGuard() { --p.m_depth; }
    };

    const Token& peek(size_t ahead = 0) const {
        size_t i = std::min(m_index + ahead, m_tokens.size() - 1);
        return m_tokens[i];
    }
    const Token& advance() {
        const Token& t = m_tokens[m_index];
        if (m_index + 1 < m_tokens.size()) ++m_index;
        return t;
    }
    static bool isKeyword(const Token& t, const char* word) {
        return t.kind == TokenKind::Keyword && t.text == QLatin1String(word);
    }
    static bool isOperator(const Token& t, const char* op) {
        return t.kind == TokenKind::Operator && t.text == QLatin1String(op);
    }
    bool acceptKeyword(const char* word) {
        if (isKeyword(peek(), word)) {
            advance();
            return true;
        }
        return false;
    }
    void expectKeyword(const char* word) {
        if (!acceptKeyword(word))
            fail(QStringLiteral("此处应为 %1，而不是 %2").arg(QLatin1String(word), describe(peek())), peek());
    }
    void expect(TokenKind kind, const QString& what) {
        if (peek().kind != kind)
            fail(QStringLiteral("此处应为 %1，而不是 %2").arg(what, describe(peek())), peek());
        advance();
    }
    static QString describe(const Token& t) {
        switch (t.kind) {
        case TokenKind::End:
            return QStringLiteral("语句结尾");
        case TokenKind::String:
            return QStringLiteral("'%1'").arg(t.text.left(40));
        case TokenKind::Parameter:
            return u':' + t.text;
        default:
            return QStringLiteral("'%1'").arg(t.text.isEmpty() ? QStringLiteral("?") : t.text.left(40));
        }
    }
    [[noreturn]] void fail(const QString& message, const Token& at) const {
        throw ParseFailure{{message, at.pos}};
    }

    // A name: an identifier, or a keyword-free word.
    QString name(const QString& what) {
        const Token& t = peek();
        if (t.kind != TokenKind::Identifier)
            fail(QStringLiteral("此处应为%1，而不是 %2").arg(what, describe(t)), t);
        advance();
        return t.text;
    }

    std::unique_ptr<Select> select() {
        DepthGuard guard(*this);
        auto s = std::make_unique<Select>();
        s->pos = peek().pos;
        expectKeyword("SELECT");
        if (acceptKeyword("DISTINCT"))
            s->distinct = true;
        else
            acceptKeyword("ALL");
        if (acceptKeyword("TOP")) {
            const Token& t = peek();
            bool paren = t.kind == TokenKind::LParen;
            if (paren) advance();
            if (peek().kind != TokenKind::Integer) fail(QStringLiteral("TOP 后应为整数"), peek());
            bool ok = false;
            s->top = advance().text.toLongLong(&ok);
            if (!ok) fail(QStringLiteral("TOP 的数值太大"), t);
            if (paren) expect(TokenKind::RParen, QStringLiteral("')'"));
        }
        do {
            s->items.push_back(selectItem());
        } while (acceptComma());
        if (acceptKeyword("FROM")) fromList(*s);
        if (acceptKeyword("WHERE")) s->where = expr();
        if (acceptKeyword("GROUP")) {
            expectKeyword("BY");
            do {
                s->groupBy.push_back(expr());
            } while (acceptComma());
        }
        if (acceptKeyword("HAVING")) s->having = expr();
        if (acceptKeyword("ORDER")) {
            expectKeyword("BY");
            do {
                OrderItem item;
                item.expr = expr();
                if (acceptKeyword("DESC"))
                    item.descending = true;
                else
                    acceptKeyword("ASC");
                s->orderBy.push_back(std::move(item));
            } while (acceptComma());
        }
        if (isKeyword(peek(), "UNION")) fail(QStringLiteral("不支持 UNION"), peek());
        return s;
    }

    bool acceptComma() {
        if (peek().kind == TokenKind::Comma) {
            advance();
            return true;
        }
        return false;
    }

    SelectItem selectItem() {
        SelectItem item;
        item.pos = peek().pos;
        // Star forms: * and qualifier.*
        if (isOperator(peek(), "*")) {
            item.expr = std::make_unique<Expr>(ExprKind::Star, peek().pos);
            advance();
            return item;
        }
        if (peek().kind == TokenKind::Identifier && peek(1).kind == TokenKind::Dot &&
            isOperator(peek(2), "*")) {
            item.expr = std::make_unique<Expr>(ExprKind::Star, peek().pos);
            item.expr->qualifier = advance().text;
            advance();
            advance();
            return item;
        }
        item.expr = expr();
        if (acceptKeyword("AS")) {
            const Token& t = peek();
            if (t.kind == TokenKind::Identifier || t.kind == TokenKind::String) {
                item.alias = advance().text;
                item.hasAlias = true;
            } else {
                fail(QStringLiteral("AS 后应为列的别名，而不是 %1").arg(describe(t)), t);
            }
        } else if (peek().kind == TokenKind::Identifier || peek().kind == TokenKind::String) {
            item.alias = advance().text;
            item.hasAlias = true;
        }
        return item;
    }

    TableRef tableRef(JoinKind join) {
        TableRef ref;
        ref.join = join;
        ref.pos = peek().pos;
        ref.name = name(QStringLiteral("表名"));
        if (peek().kind == TokenKind::Dot) {
            // owner.table: the owner is ignored (dbo.T)
            advance();
            ref.name = name(QStringLiteral("表名"));
        }
        if (acceptKeyword("AS"))
            ref.alias = name(QStringLiteral("表的别名"));
        else if (peek().kind == TokenKind::Identifier)
            ref.alias = advance().text;
        return ref;
    }

    void fromList(Select& s) {
        if (peek().kind == TokenKind::LParen && isKeyword(peek(1), "SELECT"))
            fail(QStringLiteral("FROM 中不支持子查询"), peek());
        s.from.push_back(tableRef(JoinKind::Comma));
        for (;;) {
            if (acceptComma()) {
                s.from.push_back(tableRef(JoinKind::Comma));
                continue;
            }
            JoinKind kind;
            if (acceptKeyword("JOIN")) {
                kind = JoinKind::Inner;
            } else if (isKeyword(peek(), "INNER") && isKeyword(peek(1), "JOIN")) {
                advance();
                advance();
                kind = JoinKind::Inner;
            } else if (isKeyword(peek(), "LEFT") || isKeyword(peek(), "RIGHT")) {
                kind = isKeyword(peek(), "LEFT") ? JoinKind::Left : JoinKind::Right;
                advance();
                acceptKeyword("OUTER");
                expectKeyword("JOIN");
            } else if (isKeyword(peek(), "CROSS") || isKeyword(peek(), "FULL")) {
                fail(QStringLiteral("不支持 %1 JOIN").arg(peek().text), peek());
            } else {
                break;
            }
            TableRef ref = tableRef(kind);
            expectKeyword("ON");
            ref.on = expr();
            s.from.push_back(std::move(ref));
        }
    }

    void insert(Statement& stmt) {
        stmt.kind = StatementKind::Insert;
        expectKeyword("INSERT");
        acceptKeyword("INTO");
        stmt.table = tableRef(JoinKind::Comma);
        if (!stmt.table.alias.isEmpty()) fail(QStringLiteral("Insert 的表不能带别名"), peek());
        if (peek().kind == TokenKind::LParen) {
            advance();
            do {
                Assignment a;
                a.pos = peek().pos;
                a.column = name(QStringLiteral("字段名"));
                stmt.assignments.push_back(std::move(a));
            } while (acceptComma());
            expect(TokenKind::RParen, QStringLiteral("')'"));
        }
        if (acceptKeyword("VALUES")) {
            do {
                expect(TokenKind::LParen, QStringLiteral("'('"));
                std::vector<ExprPtr> row;
                do {
                    row.push_back(expr());
                } while (acceptComma());
                expect(TokenKind::RParen, QStringLiteral("')'"));
                stmt.rows.push_back(std::move(row));
            } while (acceptComma());
        } else if (isKeyword(peek(), "SELECT")) {
            stmt.select = select();
        } else {
            fail(QStringLiteral("此处应为 VALUES 或 Select，而不是 %1").arg(describe(peek())), peek());
        }
    }

    void update(Statement& stmt) {
        stmt.kind = StatementKind::Update;
        expectKeyword("UPDATE");
        stmt.table = tableRef(JoinKind::Comma);
        expectKeyword("SET");
        do {
            Assignment a;
            a.pos = peek().pos;
            a.column = name(QStringLiteral("字段名"));
            if (peek().kind == TokenKind::Dot) {
                advance();
                a.column = name(QStringLiteral("字段名"));
            }
            if (!isOperator(peek(), "="))
                fail(QStringLiteral("此处应为 '='，而不是 %1").arg(describe(peek())), peek());
            advance();
            a.value = expr();
            stmt.assignments.push_back(std::move(a));
        } while (acceptComma());
        if (isKeyword(peek(), "FROM")) fail(QStringLiteral("Update 语句不支持 FROM"), peek());
        if (acceptKeyword("WHERE")) stmt.where = expr();
    }

    void remove(Statement& stmt) {
        stmt.kind = StatementKind::Delete;
        expectKeyword("DELETE");
        acceptKeyword("FROM");
        stmt.table = tableRef(JoinKind::Comma);
        if (acceptKeyword("WHERE")) stmt.where = expr();
    }

    // Expressions, lowest precedence first.
    ExprPtr expr() {
        DepthGuard guard(*this);
        return orExpr();
    }

    ExprPtr binary(const Token& opToken, const QString& op, ExprPtr left, ExprPtr right) {
        auto e = std::make_unique<Expr>(ExprKind::Binary, opToken.pos);
        e->text = op;
        e->args.push_back(std::move(left));
        e->args.push_back(std::move(right));
        return e;
    }

    ExprPtr orExpr() {
        ExprPtr left = andExpr();
        while (isKeyword(peek(), "OR")) {
            const Token& t = advance();
            left = binary(t, QStringLiteral("OR"), std::move(left), andExpr());
        }
        return left;
    }

    ExprPtr andExpr() {
        ExprPtr left = notExpr();
        while (isKeyword(peek(), "AND")) {
            const Token& t = advance();
            left = binary(t, QStringLiteral("AND"), std::move(left), notExpr());
        }
        return left;
    }

    ExprPtr notExpr() {
        if (isKeyword(peek(), "NOT")) {
            DepthGuard guard(*this);
            const Token& t = advance();
            auto e = std::make_unique<Expr>(ExprKind::Unary, t.pos);
            e->text = QStringLiteral("NOT");
            e->args.push_back(notExpr());
            return e;
        }
        return predicate();
    }

    ExprPtr predicate() {
        ExprPtr left = additive();
        for (;;) {
            const Token& t = peek();
            if (t.kind == TokenKind::Operator &&
                (t.text == u"=" || t.text == u"<>" || t.text == u"!=" || t.text == u"<" || t.text == u">" ||
                 t.text == u"<=" || t.text == u">=" || t.text == u"*=" || t.text == u"=*" ||
                 t.text == u"!<" || t.text == u"!>")) {
                advance();
                QString op = t.text;
                if (op == u"!=")
                    op = QStringLiteral("<>");
                else if (op == u"!<")
                    op = QStringLiteral(">=");
                else if (op == u"!>")
                    op = QStringLiteral("<=");
                left = binary(t, op, std::move(left), additive());
                continue;
            }
            bool negated = false;
            size_t save = m_index;
            if (isKeyword(t, "NOT") &&
                (isKeyword(peek(1), "IN") || isKeyword(peek(1), "LIKE") || isKeyword(peek(1), "BETWEEN"))) {
                advance();
                negated = true;
            }
            const Token& k = peek();
            if (isKeyword(k, "IS")) {
                if (negated) {
                    m_index = save;
                    break;
                }
                advance();
                auto e = std::make_unique<Expr>(ExprKind::IsNull, k.pos);
                e->negated = acceptKeyword("NOT");
                expectKeyword("NULL");
                e->args.push_back(std::move(left));
                left = std::move(e);
            } else if (isKeyword(k, "LIKE")) {
                advance();
                auto e = std::make_unique<Expr>(ExprKind::Like, k.pos);
                e->negated = negated;
                e->args.push_back(std::move(left));
                e->args.push_back(additive());
                if (acceptKeyword("ESCAPE")) e->args.push_back(additive());
                left = std::move(e);
            } else if (isKeyword(k, "BETWEEN")) {
                advance();
                auto e = std::make_unique<Expr>(ExprKind::Between, k.pos);
                e->negated = negated;
                e->args.push_back(std::move(left));
                e->args.push_back(additive());
                expectKeyword("AND");
                e->args.push_back(additive());
                left = std::move(e);
            } else if (isKeyword(k, "IN")) {
                advance();
                expect(TokenKind::LParen, QStringLiteral("'('"));
                if (isKeyword(peek(), "SELECT")) {
                    auto e = std::make_unique<Expr>(ExprKind::InSelect, k.pos);
                    e->negated = negated;
                    e->args.push_back(std::move(left));
                    e->subquery = select();
                    left = std::move(e);
                } else {
                    auto e = std::make_unique<Expr>(ExprKind::InList, k.pos);
                    e->negated = negated;
                    e->args.push_back(std::move(left));
                    do {
                        e->args.push_back(expr());
                    } while (acceptComma());
                    left = std::move(e);
                }
                expect(TokenKind::RParen, QStringLiteral("')'"));
            } else {
                break;
            }
        }
        return left;
    }

    ExprPtr additive() {
        ExprPtr left = multiplicative();
        for (;;) {
            const Token& t = peek();
            if (isOperator(t, "+") || isOperator(t, "-") || isOperator(t, "||")) {
                advance();
                left = binary(t, t.text, std::move(left), multiplicative());
            } else {
                return left;
            }
        }
    }

    ExprPtr multiplicative() {
        ExprPtr left = unary();
        for (;;) {
            const Token& t = peek();
            if (isOperator(t, "*") || isOperator(t, "/") || isOperator(t, "%")) {
                advance();
                left = binary(t, t.text, std::move(left), unary());
            } else {
                return left;
            }
        }
    }

    ExprPtr unary() {
        const Token& t = peek();
        if (isOperator(t, "-") || isOperator(t, "+")) {
            DepthGuard guard(*this);
            advance();
            auto e = std::make_unique<Expr>(ExprKind::Unary, t.pos);
            e->text = t.text;
            e->args.push_back(unary());
            return e;
        }
        return primary();
    }

    ExprPtr primary() {
        DepthGuard guard(*this);
        const Token& t = peek();
        switch (t.kind) {
        case TokenKind::Integer: {
            advance();
            auto e = std::make_unique<Expr>(ExprKind::Literal, t.pos);
            bool ok = false;
            qint64 v = t.text.toLongLong(&ok);
            if (ok) {
                e->literal = LiteralKind::Integer;
                e->intValue = v;
            } else {
                e->literal = LiteralKind::Float;
                e->floatValue = t.text.toDouble();
            }
            e->text = t.text;
            return e;
        }
        case TokenKind::Float: {
            advance();
            auto e = std::make_unique<Expr>(ExprKind::Literal, t.pos);
            e->literal = LiteralKind::Float;
            e->floatValue = t.text.toDouble();
            e->text = t.text;
            return e;
        }
        case TokenKind::String: {
            advance();
            auto e = std::make_unique<Expr>(ExprKind::Literal, t.pos);
            e->literal = LiteralKind::Text;
            e->text = t.text;
            return e;
        }
        case TokenKind::Parameter: {
            advance();
            auto e = std::make_unique<Expr>(ExprKind::Parameter, t.pos);
            e->name = t.text;
            return e;
        }
        case TokenKind::LParen: {
            advance();
            if (isKeyword(peek(), "SELECT")) {
                auto e = std::make_unique<Expr>(ExprKind::Subquery, t.pos);
                e->subquery = select();
                expect(TokenKind::RParen, QStringLiteral("')'"));
                return e;
            }
            ExprPtr inner = expr();
            expect(TokenKind::RParen, QStringLiteral("')'"));
            return inner;
        }
        case TokenKind::Keyword:
            if (t.text == u"NULL") {
                advance();
                return std::make_unique<Expr>(ExprKind::Literal, t.pos);
            }
            if (t.text == u"EXISTS") {
                advance();
                auto e = std::make_unique<Expr>(ExprKind::Exists, t.pos);
                expect(TokenKind::LParen, QStringLiteral("'('"));
                e->subquery = select();
                expect(TokenKind::RParen, QStringLiteral("')'"));
                return e;
            }
            if (t.text == u"CASE") return caseExpr();
            if ((t.text == u"LEFT" || t.text == u"RIGHT") && peek(1).kind == TokenKind::LParen)
                return functionCall();
            fail(QStringLiteral("此处不应出现 %1").arg(describe(t)), t);
        case TokenKind::Identifier:
            if (peek(1).kind == TokenKind::LParen) return functionCall();
            return columnRef();
        case TokenKind::End:
            fail(QStringLiteral("语句不完整"), t);
        default:
            fail(QStringLiteral("此处不应出现 %1").arg(describe(t)), t);
        }
    }

    ExprPtr columnRef() {
        const Token& first = advance();
        auto e = std::make_unique<Expr>(ExprKind::Column, first.pos);
        if (peek().kind == TokenKind::Dot) {
            advance();
            e->qualifier = first.text;
            e->name = name(QStringLiteral("字段名"));
            if (peek().kind == TokenKind::Dot) { // owner.table.column
                advance();
                e->qualifier = e->name;
                e->name = name(QStringLiteral("字段名"));
            }
        } else {
            e->name = first.text;
        }
        return e;
    }

    ExprPtr functionCall() {
        const Token& nameToken = advance();
        auto e = std::make_unique<Expr>(ExprKind::Function, nameToken.pos);
        e->name = nameToken.text;
        e->text = nameToken.text.toUpper();
        expect(TokenKind::LParen, QStringLiteral("'('"));
        if (peek().kind == TokenKind::RParen) {
            advance();
            return e;
        }
        if (isOperator(peek(), "*")) {
            advance();
            e->countStar = true;
            expect(TokenKind::RParen, QStringLiteral("')'"));
            return e;
        }
        if (acceptKeyword("DISTINCT"))
            e->distinct = true;
        else
            acceptKeyword("ALL");
        do {
            e->args.push_back(expr());
        } while (acceptComma());
        expect(TokenKind::RParen, QStringLiteral("')'"));
        return e;
    }

    // args: [operand] (when, then)* [else]
    ExprPtr caseExpr() {
        const Token& t = advance();
        auto e = std::make_unique<Expr>(ExprKind::Case, t.pos);
        if (!isKeyword(peek(), "WHEN")) {
            e->caseHasOperand = true;
            e->args.push_back(expr());
        }
        if (!isKeyword(peek(), "WHEN")) fail(QStringLiteral("CASE 至少需要一个 WHEN"), peek());
        while (acceptKeyword("WHEN")) {
            e->args.push_back(expr());
            expectKeyword("THEN");
            e->args.push_back(expr());
        }
        if (acceptKeyword("ELSE")) {
            e->caseHasElse = true;
            e->args.push_back(expr());
        }
        expectKeyword("END");
        return e;
    }
};

} // namespace

std::unique_ptr<Statement> Parser::parse(const QString& text, SqlError& error) {
    if (text.size() > kMaxLength) {
        error = {QStringLiteral("语句太长"), 0};
        return nullptr;
    }
    std::vector<Token> tokens;
    if (!Tokenizer::tokenize(text, tokens, error)) return nullptr;
    try {
        ParserImpl impl(std::move(tokens));
        return impl.statement();
    } catch (const ParseFailure& f) {
        error = f.error;
        return nullptr;
    }
}

} // namespace corvexa::sql
