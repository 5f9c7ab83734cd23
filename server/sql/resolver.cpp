#include "resolver.h"

#include "common/dates.h"
#include "common/gbk.h"
#include "schema.h"

#include <functional>

namespace corvexa::sql {
namespace {

struct ResolveFailure {
    SqlError error;
};

[[noreturn]] void fail(const QString& message, int pos) {
    throw ResolveFailure{{message, pos}};
}

struct Scope {
    std::vector<TableRef>* tables = nullptr;
    Select* select = nullptr;
};

bool isComparison(const QString& op) {
    return op == u"=" || op == u"<>" || op == u"<" || op == u">" || op == u"<=" || op == u">=";
}
bool isOuterJoinOp(const QString& op) {
    return op == u"*=" || op == u"=*";
}
bool isNumeric(SqlType t) {
    return t == SqlType::Integer || t == SqlType::Float || t == SqlType::Decimal;
}

bool isPredicate(const Expr& e) {
    switch (e.kind) {
    case ExprKind::Binary:
        return isComparison(e.text) || isOuterJoinOp(e.text) || e.text == u"AND" || e.text == u"OR";
    case ExprKind::Unary:
        return e.text == u"NOT";
    case ExprKind::IsNull:
    case ExprKind::InList:
    case ExprKind::InSelect:
    case ExprKind::Between:
    case ExprKind::Like:
    case ExprKind::Exists:
        return true;
    default:
        return false;
    }
}

struct FunctionInfo {
    int minArgs;
    int maxArgs;
    bool aggregate;
};

const QHash<QString, FunctionInfo>& functions() {
    static const QHash<QString, FunctionInfo> f = {
        {QStringLiteral("COUNT"), {1, 1, true}},      {QStringLiteral("MAX"), {1, 1, true}},
        {QStringLiteral("MIN"), {1, 1, true}},        {QStringLiteral("SUM"), {1, 1, true}},
        {QStringLiteral("AVG"), {1, 1, true}},        {QStringLiteral("YEAR"), {1, 1, false}},
        {QStringLiteral("MONTH"), {1, 1, false}},     {QStringLiteral("DAY"), {1, 1, false}},
        {QStringLiteral("GETDATE"), {0, 0, false}},   {QStringLiteral("LEN"), {1, 1, false}},
        {QStringLiteral("UPPER"), {1, 1, false}},     {QStringLiteral("LOWER"), {1, 1, false}},
        {QStringLiteral("LTRIM"), {1, 1, false}},     {QStringLiteral("RTRIM"), {1, 1, false}},
        {QStringLiteral("SUBSTRING"), {3, 3, false}}, {QStringLiteral("LEFT"), {2, 2, false}},
        {QStringLiteral("RIGHT"), {2, 2, false}},     {QStringLiteral("ISNULL"), {2, 2, false}},
        {QStringLiteral("ABS"), {1, 1, false}},       {QStringLiteral("ROUND"), {1, 2, false}},
    };
    return f;
}

bool sameExpr(const Expr& a, const Expr& b) {
    if (a.kind != b.kind || a.args.size() != b.args.size() || a.negated != b.negated) return false;
    switch (a.kind) {
    case ExprKind::Column:
        return a.column == b.column && a.tableIndex == b.tableIndex && a.scopeDepth == b.scopeDepth;
    case ExprKind::Literal:
        if (a.literal != b.literal) return false;
        if (a.literal == LiteralKind::Integer) return a.intValue == b.intValue;
        if (a.literal == LiteralKind::Float) return a.floatValue == b.floatValue;
        return a.text == b.text;
    case ExprKind::Function:
        if (a.text != b.text || a.distinct != b.distinct || a.countStar != b.countStar) return false;
        break;
    case ExprKind::Binary:
    case ExprKind::Unary:
        if (a.text != b.text) return false;
        break;
    case ExprKind::Subquery:
    case ExprKind::InSelect:
    case ExprKind::Exists:
    case ExprKind::Star:
    case ExprKind::Parameter:
        return false;
    default:
        break;
    }
    for (size_t i = 0; i < a.args.size(); ++i) {
        if (!sameExpr(*a.args[i], *b.args[i])) return false;
    }
    return true;
}

class Binder {
public:
    Binder(const Schema& schema, const TranslateOptions& options, Translation& out)
        : m_schema(schema), m_options(options), m_out(out) {}

