#pragma once
// Writes a bound statement in one backend's SQL. The shared walk lives here;
// each backend overrides the pieces where its dialect differs.
#include "ast.h"

#include <QString>
#include <vector>

namespace corvexa::sql {

struct TableDef;

class Generator {
public:
    virtual ~Generator() = default;

    QString statement(const Statement& stmt);
    virtual QStringList createTable(const TableDef& table) const = 0;

protected:
    virtual QString quoteIdentifier(const QString& name) const;
    QString textLiteral(const QString& value) const;
    virtual QString dateLiteral(const QDateTime& value) const = 0;
    virtual QString parameter(int index) const = 0;
    virtual QString now() const = 0;
    virtual QString datePart(const char* part, const QString& date) const = 0; // "year", "month", "day"
    virtual QString dateFromDays(const QString& days, bool fromDayNumberEpoch) const = 0;
    virtual QString dateFromText(const QString& text) const = 0;
    virtual QString dateDiffAsDate(const QString& a, const QString& b) const = 0;
    virtual QString dateAddDays(const QString& date, const QString& days, bool subtract) const = 0;
    virtual QString textCompare(const QString& left, const QString& op, const QString& right) const = 0;
    virtual QString collateForOrder(const QString& expr) const = 0;
    // GROUP BY on text: what makes two texts one group.
    virtual QString groupKey(const QString& expr) const { return collateForOrder(expr); }
    // Whether ORDER BY may name a selected text column by its position (its
    // column collation then orders it).
    virtual bool columnsCarryCollation() const { return true; }
    virtual QString orderDirection(bool descending) const = 0;
    virtual QString function(const Expr& e, const QStringList& args) const;
    virtual QString limit(qint64 n) const = 0;
    // Appended to an INSERT: how the backend hands back the serial it assigned.
    virtual QString insertSuffix(const TableDef&) const { return {}; }
    virtual QString likeExpr(const QString& value, const QString& pattern, bool negated,
                             const QString& escape) const;
    virtual QString inList(const QString& value, const QStringList& items, bool negated, bool text) const;

    QString expr(const Expr& e);
    QString operand(const Expr& e); // an expression with its date coercion applied
    virtual QString select(const Select& s);
    QString fromClause(const Select& s);
    QString tableSource(const TableRef& t) const;

    // A selected value of a grouped query that stands for its group, where
    // the backend groups text by a key it does not select; null otherwise.
    virtual QString groupedValue(const Expr&) { return {}; }

    std::vector<const Select*> m_scopes;
    std::vector<const Select*> m_beforeGrouping; // selects whose WHERE / GROUP BY is being written
    int m_aggregateDepth = 0;
    const TableRef* m_singleTable = nullptr; // Update / Delete: columns unqualified
};

class SqliteGenerator : public Generator {
public:
    QStringList createTable(const TableDef& table) const override;

protected:
    QString dateLiteral(const QDateTime& value) const override;
    QString parameter(int index) const override;
    QString now() const override;
    QString datePart(const char* part, const QString& date) const override;
    QString dateFromDays(const QString& days, bool fromDayNumberEpoch) const override;
    QString dateFromText(const QString& text) const override;
    QString dateDiffAsDate(const QString& a, const QString& b) const override;
    QString dateAddDays(const QString& date, const QString& days, bool subtract) const override;
    QString textCompare(const QString& left, const QString& op, const QString& right) const override;
    QString collateForOrder(const QString& expr) const override;
    QString orderDirection(bool descending) const override;
    QString function(const Expr& e, const QStringList& args) const override;
    QString limit(qint64 n) const override;
    QString inList(const QString& value, const QStringList& items, bool negated, bool text) const override;
};

// PostgreSQL: dates are timestamp(0); text order goes through cx_gbkkey() (the
// GB18030 bytes of the upper-cased, right-trimmed text, which for every GBK
// character are its GBK bytes), equality and grouping through cx_eqkey() (the
// upper-cased, right-trimmed text, which the indexes hold); booleans are smallint 0/1 as in
// SQLite so that statements compare them with numbers.
class PgGenerator : public Generator {
public:
    QStringList createTable(const TableDef& table) const override;
    // Functions the generated SQL calls; created with the schema.
    static QStringList supportFunctions();

protected:
    QString select(const Select& s) override;
    QString dateLiteral(const QDateTime& value) const override;
    QString parameter(int index) const override;
    QString now() const override;
    QString datePart(const char* part, const QString& date) const override;
    QString dateFromDays(const QString& days, bool fromDayNumberEpoch) const override;
    QString dateFromText(const QString& text) const override;
    QString dateDiffAsDate(const QString& a, const QString& b) const override;
    QString dateAddDays(const QString& date, const QString& days, bool subtract) const override;
    QString textCompare(const QString& left, const QString& op, const QString& right) const override;
    QString collateForOrder(const QString& expr) const override;
    QString groupKey(const QString& expr) const override;
    QString groupedValue(const Expr& e) override;
    bool columnsCarryCollation() const override { return false; }
    QString orderDirection(bool descending) const override;
    QString function(const Expr& e, const QStringList& args) const override;
    QString limit(qint64 n) const override;
    QString insertSuffix(const TableDef& table) const override;
    QString likeExpr(const QString& value, const QString& pattern, bool negated,
                     const QString& escape) const override;
    QString inList(const QString& value, const QStringList& items, bool negated, bool text) const override;

private:
    bool m_inGroupedValue = false;
};

} // namespace corvexa::sql
