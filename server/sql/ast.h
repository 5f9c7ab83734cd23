#pragma once
// Syntax tree of the statement dialect. One node type per family keeps the
// tree small; the resolver fills the "bound" members in place.
#include "types.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace corvexa::sql {

struct ColumnDef;
struct TableDef;
struct Select;

enum class ExprKind {
    Literal,   // number, text or NULL
    Column,    // [qualifier.]name
    Star,      // * or qualifier.*
    Parameter, // :Name (server-side providers only)
    Unary,     // - + NOT
    Binary,    // arithmetic, comparison, AND, OR, outer joins *= and =*
    IsNull,    // x IS [NOT] NULL
    InList,    // x [NOT] IN (a, b, ...)
    InSelect,  // x [NOT] IN (SELECT ...)
    Between,   // x [NOT] BETWEEN a AND b
    Like,      // x [NOT] LIKE p
    Function,  // name(args), Count(*), Count(DISTINCT x)
    Subquery,  // (SELECT ...)
    Exists,    // EXISTS (SELECT ...)
    Case,      // CASE [x] WHEN .. THEN .. [ELSE ..] END
};

enum class LiteralKind { Null, Integer, Float, Text };

// Where an operand meets a date it is converted: a number written against a
// date column counts days from 1899-12-30, any other number is elapsed days
// from 1900-01-01, and text is read as a date.
enum class DateCoercion { None, FromDayNumber, FromElapsedDays, FromText };

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
    ExprKind kind;
    int pos = 0;

    // Literal
    LiteralKind literal = LiteralKind::Null;
    qint64 intValue = 0;
    double floatValue = 0;
    QString text; // text literal value, or the operator / function name (upper case)

    // Column, Star, Parameter, Function
    QString qualifier;
    QString name;

    std::vector<ExprPtr> args; // operands, list items, CASE parts (see parser)
    std::unique_ptr<Select> subquery;
    bool negated = false;  // NOT IN, NOT LIKE, IS NOT NULL, NOT BETWEEN
    bool distinct = false; // Count(DISTINCT x)
    bool countStar = false;
    bool caseHasOperand = false;
    bool caseHasElse = false;

    // Bound by the resolver
    SqlType type = SqlType::Unknown;
    int tableIndex = -1; // Column: index into the owning select's tables
    int scopeDepth = 0;  // Column: 0 = own select, 1 = enclosing select, ...
    const ColumnDef* column = nullptr;
    int parameterIndex = -1;
    bool aggregate = false;                   // Function: Count, Max, Min, Sum, Avg
    DateCoercion coerce = DateCoercion::None; // how this operand becomes a date
    QDateTime dateValue;                      // the parsed date of a coerced literal

    Expr(ExprKind k, int p) : kind(k), pos(p) {}
    ~Expr();
};

enum class JoinKind { Comma, Inner, Left, Right };

struct TableRef {
    QString name;
    QString alias;
    int pos = 0;
    JoinKind join = JoinKind::Comma; // how it joins the tables before it
    ExprPtr on;
    // Bound
    const TableDef* table = nullptr;
    QString exposedName; // the name column qualifiers use (alias, else table name as written)
};

struct SelectItem {
    ExprPtr expr;
    QString alias;
    bool hasAlias = false;
    int pos = 0;
};

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
    int outputColumn = -1; // bound: 0-based select item it names, or -1
};

// An outer join written in WHERE, bound to the table it keeps and the one it extends.
struct OuterJoin {
    int keptTable = -1;
    int joinedTable = -1;
    std::vector<ExprPtr> conditions; // equalities, kept side first
};

struct Select {
    int pos = 0;
    bool distinct = false;
    std::optional<qint64> top;
    std::vector<SelectItem> items;
    std::vector<TableRef> from;
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
    std::vector<OrderItem> orderBy;
    // Bound
    std::vector<OuterJoin> outerJoins;
};

struct Assignment {
    QString column;
    int pos = 0;
    ExprPtr value;
    const ColumnDef* def = nullptr;
};

enum class StatementKind { Select, Insert, Update, Delete };

struct Statement {
    StatementKind kind = StatementKind::Select;
    std::unique_ptr<Select> select;         // Select, or INSERT ... SELECT
    TableRef table;                         // Insert, Update, Delete
    std::vector<Assignment> assignments;    // Update; Insert columns with row values
    std::vector<std::vector<ExprPtr>> rows; // Insert ... VALUES
    ExprPtr where;                          // Update, Delete
};

inline Expr::~Expr() = default;

} // namespace corvexa::sql