    void statement(Statement& stmt) {
        switch (stmt.kind) {
        case StatementKind::Select:
            m_out.isQuery = true;
            select(*stmt.select, true);
            if (stmt.select->from.size() == 1) m_out.targetTable = stmt.select->from[0].table->name;
            break;
        case StatementKind::Insert:
            insert(stmt);
            break;
        case StatementKind::Update:
            update(stmt);
            break;
        case StatementKind::Delete:
            remove(stmt);
            break;
        }
    }

private:
    const Schema& m_schema;
    TranslateOptions m_options;
    Translation& m_out;
    std::vector<Scope> m_scopes;
    bool m_inSelect = false; // secret columns may not be read by queries
    int m_aggregateDepth = 0;
    bool m_aggregateAllowed = false;

    const TableDef* lookupTable(TableRef& ref) {
        const TableDef* t = m_schema.table(ref.name);
        if (!t) fail(QStringLiteral("未知的表 %1").arg(ref.name), ref.pos);
        ref.table = t;
        ref.exposedName = ref.alias.isEmpty() ? ref.name : ref.alias;
        return t;
    }

    void bindTables(std::vector<TableRef>& tables) {
        for (size_t i = 0; i < tables.size(); ++i) {
            lookupTable(tables[i]);
            for (size_t j = 0; j < i; ++j) {
                if (tables[j].exposedName.compare(tables[i].exposedName, Qt::CaseInsensitive) == 0)
                    fail(QStringLiteral("表名或别名 %1 重复出现").arg(tables[i].exposedName), tables[i].pos);
            }
        }
    }

    void columnRef(Expr& e) {
        for (int depth = 0; depth < int(m_scopes.size()); ++depth) {
            Scope& scope = m_scopes[m_scopes.size() - 1 - size_t(depth)];
            auto& tables = *scope.tables;
            int found = -1;
            const ColumnDef* col = nullptr;
            if (!e.qualifier.isEmpty()) {
                for (size_t i = 0; i < tables.size(); ++i) {
                    if (tables[i].exposedName.compare(e.qualifier, Qt::CaseInsensitive) == 0) found = int(i);
                }
                if (found < 0) {
                    for (size_t i = 0; i < tables.size(); ++i) {
                        if (tables[i].alias.isEmpty()
                                ? false
                                : tables[i].table->name.compare(e.qualifier, Qt::CaseInsensitive) == 0)
                            found = int(i);
                    }
                }
                if (found < 0) continue;
                col = tables[size_t(found)].table->column(e.name);
                if (!col)
                    fail(QStringLiteral("表 %1 中没有字段 %2").arg(tables[size_t(found)].table->name, e.name),
                         e.pos);
            } else {
                for (size_t i = 0; i < tables.size(); ++i) {
                    const ColumnDef* c = tables[i].table->column(e.name);
                    if (!c) continue;
                    if (found >= 0)
                        fail(QStringLiteral("字段 %1 不明确：%2 和 %3 都有这个字段")
                                 .arg(e.name, tables[size_t(found)].exposedName, tables[i].exposedName),
                             e.pos);
                    found = int(i);
                    col = c;
                }
                if (found < 0) continue;
            }
            if (col->secret && m_inSelect && !m_options.allowSecret)
                fail(QStringLiteral("字段 %1 不允许读取").arg(col->name), e.pos);
            e.tableIndex = found;
            e.scopeDepth = depth;
            e.column = col;
            e.type = sqlTypeOf(col->type);
            return;
        }
        if (!e.qualifier.isEmpty()) fail(QStringLiteral("未知的表名或别名 %1").arg(e.qualifier), e.pos);
        fail(QStringLiteral("未知的字段 %1").arg(e.name), e.pos);
    }

