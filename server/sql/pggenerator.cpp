// PostgreSQL's side of the dialect layer. The results must match SQLite's row
// for row, so every place where the two engines differ by default is written
// out: text order and equality, NULL order, LIKE, dates, averages, booleans.
#include "common/dates.h"
#include "generator.h"
#include "schema.h"

namespace corvexa::sql {

QStringList PgGenerator::supportFunctions() {
    return {
        // Sort and equality key of text: case-insensitive, trailing blanks
        // ignored, GBK byte order. GB18030 is GBK for every GBK character and
        // still encodes the rest, so no stored text makes a query fail.
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION cx_gbkkey(t text) RETURNS bytea LANGUAGE sql IMMUTABLE STRICT "
            "PARALLEL SAFE AS $$ SELECT convert_to(upper(rtrim(t, ' ')), 'GB18030') $$"),
        // Equality and grouping key of text: the same equivalence as the sort
        // key (case and trailing blanks ignored), much cheaper to compute.
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION cx_eqkey(t text) RETURNS text LANGUAGE sql IMMUTABLE STRICT "
            "PARALLEL SAFE AS $$ SELECT upper(rtrim(t, ' ')) $$"),
        // Width in GBK bytes: 1 for ASCII, 2 for any other character.
        QStringLiteral("CREATE OR REPLACE FUNCTION cx_gbklen(t text) RETURNS integer LANGUAGE sql IMMUTABLE "
                       "STRICT PARALLEL SAFE AS $$ SELECT 2 * length(t) - length(regexp_replace(t, "
                       "'[^\\x01-\\x7f]', '', 'g')) $$"),
        // Text that stands for a date (yyyy-m-d or yyyy/m/d, optional time), else NULL.
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION cx_datetext(t text) RETURNS timestamp(0) LANGUAGE plpgsql IMMUTABLE "
            "STRICT PARALLEL SAFE AS $$ DECLARE m text[]; BEGIN "
            "m := regexp_match(t, '^\\s*(\\d{4})([-/])(\\d{1,2})\\2(\\d{1,2})(?:[ T]+(\\d{1,2}):(\\d{1,2})"
            "(?::(\\d{1,2})(?:\\.(\\d{1,3}))?)?)?\\s*$'); "
            "IF m IS NULL THEN RETURN NULL; END IF; "
            "RETURN make_timestamp(m[1]::int, m[3]::int, m[4]::int, coalesce(m[5]::int, 0), "
            "coalesce(m[6]::int, 0), coalesce(m[7]::int, 0))::timestamp(0); "
            "EXCEPTION WHEN others THEN RETURN NULL; END $$"),
        // GetDate(): the server's clock, handed over per statement (see the connection).
        QStringLiteral("CREATE OR REPLACE FUNCTION cx_getdate() RETURNS timestamp(0) LANGUAGE sql STABLE AS "
                       "$$ SELECT coalesce(nullif(current_setting('cx.now', true), '')::timestamp(0), "
                       "localtimestamp(0)) $$"),
    };
}

QString PgGenerator::dateLiteral(const QDateTime& value) const {
    return QStringLiteral("TIMESTAMP ") + textLiteral(dates::toStorageText(value));
}
QString PgGenerator::parameter(int index) const {
    return u'$' + QString::number(index + 1);
}
QString PgGenerator::now() const {
    return QStringLiteral("cx_getdate()");
}

QString PgGenerator::datePart(const char* part, const QString& date) const {
    return QStringLiteral("CAST(EXTRACT(%1 FROM %2) AS integer)").arg(QLatin1String(part), date);
}

QString PgGenerator::dateFromDays(const QString& days, bool fromDayNumberEpoch) const {
    return QStringLiteral("CAST(TIMESTAMP '%1' + (%2) * INTERVAL '1 day' AS timestamp(0))")
        .arg(fromDayNumberEpoch ? QStringLiteral("1899-12-30") : QStringLiteral("1900-01-01"), days);
}

QString PgGenerator::dateFromText(const QString& text) const {
    return QStringLiteral("cx_datetext(%1)").arg(text);
}

// A date minus a date is the difference counted from 1900-01-01, so that
// Year() of it minus 1900 gives whole years.
QString PgGenerator::dateDiffAsDate(const QString& a, const QString& b) const {
    return QStringLiteral("CAST(TIMESTAMP '1900-01-01' + ((%1) - (%2)) AS timestamp(0))").arg(a, b);
}

QString PgGenerator::dateAddDays(const QString& date, const QString& days, bool subtract) const {
    return QStringLiteral("CAST((%1) %2 (%3) * INTERVAL '1 day' AS timestamp(0))")
        .arg(date, subtract ? QStringLiteral("-") : QStringLiteral("+"), days);
}

QString PgGenerator::textCompare(const QString& left, const QString& op, const QString& right) const {
    const bool equality = op == u"=" || op == u"<>";
    return QStringLiteral("(%4(%1) %2 %4(%3))")
        .arg(left, op, right, equality ? QStringLiteral("cx_eqkey") : QStringLiteral("cx_gbkkey"));
}

