#pragma once
#include <QString>

namespace corvexa::sql {

// Type of a value as the dialect layer reasons about it.
enum class SqlType { Unknown, Null, Boolean, Integer, Float, Decimal, Text, DateTime };

// Column types of the schema.
enum class ColumnType { Text, Memo, SmallInt, Integer, Serial, Decimal, Float, Boolean, DateTime };

SqlType sqlTypeOf(ColumnType type);
QString typeName(SqlType type);

// A translation or execution failure with the place in the statement text.
struct SqlError {
    QString message;
    int position = -1; // character offset in the statement, -1 when none
    QString describe(const QString& statement) const;
};

} // namespace corvexa::sql