    // Marks an operand that meets a date so that the generator converts it.
    void coerceToDate(Expr& operand, bool againstColumn) {
        if (operand.type == SqlType::DateTime || operand.type == SqlType::Null) return;
        if (operand.kind == ExprKind::Literal && operand.literal == LiteralKind::Text) {
            auto parsed = dates::parseDateText(operand.text);
            if (!parsed)
                fail(QStringLiteral("'%1' 不是有效的日期（应为 yyyy-mm-dd）").arg(operand.text), operand.pos);
            operand.coerce = DateCoercion::FromText;
            operand.dateValue = *parsed;
        } else if (isNumeric(operand.type)) {
            operand.coerce = againstColumn ? DateCoercion::FromDayNumber : DateCoercion::FromElapsedDays;
            if (operand.kind == ExprKind::Literal) {
                double v =
                    operand.literal == LiteralKind::Integer ? double(operand.intValue) : operand.floatValue;
                operand.dateValue = againstColumn ? dates::fromDayNumber(v) : dates::fromElapsedDays(v);
                if (!operand.dateValue.isValid())
                    fail(QStringLiteral("%1 超出日期的范围").arg(operand.text), operand.pos);
            }
        } else if (operand.type == SqlType::Text) {
            operand.coerce = DateCoercion::FromText;
        } else if (operand.type != SqlType::Unknown) {
            fail(QStringLiteral("%1值不能与日期比较").arg(typeName(operand.type)), operand.pos);
        }
    }

    static bool isDateColumn(const Expr& e) {
        return e.kind == ExprKind::Column && e.type == SqlType::DateTime;
    }

    // Two operands that are compared: a date on one side makes the other a date.
    void unifyForComparison(Expr& a, Expr& b) {
        if (a.type == SqlType::DateTime && b.type != SqlType::DateTime)
            coerceToDate(b, isDateColumn(a));
        else if (b.type == SqlType::DateTime && a.type != SqlType::DateTime)
            coerceToDate(a, isDateColumn(b));
    }

    void checkFits(const ColumnDef& col, const TableDef& table, const Expr& value) {
        if (col.type == ColumnType::Text && col.width > 0 && value.kind == ExprKind::Literal &&
            value.literal == LiteralKind::Text) {
            int w = gbk::byteWidth(value.text);
            if (w > col.width)
                fail(QStringLiteral("值 '%1' 有 %2 字节，超出字段 %3.%4 的宽度 %5 字节")
                         .arg(value.text.left(40))
                         .arg(w)
                         .arg(table.name, col.name)
                         .arg(col.width),
                     value.pos);
        }
    }

    void assignTo(const ColumnDef& col, const TableDef& table, Expr& value) {
        if (col.type == ColumnType::Serial && !m_options.writeSerials)
            fail(QStringLiteral("字段 %1 由服务器分配，不能写入").arg(col.name), value.pos);
        if (col.required && value.kind == ExprKind::Literal && value.literal == LiteralKind::Null)
            fail(QStringLiteral("字段 %1.%2 不能为空").arg(table.name, col.name), value.pos);
        if (col.type == ColumnType::DateTime) coerceToDate(value, true);
        checkFits(col, table, value);
    }

    void predicate(Expr& e, const char* where) {
        expr(e);
        if (!isPredicate(e))
            fail(QStringLiteral("%1 后应为条件（比较、Like、In、Is NULL 等）").arg(QLatin1String(where)),
                 e.pos);
    }

