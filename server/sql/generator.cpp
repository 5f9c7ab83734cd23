#include "generator.h"

#include "common/dates.h"
#include "schema.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace corvexa::sql {

QString Generator::quoteIdentifier(const QString& name) const {
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QString Generator::textLiteral(const QString& value) const {
    QString q = value;
    q.replace(u'\'', QStringLiteral("''"));
    q.remove(QChar(0));
    return u'\'' + q + u'\'';
}

QString Generator::likeExpr(const QString& value, const QString& pattern, bool negated,
                            const QString& escape) const {
    QString s = value + (negated ? QStringLiteral(" NOT LIKE ") : QStringLiteral(" LIKE ")) + pattern;
    if (!escape.isEmpty()) s += QStringLiteral(" ESCAPE ") + escape;
    return u'(' + s + u')';
}

QString Generator::inList(const QString& value, const QStringList& items, bool negated, bool) const {
    return u'(' + value + (negated ? QStringLiteral(" NOT IN (") : QStringLiteral(" IN (")) +
           items.join(QStringLiteral(", ")) + QStringLiteral("))");
}

QString Generator::function(const Expr& e, const QStringList& a) const {
    const QString& f = e.text;
    if (f == u"COUNT") {
        if (e.countStar) return QStringLiteral("count(*)");
        return QStringLiteral("count(") + (e.distinct ? QStringLiteral("DISTINCT ") : QString()) + a[0] +
               u')';
    }
    if (f == u"MAX" || f == u"MIN" || f == u"SUM")
        return f.toLower() + u'(' + (e.distinct ? QStringLiteral("DISTINCT ") : QString()) + a[0] + u')';
    if (f == u"YEAR") return datePart("year", a[0]);
    if (f == u"MONTH") return datePart("month", a[0]);
    if (f == u"DAY") return datePart("day", a[0]);
    if (f == u"GETDATE") return now();
    if (f == u"UPPER" || f == u"LOWER" || f == u"LTRIM" || f == u"RTRIM" || f == u"ABS")
        return f.toLower() + u'(' + a[0] + u')';
    if (f == u"ROUND") return QStringLiteral("round(") + a.join(QStringLiteral(", ")) + u')';
    if (f == u"ISNULL") return QStringLiteral("coalesce(") + a[0] + QStringLiteral(", ") + a[1] + u')';
    return {};
}

QString Generator::statement(const Statement& stmt) {
    m_scopes.clear();
    m_singleTable = nullptr;
    switch (stmt.kind) {
    case StatementKind::Select:
        return select(*stmt.select);
    case StatementKind::Insert: {
        QStringList cols;
        for (const auto& a : stmt.assignments)
            cols << quoteIdentifier(a.def->name);
        QString s = QStringLiteral("INSERT INTO ") + quoteIdentifier(stmt.table.table->name) +
                    QStringLiteral(" (") + cols.join(QStringLiteral(", ")) + QStringLiteral(") ");
        if (stmt.select) {
            // Date conversions of the selected values are applied by operand().
            return s + select(*stmt.select) + insertSuffix(*stmt.table.table);
        }
        QStringList rows;
        for (const auto& row : stmt.rows) {
            QStringList values;
            for (const auto& v : row)
                values << operand(*v);
            rows << u'(' + values.join(QStringLiteral(", ")) + u')';
        }
        return s + QStringLiteral("VALUES ") + rows.join(QStringLiteral(", ")) +
               insertSuffix(*stmt.table.table);
    }
    case StatementKind::Update: {
        m_singleTable = &stmt.table;
        QStringList sets;
        for (const auto& a : stmt.assignments)
            sets << quoteIdentifier(a.def->name) + QStringLiteral(" = ") + operand(*a.value);
        QString s = QStringLiteral("UPDATE ") + quoteIdentifier(stmt.table.table->name) +
                    QStringLiteral(" SET ") + sets.join(QStringLiteral(", "));
        if (stmt.where) s += QStringLiteral(" WHERE ") + expr(*stmt.where);
        return s;
    }
    case StatementKind::Delete: {
        m_singleTable = &stmt.table;
        QString s = QStringLiteral("DELETE FROM ") + quoteIdentifier(stmt.table.table->name);
        if (stmt.where) s += QStringLiteral(" WHERE ") + expr(*stmt.where);
        return s;
    }
    }
    return {};
}

QString Generator::tableSource(const TableRef& t) const {
    QString s = quoteIdentifier(t.table->name);
    if (t.exposedName != t.table->name) s += QStringLiteral(" AS ") + quoteIdentifier(t.exposedName);
    return s;
}

QString Generator::fromClause(const Select& s) {
    QString out;
    if (s.outerJoins.empty()) {
        for (size_t i = 0; i < s.from.size(); ++i) {
            const TableRef& t = s.from[i];
            switch (t.join) {
            case JoinKind::Comma:
                out += i == 0 ? QString() : QStringLiteral(", ");
                break;
            case JoinKind::Inner:
                out += QStringLiteral(" INNER JOIN ");
                break;
            case JoinKind::Left:
                out += QStringLiteral(" LEFT JOIN ");
                break;
            case JoinKind::Right:
                out += QStringLiteral(" RIGHT JOIN ");
                break;
            }
            out += tableSource(t);
            if (t.on) out += QStringLiteral(" ON ") + expr(*t.on);
        }
        return out;
    }
    // Outer joins written in WHERE: every table that another one keeps hangs
    // below it as a LEFT JOIN with the equalities in ON; the rest stay a list.
    std::function<void(int)> emitTable = [&](int table) {
        out += tableSource(s.from[size_t(table)]);
        for (const auto& oj : s.outerJoins) {
            if (oj.keptTable != table) continue;
            out += QStringLiteral(" LEFT JOIN ");
            QString conditions;
            for (const auto& c : oj.conditions)
                conditions += (conditions.isEmpty() ? QString() : QStringLiteral(" AND ")) + expr(*c);
            // The joined table's own joins come right after it, before its ON.
            QString saved = out;
            out.clear();
            emitTable(oj.joinedTable);
            QString joined = out;
            out = saved;
            if (joined.contains(QStringLiteral(" LEFT JOIN ")))
                out += u'(' + joined + u')';
            else
                out += joined;
            out += QStringLiteral(" ON ") + conditions;
        }
    };
    bool first = true;
    for (size_t i = 0; i < s.from.size(); ++i) {
        bool joined = std::any_of(s.outerJoins.begin(), s.outerJoins.end(),
                                  [&](const OuterJoin& oj) { return oj.joinedTable == int(i); });
        if (joined) continue;
        if (!first) out += QStringLiteral(", ");
        first = false;
        emitTable(int(i));
    }
    return out;
}

QString Generator::select(const Select& s) {
    m_scopes.push_back(&s);
    QString out = QStringLiteral("SELECT ");
    if (s.distinct) out += QStringLiteral("DISTINCT ");
    QStringList items;
    for (const auto& item : s.items) {
        QString e = operand(*item.expr);
        if (item.hasAlias)
            e += QStringLiteral(" AS ") + quoteIdentifier(item.alias);
        else if (item.expr->kind == ExprKind::Column)
            e += QStringLiteral(" AS ") + quoteIdentifier(item.expr->name);
        items << e;
    }
    out += items.join(QStringLiteral(", "));
    m_beforeGrouping.push_back(&s);
    if (!s.from.empty()) out += QStringLiteral(" FROM ") + fromClause(s);
    if (s.where) out += QStringLiteral(" WHERE ") + expr(*s.where);
    if (!s.groupBy.empty()) {
        QStringList g;
        for (const auto& e : s.groupBy)
            g << (e->type == SqlType::Text ? groupKey(expr(*e)) : expr(*e));
        out += QStringLiteral(" GROUP BY ") + g.join(QStringLiteral(", "));
    }
    m_beforeGrouping.pop_back();
    if (s.having) out += QStringLiteral(" HAVING ") + expr(*s.having);
    if (!s.orderBy.empty()) {
        QStringList o;
        for (const auto& item : s.orderBy) {
            const Expr& e = item.outputColumn >= 0 ? *s.items[size_t(item.outputColumn)].expr : *item.expr;
            QString text;
            if (item.outputColumn >= 0 &&
                (e.type != SqlType::Text || (e.kind == ExprKind::Column && columnsCarryCollation())))
                text = QString::number(item.outputColumn + 1);
            else
                text = e.type == SqlType::Text ? collateForOrder(operand(e)) : operand(e);
            o << text + orderDirection(item.descending);
        }
        out += QStringLiteral(" ORDER BY ") + o.join(QStringLiteral(", "));
    }
    if (s.top) out += limit(*s.top);
    m_scopes.pop_back();
    return out;
}

QString Generator::operand(const Expr& e) {
    if (e.coerce == DateCoercion::None) return expr(e);
    if (e.kind == ExprKind::Literal && e.dateValue.isValid()) return dateLiteral(e.dateValue);
    QString inner = expr(e);
    switch (e.coerce) {
    case DateCoercion::FromDayNumber:
        return dateFromDays(inner, true);
    case DateCoercion::FromElapsedDays:
        return dateFromDays(inner, false);
    case DateCoercion::FromText:
        return dateFromText(inner);
    case DateCoercion::None:
        break;
    }
    return inner;
}

QString Generator::expr(const Expr& e) {
    if (QString grouped = groupedValue(e); !grouped.isNull()) return grouped;
    switch (e.kind) {
    case ExprKind::Literal:
        switch (e.literal) {
        case LiteralKind::Null:
            return QStringLiteral("NULL");
        case LiteralKind::Integer:
            return QString::number(e.intValue);
        case LiteralKind::Float: {
            QString s = QString::number(e.floatValue, 'g', 17);
            if (!s.contains(u'.') && !s.contains(u'e') && !s.contains(u'n') && !s.contains(u'i'))
                s += QStringLiteral(".0");
            return s;
        }
        case LiteralKind::Text:
            return textLiteral(e.text);
        }
        return {};
    case ExprKind::Column: {
        if (m_singleTable && e.scopeDepth == int(m_scopes.size())) return quoteIdentifier(e.column->name);
        const Select* scope = m_scopes[m_scopes.size() - 1 - size_t(e.scopeDepth)];
        const TableRef& t = scope->from[size_t(e.tableIndex)];
        return quoteIdentifier(t.exposedName) + u'.' + quoteIdentifier(e.column->name);
    }
    case ExprKind::Star:
        return QStringLiteral("*");
    case ExprKind::Parameter:
        return parameter(e.parameterIndex);
    case ExprKind::Unary:
        if (e.text == u"NOT") return QStringLiteral("(NOT ") + expr(*e.args[0]) + u')';
        return u'(' + e.text + operand(*e.args[0]) + u')';
    case ExprKind::Binary: {
        const Expr& a = *e.args[0];
        const Expr& b = *e.args[1];
        const QString& op = e.text;
        if (op == u"AND" || op == u"OR") return u'(' + expr(a) + u' ' + op + u' ' + expr(b) + u')';
        bool aDate = a.type == SqlType::DateTime;
        bool bDate = b.type == SqlType::DateTime;
        if (op == u"-" && aDate && bDate) return dateDiffAsDate(operand(a), operand(b));
        if ((op == u"+" || op == u"-") && (aDate || bDate)) {
            const Expr& date = aDate ? a : b;
            const Expr& days = aDate ? b : a;
            return dateAddDays(operand(date), operand(days), op == u"-");
        }
        bool text = (a.type == SqlType::Text || b.type == SqlType::Text) && a.coerce == DateCoercion::None &&
                    b.coerce == DateCoercion::None && !aDate && !bDate;
        if (text && (op == u"=" || op == u"<>" || op == u"<" || op == u">" || op == u"<=" || op == u">="))
            return textCompare(operand(a), op, operand(b));
        return u'(' + operand(a) + u' ' + op + u' ' + operand(b) + u')';
    }
    case ExprKind::IsNull:
        return u'(' + operand(*e.args[0]) +
               (e.negated ? QStringLiteral(" IS NOT NULL)") : QStringLiteral(" IS NULL)"));
    case ExprKind::InList: {
        QStringList items;
        for (size_t i = 1; i < e.args.size(); ++i)
            items << operand(*e.args[i]);
        return inList(operand(*e.args[0]), items, e.negated, e.args[0]->type == SqlType::Text);
    }
    case ExprKind::InSelect:
        return inList(operand(*e.args[0]), {select(*e.subquery)}, e.negated,
                      e.args[0]->type == SqlType::Text);
    case ExprKind::Between:
        return u'(' + operand(*e.args[0]) +
               (e.negated ? QStringLiteral(" NOT BETWEEN ") : QStringLiteral(" BETWEEN ")) +
               operand(*e.args[1]) + QStringLiteral(" AND ") + operand(*e.args[2]) + u')';
    case ExprKind::Like:
        return likeExpr(operand(*e.args[0]), operand(*e.args[1]), e.negated,
                        e.args.size() > 2 ? operand(*e.args[2]) : QString());
    case ExprKind::Function: {
        static const QStringList aggregates = {QStringLiteral("COUNT"), QStringLiteral("SUM"),
                                               QStringLiteral("AVG"), QStringLiteral("MAX"),
                                               QStringLiteral("MIN")};
        const bool aggregate = aggregates.contains(e.text);
        m_aggregateDepth += aggregate;
        QStringList args;
        for (const auto& a : e.args)
            args << operand(*a);
        m_aggregateDepth -= aggregate;
        return function(e, args);
    }
    case ExprKind::Subquery:
        return u'(' + select(*e.subquery) + u')';
    case ExprKind::Exists:
        return QStringLiteral("EXISTS (") + select(*e.subquery) + u')';
    case ExprKind::Case: {
        QString s = QStringLiteral("(CASE");
        size_t i = 0;
        if (e.caseHasOperand) s += u' ' + operand(*e.args[i++]);
        size_t whenEnd = e.args.size() - (e.caseHasElse ? 1 : 0);
        for (; i + 1 < whenEnd; i += 2)
            s += QStringLiteral(" WHEN ") + operand(*e.args[i]) + QStringLiteral(" THEN ") +
                 operand(*e.args[i + 1]);
        if (e.caseHasElse) s += QStringLiteral(" ELSE ") + operand(*e.args.back());
        return s + QStringLiteral(" END)");
    }
    }
    return {};
}

// ---- SQLite ----
// Dates are stored as "yyyy-MM-dd HH:mm:ss" text, which orders and compares as
// dates and which SQLite's date functions read. Text columns carry the GBK
// collation; comparisons of other text name it explicitly.

QString SqliteGenerator::dateLiteral(const QDateTime& value) const {
    return textLiteral(dates::toStorageText(value));
}
QString SqliteGenerator::parameter(int index) const {
    return u'?' + QString::number(index + 1);
}
QString SqliteGenerator::now() const {
    return QStringLiteral("cx_getdate()");
}

QString SqliteGenerator::datePart(const char* part, const QString& date) const {
    const char* fmt = qstrcmp(part, "year") == 0 ? "%Y" : qstrcmp(part, "month") == 0 ? "%m" : "%d";
    return QStringLiteral("CAST(strftime('%1', %2) AS INTEGER)").arg(QLatin1String(fmt), date);
}

QString SqliteGenerator::dateFromDays(const QString& days, bool fromDayNumberEpoch) const {
    // julianday('1899-12-30') = 2415018.5, julianday('1900-01-01') = 2415020.5
    return QStringLiteral("datetime(%1 + (%2))")
        .arg(fromDayNumberEpoch ? QStringLiteral("2415018.5") : QStringLiteral("2415020.5"), days);
}

QString SqliteGenerator::dateFromText(const QString& text) const {
    return QStringLiteral("cx_datetext(%1)").arg(text);
}

QString SqliteGenerator::dateDiffAsDate(const QString& a, const QString& b) const {
    return QStringLiteral("datetime(julianday(%1) - julianday(%2) + 2415020.5)").arg(a, b);
}

QString SqliteGenerator::dateAddDays(const QString& date, const QString& days, bool subtract) const {
    return QStringLiteral("datetime(julianday(%1) %2 (%3))")
        .arg(date, subtract ? QStringLiteral("-") : QStringLiteral("+"), days);
}

QString SqliteGenerator::textCompare(const QString& left, const QString& op, const QString& right) const {
    return u'(' + left + u' ' + op + u' ' + right + QStringLiteral(" COLLATE \"GBK\")");
}

QString SqliteGenerator::collateForOrder(const QString& expr) const {
    return expr + QStringLiteral(" COLLATE \"GBK\"");
}

QString SqliteGenerator::orderDirection(bool descending) const {
    return descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
}

QString SqliteGenerator::limit(qint64 n) const {
    return QStringLiteral(" LIMIT ") + QString::number(n);
}

QString SqliteGenerator::inList(const QString& value, const QStringList& items, bool negated,
                                bool text) const {
    return Generator::inList(text ? u'(' + value + QStringLiteral(" COLLATE \"GBK\")") : value, items,
                             negated, text);
}

QString SqliteGenerator::function(const Expr& e, const QStringList& a) const {
    const QString& f = e.text;
    if (f == u"AVG") {
        QString avg =
            QStringLiteral("avg(") + (e.distinct ? QStringLiteral("DISTINCT ") : QString()) + a[0] + u')';
        // An average of whole numbers is a whole number, cut toward zero.
        return e.type == SqlType::Integer ? QStringLiteral("CAST(%1 AS INTEGER)").arg(avg) : avg;
    }
    if (f == u"LEN") return QStringLiteral("length(rtrim(%1))").arg(a[0]);
    if (f == u"SUBSTRING") return QStringLiteral("substr(%1, %2, %3)").arg(a[0], a[1], a[2]);
    if (f == u"LEFT") return QStringLiteral("substr(%1, 1, %2)").arg(a[0], a[1]);
    if (f == u"RIGHT")
        return QStringLiteral("(CASE WHEN (%2) > 0 THEN substr(%1, -(%2)) ELSE '' END)").arg(a[0], a[1]);
    if (f == u"MAX" || f == u"MIN") {
        QString inner = e.args[0]->type == SqlType::Text ? a[0] + QStringLiteral(" COLLATE \"GBK\"") : a[0];
        return f.toLower() + u'(' + inner + u')';
    }
    return Generator::function(e, a);
}

QStringList SqliteGenerator::createTable(const TableDef& table) const {
    QStringList cols;
    for (const auto& c : table.columns) {
        QString def = quoteIdentifier(c.name) + u' ';
        switch (c.type) {
        case ColumnType::Text:
            def += QStringLiteral("TEXT COLLATE \"GBK\"");
            if (c.width > 0)
                def +=
                    QStringLiteral(" CHECK (cx_gbklen(%1) <= %2)").arg(quoteIdentifier(c.name)).arg(c.width);
            break;
        case ColumnType::Memo:
            def += QStringLiteral("TEXT COLLATE \"GBK\"");
            break;
        case ColumnType::SmallInt:
        case ColumnType::Integer:
            def += QStringLiteral("INTEGER");
            break;
        case ColumnType::Serial:
            def += QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
            break;
        case ColumnType::Decimal:
            def += QStringLiteral("NUMERIC");
            break;
        case ColumnType::Float:
            def += QStringLiteral("REAL");
            break;
        case ColumnType::Boolean:
            def += QStringLiteral("INTEGER CHECK (%1 IN (0, 1))").arg(quoteIdentifier(c.name));
            break;
        case ColumnType::DateTime:
            def += QStringLiteral("TEXT");
            break;
        }
        if (c.required && c.type != ColumnType::Serial) def += QStringLiteral(" NOT NULL");
        cols << def;
    }
    if (table.serial.isEmpty() && !table.key.isEmpty()) {
        QStringList key;
        for (const auto& k : table.key)
            key << quoteIdentifier(k);
        cols << QStringLiteral("PRIMARY KEY (") + key.join(QStringLiteral(", ")) + u')';
    }
    QStringList out;
    out << QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
               .arg(quoteIdentifier(table.name), cols.join(QStringLiteral(", ")));
    int n = 0;
    for (const auto& idx : table.indexes) {
        QStringList c;
        for (const auto& k : idx.columns)
            c << quoteIdentifier(k);
        out << QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
                   .arg(idx.unique ? QStringLiteral("UNIQUE ") : QString(),
                        quoteIdentifier(QStringLiteral("ix_%1_%2").arg(table.name).arg(++n)),
                        quoteIdentifier(table.name), c.join(QStringLiteral(", ")));
    }
    return out;
}

} // namespace corvexa::sql