QString PgGenerator::groupKey(const QString& expr) const {
    return QStringLiteral("cx_eqkey(%1)").arg(expr);
}

QString PgGenerator::collateForOrder(const QString& expr) const {
    return QStringLiteral("cx_gbkkey(%1)").arg(expr);
}

// SQLite puts NULLs first when ascending and last when descending.
QString PgGenerator::orderDirection(bool descending) const {
    return descending ? QStringLiteral(" DESC NULLS LAST") : QStringLiteral(" ASC NULLS FIRST");
}

QString PgGenerator::insertSuffix(const TableDef& table) const {
    return table.serial.isEmpty() ? QString() : QStringLiteral(" RETURNING ") + quoteIdentifier(table.serial);
}

QString PgGenerator::limit(qint64 n) const {
    return QStringLiteral(" LIMIT ") + QString::number(n);
}

// LIKE ignores the case of ASCII letters, as SQLite's does, and has no escape
// character unless the statement names one (PostgreSQL's default is '\').
QString PgGenerator::likeExpr(const QString& value, const QString& pattern, bool negated,
                              const QString& escape) const {
    return QStringLiteral("(CAST(%1 AS text) %2 %3 ESCAPE %4)")
        .arg(value, negated ? QStringLiteral("NOT ILIKE") : QStringLiteral("ILIKE"), pattern,
             escape.isEmpty() ? QStringLiteral("''") : escape);
}

QString PgGenerator::inList(const QString& value, const QStringList& items, bool negated, bool text) const {
    if (!text) return Generator::inList(value, items, negated, text);
    QStringList keys;
    for (const QString& item : items) {
        // A subquery's rows are keyed through a derived table.
        if (item.startsWith(QLatin1String("SELECT ")))
            keys << QStringLiteral(
                        "SELECT cx_eqkey(CAST(\"cx_in\".\"v\" AS text)) FROM (%1) AS \"cx_in\"(\"v\")")
                        .arg(item);
        else
            keys << groupKey(item);
    }
    return Generator::inList(groupKey(value), keys, negated, text);
}

QString PgGenerator::function(const Expr& e, const QStringList& a) const {
    const QString& f = e.text;
    const QString distinct = e.distinct ? QStringLiteral("DISTINCT ") : QString();
    if (f == u"AVG") {
        QString avg = QStringLiteral("avg(") + distinct + a[0] + u')';
        // An average of whole numbers is a whole number, cut toward zero.
        return e.type == SqlType::Integer ? QStringLiteral("CAST(trunc(%1) AS bigint)").arg(avg)
                                          : QStringLiteral("CAST(%1 AS double precision)").arg(avg);
    }
    if (f == u"SUM" && e.type == SqlType::Integer)
        return QStringLiteral("CAST(sum(%1%2) AS bigint)").arg(distinct, a[0]);
    if (f == u"LEN") return QStringLiteral("length(rtrim(%1))").arg(a[0]);
    if (f == u"SUBSTRING") return QStringLiteral("substr(%1, %2, greatest(%3, 0))").arg(a[0], a[1], a[2]);
    if (f == u"LEFT")
        return QStringLiteral("(CASE WHEN (%2) > 0 THEN left(%1, %2) ELSE '' END)").arg(a[0], a[1]);
    if (f == u"RIGHT")
        return QStringLiteral("(CASE WHEN (%2) > 0 THEN right(%1, %2) ELSE '' END)").arg(a[0], a[1]);
    if (f == u"ROUND")
        return QStringLiteral("CAST(round(CAST(%1 AS numeric), %2) AS double precision)")
            .arg(a[0], a.size() > 1 ? a[1] : QStringLiteral("0"));
    if ((f == u"MAX" || f == u"MIN") && e.args[0]->type == SqlType::Text) {
        // The greatest or least text in GBK order, not in byte order.
        return QStringLiteral("(array_agg(%1 ORDER BY cx_gbkkey(%1) %2) FILTER (WHERE %1 IS NOT NULL))[1]")
            .arg(a[0], f == u"MAX" ? QStringLiteral("DESC") : QStringLiteral("ASC"));
    }
    return Generator::function(e, a);
}

// Text is grouped by its key, as SQLite groups it by its collation; a grouped
// text that is selected, ordered by or tested in HAVING stands for its group
// through an aggregate, since PostgreSQL does not select what it did not group.
QString PgGenerator::groupedValue(const Expr& e) {
    if (m_inGroupedValue || m_aggregateDepth || e.type != SqlType::Text || m_scopes.empty()) return {};
    const Select* scope = m_scopes.back();
    if (scope->groupBy.empty() || (!m_beforeGrouping.empty() && m_beforeGrouping.back() == scope)) return {};
    m_inGroupedValue = true;
    const QString text = expr(e);
    bool grouped = false;
    for (const auto& g : scope->groupBy)
        grouped = grouped || (g->type == SqlType::Text && expr(*g) == text);
    m_inGroupedValue = false;
    return grouped ? QStringLiteral("min(%1)").arg(text) : QString();
}