    void expr(Expr& e) {
        switch (e.kind) {
        case ExprKind::Literal:
            switch (e.literal) {
            case LiteralKind::Null:
                e.type = SqlType::Null;
                break;
            case LiteralKind::Integer:
                e.type = SqlType::Integer;
                break;
            case LiteralKind::Float:
                e.type = SqlType::Float;
                break;
            case LiteralKind::Text:
                e.type = SqlType::Text;
                break;
            }
            return;
        case ExprKind::Column:
            columnRef(e);
            return;
        case ExprKind::Star:
            fail(QStringLiteral("* 只能用在输出列表中"), e.pos);
        case ExprKind::Parameter:
            if (!m_options.allowParameters) fail(QStringLiteral("语句中不能使用参数 :%1").arg(e.name), e.pos);
            e.parameterIndex = int(m_out.parameters.size());
            m_out.parameters << e.name;
            e.type = SqlType::Unknown;
            return;
        case ExprKind::Unary:
            if (e.text == u"NOT") {
                predicate(*e.args[0], "NOT");
                e.type = SqlType::Boolean;
            } else {
                expr(*e.args[0]);
                if (!isNumeric(e.args[0]->type) && e.args[0]->type != SqlType::Unknown &&
                    e.args[0]->type != SqlType::Null)
                    fail(QStringLiteral("正负号只能用于数值"), e.pos);
                e.type = e.args[0]->type;
            }
            return;
        case ExprKind::Binary:
            binary(e);
            return;
        case ExprKind::IsNull:
            expr(*e.args[0]);
            e.type = SqlType::Boolean;
            return;
        case ExprKind::InList:
            for (auto& a : e.args)
                expr(*a);
            for (size_t i = 1; i < e.args.size(); ++i)
                unifyForComparison(*e.args[0], *e.args[i]);
            e.type = SqlType::Boolean;
            return;
        case ExprKind::InSelect: {
            expr(*e.args[0]);
            subquery(*e.subquery);
            if (e.subquery->items.size() != 1)
                fail(QStringLiteral("In 中的子查询只能有一个输出列"), e.subquery->pos);
            Expr& item = *e.subquery->items[0].expr;
            unifyForComparison(*e.args[0], item);
            e.type = SqlType::Boolean;
            return;
        }
        case ExprKind::Between:
            for (auto& a : e.args)
                expr(*a);
            unifyForComparison(*e.args[0], *e.args[1]);
            unifyForComparison(*e.args[0], *e.args[2]);
            e.type = SqlType::Boolean;
            return;
        case ExprKind::Like:
            for (auto& a : e.args)
                expr(*a);
            e.type = SqlType::Boolean;
            return;
        case ExprKind::Exists:
            subquery(*e.subquery);
            e.type = SqlType::Boolean;
            return;
        case ExprKind::Subquery:
            subquery(*e.subquery);
            if (e.subquery->items.size() != 1)
                fail(QStringLiteral("作为值的子查询只能有一个输出列"), e.subquery->pos);
            e.type = e.subquery->items[0].expr->type;
            return;
        case ExprKind::Case: {
            size_t i = 0;
            if (e.caseHasOperand) expr(*e.args[i++]);
            SqlType result = SqlType::Null;
            size_t whenEnd = e.args.size() - (e.caseHasElse ? 1 : 0);
            for (; i + 1 < whenEnd; i += 2) {
                if (e.caseHasOperand) {
                    expr(*e.args[i]);
                    unifyForComparison(*e.args[0], *e.args[i]);
                } else {
                    predicate(*e.args[i], "WHEN");
                }
                expr(*e.args[i + 1]);
                if (result == SqlType::Null) result = e.args[i + 1]->type;
            }
            if (e.caseHasElse) {
                expr(*e.args.back());
                if (result == SqlType::Null) result = e.args.back()->type;
            }
            e.type = result;
            return;
        }
        case ExprKind::Function:
            function(e);
            return;
        }
    }

    void binary(Expr& e) {
        const QString& op = e.text;
        if (op == u"AND" || op == u"OR") {
            predicate(*e.args[0], op == u"AND" ? "AND" : "OR");
            predicate(*e.args[1], op == u"AND" ? "AND" : "OR");
            e.type = SqlType::Boolean;
            return;
        }
        expr(*e.args[0]);
        expr(*e.args[1]);
        Expr& a = *e.args[0];
        Expr& b = *e.args[1];
        if (isComparison(op) || isOuterJoinOp(op)) {
            unifyForComparison(a, b);
            e.type = SqlType::Boolean;
            return;
        }
        auto numericResult = [&] {
            for (const Expr* x : {&a, &b}) {
                if (x->type == SqlType::Text && !(x->kind == ExprKind::Literal))
                    fail(QStringLiteral("文本不能参与运算 %1").arg(op), e.pos);
                if (x->type == SqlType::Boolean) fail(QStringLiteral("逻辑值不能参与运算 %1").arg(op), e.pos);
            }
            bool isFloat = a.type == SqlType::Float || b.type == SqlType::Float ||
                           a.type == SqlType::Decimal || b.type == SqlType::Decimal;
            return isFloat ? SqlType::Float : SqlType::Integer;
        };
        if (op == u"||") {
            e.type = SqlType::Text;
        } else if (op == u"+") {
            if (a.type == SqlType::DateTime || b.type == SqlType::DateTime) {
                Expr& other = a.type == SqlType::DateTime ? b : a;
                if (other.type == SqlType::Text) fail(QStringLiteral("日期不能与文本相加"), e.pos);
                e.type = SqlType::DateTime;
            } else if (a.type == SqlType::Text || b.type == SqlType::Text) {
                if (isNumeric(a.type) || isNumeric(b.type)) fail(QStringLiteral("文本不能与数值相加"), e.pos);
                e.text = QStringLiteral("||");
                e.type = SqlType::Text;
            } else {
                e.type = numericResult();
            }
        } else if (op == u"-") {
            if (a.type == SqlType::DateTime && b.type == SqlType::DateTime) {
                e.type = SqlType::DateTime; // elapsed time, as a date from 1900-01-01
            } else if (a.type == SqlType::DateTime &&
                       (isNumeric(b.type) || b.type == SqlType::Null || b.type == SqlType::Unknown)) {
                e.type = SqlType::DateTime;
            } else if (b.type == SqlType::DateTime) {
                fail(QStringLiteral("数值不能减去日期"), e.pos);
            } else {
                e.type = numericResult();
            }
        } else {
            if (a.type == SqlType::DateTime || b.type == SqlType::DateTime)
                fail(QStringLiteral("日期不能参与运算 %1").arg(op), e.pos);
            e.type = numericResult();
        }
    }

