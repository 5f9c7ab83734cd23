#pragma once
// One typed field value as server and client exchange it. The type travels with
// the value, so an integer never comes back as a double nor a decimal as text.
#include <QDateTime>
#include <QDebug>
#include <QMetaType>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <optional>
#include <variant>

namespace corvexa {

class Value {
public:
    // The numbers are written on the wire as row-set column types: never renumber.
    enum class Type : quint8 { Null = 0, Bool = 1, Int = 2, Double = 3, Text = 4, Decimal = 5, DateTime = 6 };
    static constexpr int kTypeCount = 7;
    // Significant digits of a decimal, as in the database's decimal(19, s) columns.
    static constexpr int kDecimalDigits = 19;

    Value() = default; // null
    static Value fromBool(bool value);
    static Value fromInt(qint64 value);
    static Value fromDouble(double value);
    static Value fromText(const QString& value);
    // Accepts [+-]digits[.digits] (ASCII digits only, at most 19 of them once
    // leading zeros of the whole part are dropped) and keeps the canonical form:
    // no '+', no redundant leading zeros, no sign on zero. The scale is kept, so
    // "1.50" and "1.5" are different values.
    static std::optional<Value> fromDecimal(QStringView text);
    // The wall-clock reading is kept whatever zone the argument is in, and held as
    // Qt::UTC so no zone rule can shift it. Invalid date-times and years outside
    // 1..9999 (which no database column holds) give null.
    static Value fromDateTime(const QDateTime& value);

    Type type() const { return Type(m_data.index()); }
    bool isNull() const { return type() == Type::Null; }

    // Each accessor gives the held value when the type matches, else a default.
    bool toBool() const;
    qint64 toInt() const;
    double toDouble() const;
    QString text() const; // text, or a decimal's canonical digits
    QDateTime dateTime() const;

    // Doubles compare by what was stored: NaN equals NaN, and 0.0 differs from
    // -0.0, so "did this field change" never misses an edit. Types must match:
    // Int 1 differs from Double 1.0.
    friend bool operator==(const Value& a, const Value& b);

    // Null is an invalid QVariant; a decimal leaves as its text (QString).
    QVariant toVariant() const;
    // Invalid or null variants give null; integer types give Int (unsigned values
    // beyond qint64 give Double); QDate is midnight; other types go by their text.
    static Value fromVariant(const QVariant& value);

    QString debugText() const;
    static const char* typeName(Type type);

private:
    struct DecimalText {
        QString digits;
        friend bool operator==(const DecimalText&, const DecimalText&) = default;
    };
    // Alternatives in the order of Type, so index() is the type.
    using Data = std::variant<std::monostate, bool, qint64, double, QString, DecimalText, QDateTime>;
    explicit Value(Data data) : m_data(std::move(data)) {}
    Data m_data;
};

QDebug operator<<(QDebug debug, const Value& value);

} // namespace corvexa

Q_DECLARE_METATYPE(corvexa::Value)