// PostgreSQL orders a SELECT DISTINCT only by what it selects, so the order
// keys are selected too, inside a derived table, and left out again outside.
QString PgGenerator::select(const Select& s) {
    if (!s.distinct || s.orderBy.empty()) return Generator::select(s);
    m_scopes.push_back(&s);
    QStringList inner, outer, keys;
    for (size_t i = 0; i < s.items.size(); ++i) {
        const QString name = QStringLiteral("\"c%1\"").arg(i + 1);
        inner << operand(*s.items[i].expr) + QStringLiteral(" AS ") + name;
        outer << QStringLiteral("\"cx_q\".") + name;
    }
    for (size_t i = 0; i < s.orderBy.size(); ++i) {
        const auto& item = s.orderBy[i];
        const Expr& e = item.outputColumn >= 0 ? *s.items[size_t(item.outputColumn)].expr : *item.expr;
        const QString name = QStringLiteral("\"o%1\"").arg(i + 1);
        inner << (e.type == SqlType::Text ? collateForOrder(operand(e)) : operand(e)) +
                     QStringLiteral(" AS ") + name;
        keys << QStringLiteral("\"cx_q\".") + name + orderDirection(item.descending);
    }
    QString in = QStringLiteral("SELECT DISTINCT ") + inner.join(QStringLiteral(", "));
    m_beforeGrouping.push_back(&s);
    if (!s.from.empty()) in += QStringLiteral(" FROM ") + fromClause(s);
    if (s.where) in += QStringLiteral(" WHERE ") + expr(*s.where);
    if (!s.groupBy.empty()) {
        QStringList g;
        for (const auto& e : s.groupBy)
            g << (e->type == SqlType::Text ? groupKey(expr(*e)) : expr(*e));
        in += QStringLiteral(" GROUP BY ") + g.join(QStringLiteral(", "));
    }
    m_beforeGrouping.pop_back();
    if (s.having) in += QStringLiteral(" HAVING ") + expr(*s.having);
    m_scopes.pop_back();
    QString out = QStringLiteral("SELECT ") + outer.join(QStringLiteral(", ")) + QStringLiteral(" FROM (") +
                  in + QStringLiteral(") AS \"cx_q\" ORDER BY ") + keys.join(QStringLiteral(", "));
    if (s.top) out += limit(*s.top);
    return out;
}

QStringList PgGenerator::createTable(const TableDef& table) const {
    QStringList cols;
    for (const auto& c : table.columns) {
        const QString name = quoteIdentifier(c.name);
        QString def = name + u' ';
        switch (c.type) {
        case ColumnType::Text:
            def += QStringLiteral("text");
            // Named so that a refusal can be told to the user as a width.
            if (c.width > 0)
                def += QStringLiteral(" CONSTRAINT \"cxw_%1_%2\" CHECK (cx_gbklen(%3) <= %2)")
                           .arg(c.name)
                           .arg(c.width)
                           .arg(name);
            break;
        case ColumnType::Memo:
            def += QStringLiteral("text");
            break;
        case ColumnType::SmallInt:
            def += QStringLiteral("integer");
            break;
        case ColumnType::Integer:
            def += QStringLiteral("bigint");
            break;
        case ColumnType::Serial:
            def += QStringLiteral("bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
            break;
        case ColumnType::Decimal:
            def += QStringLiteral("numeric");
            break;
        case ColumnType::Float:
            def += QStringLiteral("double precision");
            break;
        case ColumnType::Boolean:
            def += QStringLiteral("smallint CHECK (%1 IN (0, 1))").arg(name);
            break;
        case ColumnType::DateTime:
            def += QStringLiteral("timestamp(0)");
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
        // Text columns are looked up through their key, so that is what is indexed.
        QStringList c;
        for (const auto& k : idx.columns) {
            const ColumnDef* col = table.column(k);
            const bool text = col && (col->type == ColumnType::Text || col->type == ColumnType::Memo);
            c << (text ? QStringLiteral("cx_eqkey(%1)").arg(quoteIdentifier(k)) : quoteIdentifier(k));
        }
        out << QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
                   .arg(idx.unique ? QStringLiteral("UNIQUE ") : QString(),
                        quoteIdentifier(QStringLiteral("ix_%1_%2").arg(table.name).arg(++n)),
                        quoteIdentifier(table.name), c.join(QStringLiteral(", ")));
    }
    // Keys of text are unique and found through their key, as in SQLite where
    // the column collation makes "s01-0001 " the same key as "S01-0001".
    QStringList keyCols;
    for (const auto& k : table.key) {
        const ColumnDef* col = table.column(k);
        keyCols << (col && col->type == ColumnType::Text
                        ? QStringLiteral("cx_eqkey(%1)").arg(quoteIdentifier(k))
                        : quoteIdentifier(k));
    }
    if (!keyCols.isEmpty() && table.serial.isEmpty())
        out << QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                   .arg(quoteIdentifier(QStringLiteral("ix_%1_key").arg(table.name)),
                        quoteIdentifier(table.name), keyCols.join(QStringLiteral(", ")));
    return out;
}

} // namespace corvexa::sql