    void function(Expr& e) {
        auto it = functions().constFind(e.text);
        if (it == functions().constEnd()) fail(QStringLiteral("未知的函数 %1").arg(e.name), e.pos);
        const FunctionInfo& info = *it;
        int argc = int(e.args.size()) + (e.countStar ? 1 : 0);
        if (e.countStar && e.text != u"COUNT") fail(QStringLiteral("只有 Count 可以写 (*)"), e.pos);
        if (argc < info.minArgs || argc > info.maxArgs)
            fail(QStringLiteral("函数 %1 的参数个数不对").arg(e.name), e.pos);
        if (e.distinct && !info.aggregate) fail(QStringLiteral("DISTINCT 只能用在聚合函数中"), e.pos);
        e.aggregate = info.aggregate;
        if (info.aggregate) {
            if (!m_aggregateAllowed) fail(QStringLiteral("此处不能使用聚合函数 %1").arg(e.name), e.pos);
            if (m_aggregateDepth > 0) fail(QStringLiteral("聚合函数不能嵌套"), e.pos);
            ++m_aggregateDepth;
        }
        for (auto& a : e.args)
            expr(*a);
        if (info.aggregate) --m_aggregateDepth;
        SqlType first = e.args.empty() ? SqlType::Unknown : e.args[0]->type;
        const QString& f = e.text;
        if (f == u"COUNT") {
            e.type = SqlType::Integer;
        } else if (f == u"MAX" || f == u"MIN" || f == u"ISNULL") {
            e.type = first;
            if (f == u"ISNULL") unifyForComparison(*e.args[0], *e.args[1]);
        } else if (f == u"SUM" || f == u"AVG" || f == u"ABS" || f == u"ROUND") {
            if (!isNumeric(first) && first != SqlType::Null && first != SqlType::Unknown)
                fail(QStringLiteral("函数 %1 只能用于数值").arg(e.name), e.pos);
            e.type = first == SqlType::Null ? SqlType::Integer : first;
        } else if (f == u"YEAR" || f == u"MONTH" || f == u"DAY") {
            coerceToDate(*e.args[0], false);
            e.type = SqlType::Integer;
        } else if (f == u"GETDATE") {
            e.type = SqlType::DateTime;
        } else if (f == u"LEN") {
            e.type = SqlType::Integer;
        } else {
            e.type = SqlType::Text;
        }
    }

    void subquery(Select& s) {
        bool savedAllowed = m_aggregateAllowed;
        int savedDepth = m_aggregateDepth;
        m_aggregateDepth = 0;
        bool savedInSelect = m_inSelect;
        select(s, false);
        m_inSelect = savedInSelect;
        m_aggregateAllowed = savedAllowed;
        m_aggregateDepth = savedDepth;
    }

    static bool containsAggregate(const Expr& e) {
        if (e.kind == ExprKind::Function && e.aggregate) return true;
        for (const auto& a : e.args) {
            if (containsAggregate(*a)) return true;
        }
        return false;
    }

    static bool containsOuterJoin(const Expr& e) {
        if (e.kind == ExprKind::Binary && isOuterJoinOp(e.text)) return true;
        for (const auto& a : e.args) {
            if (containsOuterJoin(*a)) return true;
        }
        return false;
    }

