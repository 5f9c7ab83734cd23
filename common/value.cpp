#include "value.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace corvexa {
namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The canonical text of a decimal, or nothing when the text is none.
std::optional<QString> canonicalDecimal(QStringView text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    const qsizetype wholeStart = i;
    while (i < text.size() && isAsciiDigit(text[i]))
        ++i;
    QStringView whole = text.sliced(wholeStart, i - wholeStart);
    QStringView fraction;
    if (i < text.size() && text[i] == u'.') {
        const qsizetype fractionStart = ++i;
        while (i < text.size() && isAsciiDigit(text[i]))
            ++i;
        fraction = text.sliced(fractionStart, i - fractionStart);
        if (fraction.isEmpty()) return std::nullopt;
    }
    if (whole.isEmpty() || i != text.size()) return std::nullopt;

    while (whole.size() > 1 && whole.front() == u'0')
        whole = whole.sliced(1);
    const qsizetype significant = (whole == u"0" ? 0 : whole.size()) + fraction.size();
    if (significant > Value::kDecimalDigits) return std::nullopt;

    const auto isZero = [](QStringView digits) {
        return std::all_of(digits.begin(), digits.end(), [](QChar c) { return c == u'0'; });
    };
    QString result;
    result.reserve(significant + 3);
    if (negative && !(isZero(whole) && isZero(fraction))) result += u'-';
    result += whole;
    if (!fraction.isEmpty()) {
        result += u'.';
        result += fraction;
    }
    return result;
}

bool sameDouble(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

} // namespace

Value Value::fromBool(bool value) {
    return Value(Data(value));
}
Value Value::fromInt(qint64 value) {
    return Value(Data(value));
}
Value Value::fromDouble(double value) {
    return Value(Data(value));
}
Value Value::fromText(const QString& value) {
    return Value(Data(value));
}

std::optional<Value> Value::fromDecimal(QStringView text) {
    std::optional<QString> digits = canonicalDecimal(text);
    if (!digits) return std::nullopt;
    return Value(Data(DecimalText{*digits}));
}

Value Value::fromDateTime(const QDateTime& value) {
    if (!value.isValid() || value.date().year() < 1 || value.date().year() > 9999) return {};
    if (value.timeSpec() == Qt::UTC) return Value(Data(value));
    return Value(Data(QDateTime(value.date(), value.time(), Qt::UTC)));
}

bool Value::toBool() const {
    const bool* v = std::get_if<bool>(&m_data);
    return v && *v;
}

qint64 Value::toInt() const {
    const qint64* v = std::get_if<qint64>(&m_data);
    return v ? *v : 0;
}

double Value::toDouble() const {
    const double* v = std::get_if<double>(&m_data);
    return v ? *v : 0.0;
}

QString Value::text() const {
    if (const QString* v = std::get_if<QString>(&m_data)) return *v;
    if (const DecimalText* v = std::get_if<DecimalText>(&m_data)) return v->digits;
    return {};
}

QDateTime Value::dateTime() const {
    const QDateTime* v = std::get_if<QDateTime>(&m_data);
    return v ? *v : QDateTime();
}

bool operator==(const Value& a, const Value& b) {
    if (a.type() == Value::Type::Double && b.type() == Value::Type::Double)
        return sameDouble(a.toDouble(), b.toDouble());
    return a.m_data == b.m_data;
}

QVariant Value::toVariant() const {
    switch (type()) {
    case Type::Null:
        return {};
    case Type::Bool:
        return QVariant(toBool());
    case Type::Int:
        return QVariant(toInt());
    case Type::Double:
        return QVariant(toDouble());
    case Type::Text:
    case Type::Decimal:
        return QVariant(text());
    case Type::DateTime:
        return QVariant(dateTime());
    }
    return {};
}

Value Value::fromVariant(const QVariant& value) {
    if (!value.isValid() || value.isNull()) return {};
    switch (value.typeId()) {
    case QMetaType::Bool:
        return fromBool(value.toBool());
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
        return fromInt(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar: {
        const qulonglong v = value.toULongLong();
        if (v > qulonglong(std::numeric_limits<qint64>::max())) return fromDouble(double(v));
        return fromInt(qint64(v));
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return fromDouble(value.toDouble());
    case QMetaType::QString:
        return fromText(value.toString());
    case QMetaType::QDateTime:
        return fromDateTime(value.toDateTime());
    case QMetaType::QDate:
        return fromDateTime(QDateTime(value.toDate(), QTime(0, 0), Qt::UTC));
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<Value>()) return value.value<Value>();
    return fromText(value.toString());
}

const char* Value::typeName(Type type) {
    switch (type) {
    case Type::Null:
        return "Null";
    case Type::Bool:
        return "Bool";
    case Type::Int:
        return "Int";
    case Type::Double:
        return "Double";
    case Type::Text:
        return "Text";
    case Type::Decimal:
        return "Decimal";
    case Type::DateTime:
        return "DateTime";
    }
    return "?";
}

QString Value::debugText() const {
    QString inner;
    switch (type()) {
    case Type::Null:
        return QStringLiteral("Null");
    case Type::Bool:
        inner = toBool() ? QStringLiteral("true") : QStringLiteral("false");
        break;
    case Type::Int:
        inner = QString::number(toInt());
        break;
    case Type::Double:
        inner = QString::number(toDouble(), 'g', 17);
        break;
    case Type::Text:
        inner = u'"' + text() + u'"';
        break;
    case Type::Decimal:
        inner = text();
        break;
    case Type::DateTime:
        inner = dateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        break;
    }
    return QLatin1String(typeName(type())) + u'(' + inner + u')';
}

QDebug operator<<(QDebug debug, const Value& value) {
    QDebugStateSaver saver(debug);
    debug.noquote() << value.debugText();
    return debug;
}

} // namespace corvexa
