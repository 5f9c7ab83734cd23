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
    virtual QString orderDirection(bool descending) const = 0;
    virtual QString function(const Expr& e, const QStringList& args) const;
    virtual QString limit(qint64 n) const = 0;
    virtual QString likeExpr(const QString& value, const QString& pattern, bool negated,
                             const QString& escape) const;
    virtual QString inList(const QString& value, const QStringList& items, bool negated, bool text) const;

    QString expr(const Expr& e);
    QString operand(const Expr& e); // an expression with its date coercion applied
    QString select(const Select& s);
    QString fromClause(const Select& s);
    QString tableSource(const TableRef& t) const;

    std::vector<const Select*> m_scopes;
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

} // namespace corvexa::sql