    // The one table of this select that a side of an outer join reads.
    static int singleTable(const Expr& e, int& found) {
        if (e.kind == ExprKind::Column) {
            if (e.scopeDepth != 0) return -2;
            if (found == -1)
                found = e.tableIndex;
            else if (found != e.tableIndex)
                return -2;
        }
        if (e.kind == ExprKind::Subquery || e.kind == ExprKind::InSelect || e.kind == ExprKind::Exists)
            return -2;
        for (const auto& a : e.args) {
            if (singleTable(*a, found) == -2) return -2;
        }
        return found;
    }

    void extractOuterJoins(Select& s) {
        if (!s.where) return;
        std::vector<ExprPtr> conjuncts;
        std::function<void(ExprPtr)> split = [&](ExprPtr e) {
            if (e->kind == ExprKind::Binary && e->text == u"AND") {
                split(std::move(e->args[0]));
                split(std::move(e->args[1]));
            } else {
                conjuncts.push_back(std::move(e));
            }
        };
        if (!containsOuterJoin(*s.where)) return;
        split(std::move(s.where));
        std::vector<ExprPtr> rest;
        for (auto& c : conjuncts) {
            if (!(c->kind == ExprKind::Binary && isOuterJoinOp(c->text))) {
                if (containsOuterJoin(*c))
                    fail(QStringLiteral("外连接运算符 *= 或 =* 只能用在以 AND 连接的条件中"), c->pos);
                rest.push_back(std::move(c));
                continue;
            }
            for (const auto& t : s.from) {
                if (t.join != JoinKind::Comma)
                    fail(QStringLiteral("外连接运算符 *= 或 =* 不能与 JOIN 写法混用"), c->pos);
            }
            int left = -1, right = -1;
            left = singleTable(*c->args[0], left);
            right = singleTable(*c->args[1], right);
            if (left < 0 || right < 0 || left == right)
                fail(QStringLiteral("外连接 %1 的两边必须各自取自本查询的一个表").arg(c->text), c->pos);
            bool keepLeft = c->text == u"*=";
            int kept = keepLeft ? left : right;
            int joined = keepLeft ? right : left;
            c->text = QStringLiteral("=");
            OuterJoin* target = nullptr;
            for (auto& oj : s.outerJoins) {
                if (oj.joinedTable == joined) {
                    if (oj.keptTable != kept)
                        fail(QStringLiteral("表 %1 不能同时外连接到两个表")
                                 .arg(s.from[size_t(joined)].exposedName),
                             c->pos);
                    target = &oj;
                }
            }
            if (!target) {
                s.outerJoins.push_back({kept, joined, {}});
                target = &s.outerJoins.back();
            }
            target->conditions.push_back(std::move(c));
        }
        // No table may (indirectly) extend itself.
        for (const auto& oj : s.outerJoins) {
            int at = oj.keptTable;
            for (size_t steps = 0; steps <= s.outerJoins.size(); ++steps) {
                auto parent = std::find_if(s.outerJoins.begin(), s.outerJoins.end(),
                                           [&](const OuterJoin& o) { return o.joinedTable == at; });
                if (parent == s.outerJoins.end()) break;
                at = parent->keptTable;
                if (at == oj.joinedTable || steps == s.outerJoins.size())
                    fail(QStringLiteral("外连接形成了循环"), s.pos);
            }
        }
        ExprPtr where;
        for (auto& c : rest) {
            if (!where) {
                where = std::move(c);
            } else {
                auto e = std::make_unique<Expr>(ExprKind::Binary, c->pos);
                e->text = QStringLiteral("AND");
                e->type = SqlType::Boolean;
                e->args.push_back(std::move(where));
                e->args.push_back(std::move(c));
                where = std::move(e);
            }
        }
        s.where = std::move(where);
    }

    void checkGrouped(const Expr& e, const std::vector<ExprPtr>& groupBy, const char* where) {
        for (const auto& g : groupBy) {
            if (sameExpr(e, *g)) return;
        }
        if (e.kind == ExprKind::Function && e.aggregate) return;
        if (e.kind == ExprKind::Column && e.scopeDepth == 0)
            fail(QStringLiteral("%1中的字段 %2 既不在 GROUP BY 中，也不在聚合函数中")
                     .arg(QLatin1String(where), e.name),
                 e.pos);
        if (e.kind == ExprKind::Subquery || e.kind == ExprKind::InSelect || e.kind == ExprKind::Exists)
            return;
        for (const auto& a : e.args)
            checkGrouped(*a, groupBy, where);
    }

    void select(Select& s, bool top) {
        m_inSelect = true;
        bindTables(s.from);
        m_scopes.push_back({&s.from, &s});
        // Explicit joins: ON sees the tables up to its own.
        for (auto& t : s.from) {
            if (t.on) {
                m_aggregateAllowed = false;
                predicate(*t.on, "ON");
            }
        }
        // Expand stars.
        std::vector<SelectItem> items;
        for (auto& item : s.items) {
            if (item.expr->kind != ExprKind::Star) {
                items.push_back(std::move(item));
                continue;
            }
            bool any = false;
            for (size_t i = 0; i < s.from.size(); ++i) {
                const TableRef& t = s.from[i];
                if (!item.expr->qualifier.isEmpty() &&
                    t.exposedName.compare(item.expr->qualifier, Qt::CaseInsensitive) != 0)
                    continue;
                any = true;
                for (const auto& col : t.table->columns) {
                    if (col.secret) continue;
                    SelectItem expanded;
                    expanded.pos = item.pos;
                    expanded.expr = std::make_unique<Expr>(ExprKind::Column, item.pos);
                    expanded.expr->qualifier = t.exposedName;
                    expanded.expr->name = col.name;
                    items.push_back(std::move(expanded));
                }
            }
            if (!any)
                fail(item.expr->qualifier.isEmpty()
                         ? QStringLiteral("没有 FROM 的查询不能使用 *")
                         : QStringLiteral("未知的表名或别名 %1").arg(item.expr->qualifier),
                     item.pos);
        }
        s.items = std::move(items);
        m_aggregateAllowed = true;
        for (auto& item : s.items)
            expr(*item.expr);
        m_aggregateAllowed = false;
        if (s.where) {
            predicate(*s.where, "WHERE");
            extractOuterJoins(s);
        }
        for (auto& g : s.groupBy)
            expr(*g);
        m_aggregateAllowed = true;
        if (s.having) predicate(*s.having, "HAVING");
        // ORDER BY: an output alias or position first, then columns.
        for (auto& o : s.orderBy) {
            Expr& e = *o.expr;
            if (e.kind == ExprKind::Column && e.qualifier.isEmpty()) {
                for (size_t i = 0; i < s.items.size(); ++i) {
                    if (s.items[i].hasAlias && s.items[i].alias.compare(e.name, Qt::CaseInsensitive) == 0) {
                        o.outputColumn = int(i);
                        break;
                    }
                }
            } else if (e.kind == ExprKind::Literal && e.literal == LiteralKind::Integer) {
                if (e.intValue < 1 || e.intValue > qint64(s.items.size()))
                    fail(QStringLiteral("ORDER BY 的列号 %1 超出范围").arg(e.intValue), e.pos);
                o.outputColumn = int(e.intValue - 1);
            }
            if (o.outputColumn >= 0) continue;
            expr(e);
            for (size_t i = 0; i < s.items.size(); ++i) {
                if (sameExpr(e, *s.items[i].expr)) {
                    o.outputColumn = int(i);
                    break;
                }
            }
            if (s.distinct && o.outputColumn < 0)
                fail(QStringLiteral("使用 DISTINCT 时，ORDER BY 的项必须出现在输出列表中"), e.pos);
        }
        m_aggregateAllowed = false;
        bool grouped = !s.groupBy.empty() || s.having;
        for (const auto& item : s.items)
            grouped = grouped || containsAggregate(*item.expr);
        if (grouped) {
            for (const auto& item : s.items)
                checkGrouped(*item.expr, s.groupBy, "输出列表");
            for (const auto& o : s.orderBy) {
                if (o.outputColumn < 0) checkGrouped(*o.expr, s.groupBy, "ORDER BY ");
            }
        }
        if (top) {
            for (const auto& item : s.items) {
                ResultColumn rc;
                rc.type = item.expr->type;
                if (item.hasAlias)
                    rc.name = item.alias;
                else if (item.expr->kind == ExprKind::Column)
                    rc.name = item.expr->name;
                m_out.columns.push_back(rc);
            }
        }
        m_scopes.pop_back();
    }

    std::vector<TableRef> m_single;

    void singleTableScope(Statement& stmt) {
        m_single.clear();
        m_single.push_back(std::move(stmt.table));
        bindTables(m_single);
        m_out.targetTable = m_single[0].table->name;
        m_scopes.push_back({&m_single, nullptr});
    }
    void endSingleTableScope(Statement& stmt) {
        m_scopes.pop_back();
        stmt.table = std::move(m_single[0]);
    }

    void insert(Statement& stmt) {
        const TableDef* t = lookupTable(stmt.table);
        m_out.targetTable = t->name;
        if (stmt.assignments.empty()) {
            for (const auto& col : t->columns) {
                if (col.type == ColumnType::Serial) continue;
                Assignment a;
                a.column = col.name;
                a.pos = stmt.table.pos;
                stmt.assignments.push_back(std::move(a));
            }
        }
        for (auto& a : stmt.assignments) {
            a.def = t->column(a.column);
            if (!a.def) fail(QStringLiteral("表 %1 中没有字段 %2").arg(t->name, a.column), a.pos);
            if (a.def->type == ColumnType::Serial && !m_options.writeSerials)
                fail(QStringLiteral("字段 %1 由服务器分配，不能写入").arg(a.def->name), a.pos);
            for (const auto& b : stmt.assignments) {
                if (&b != &a && b.column.compare(a.column, Qt::CaseInsensitive) == 0)
                    fail(QStringLiteral("字段 %1 写了两次").arg(a.column), b.pos);
            }
        }
        for (const auto& col : t->columns) {
            if (!col.required || col.type == ColumnType::Serial) continue;
            bool listed = std::any_of(stmt.assignments.begin(), stmt.assignments.end(),
                                      [&](const Assignment& a) { return a.def == &col; });
            if (!listed) fail(QStringLiteral("字段 %1.%2 不能为空").arg(t->name, col.name), stmt.table.pos);
        }
        if (stmt.select) {
            m_inSelect = true;
            subquery(*stmt.select);
            if (stmt.select->items.size() != stmt.assignments.size())
                fail(QStringLiteral("子查询的列数与 Insert 的字段数不同"), stmt.select->pos);
            for (size_t i = 0; i < stmt.assignments.size(); ++i) {
                if (stmt.assignments[i].def->type == ColumnType::DateTime)
                    coerceToDate(*stmt.select->items[i].expr, true);
            }
            return;
        }
        std::vector<TableRef> none;
        m_scopes.push_back({&none, nullptr});
        for (auto& row : stmt.rows) {
            if (row.size() != stmt.assignments.size())
                fail(QStringLiteral("VALUES 的值个数（%1）与字段个数（%2）不同")
                         .arg(row.size())
                         .arg(stmt.assignments.size()),
                     row.empty() ? stmt.table.pos : row[0]->pos);
            for (size_t i = 0; i < row.size(); ++i) {
                expr(*row[i]);
                assignTo(*stmt.assignments[i].def, *t, *row[i]);
            }
        }
        m_scopes.pop_back();
    }

    void update(Statement& stmt) {
        singleTableScope(stmt);
        const TableDef* t = m_single[0].table;
        for (auto& a : stmt.assignments) {
            a.def = t->column(a.column);
            if (!a.def) fail(QStringLiteral("表 %1 中没有字段 %2").arg(t->name, a.column), a.pos);
            expr(*a.value);
            assignTo(*a.def, *t, *a.value);
        }
        if (stmt.where) predicate(*stmt.where, "WHERE");
        endSingleTableScope(stmt);
    }

    void remove(Statement& stmt) {
        singleTableScope(stmt);
        if (stmt.where) predicate(*stmt.where, "WHERE");
        endSingleTableScope(stmt);
    }
};

} // namespace

bool Resolver::resolve(Statement& stmt, Translation& out, SqlError& error) {
    try {
        Binder binder(m_schema, m_options, out);
        binder.statement(stmt);
        return true;
    } catch (const ResolveFailure& f) {
        error = f.error;
        return false;
    }
}

} // namespace corvexa::sql
