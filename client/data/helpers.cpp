#include "helpers.h"

namespace corvexa::client {

QString TAutoIncNo::NextNo(int width) {
    ++m_counter;
    return ZeroPad(m_counter, width);
}

QString ZeroPad(qint64 n, int width) {
    return QString::number(n).rightJustified(width, u'0');
}

QString OrgUnitName(const QString& name) {
    for (const QString& marker : {QStringLiteral("党委"), QStringLiteral("党总支")}) {
        const qsizetype at = name.indexOf(marker);
        if (at >= 0) return name.left(at);
    }
    return name;
}

QString DropLastChar(const QString& text) {
    if (text.trimmed().isEmpty()) return text;
    return text.chopped(1);
}

int CompareNumText(const QString& a, const QString& b) {
    QString x = a.trimmed().isEmpty() ? QStringLiteral("0") : a;
    QString y = b.trimmed().isEmpty() ? QStringLiteral("0") : b;
    if (x == y) return 0;
    return x.trimmed().toDouble() > y.trimmed().toDouble() ? 1 : -1;
}

int CompareListText(const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int memberAge(const QDate& born, const QDate& today) {
    static const QDate epoch(1899, 12, 30);
    const qint64 lived = (born.isValid() ? born : epoch).daysTo(today);
    return epoch.addDays(lived).year() - 1900;
}

qint64 wholeDaysBetween(const QDate& a, const QDate& b) {
    if (!a.isValid() || !b.isValid()) return 0;
    return qAbs(a.daysTo(b));
}

bool isProbationOverdue(const QDate& joined, const QString& memberType, const QDate& today) {
    return wholeDaysBetween(joined, today) >= 366 && memberType != u"正式";
}

bool isPreReviewOverdue(const QDate& since, const QDate& today) {
    return wholeDaysBetween(since, today) >= 123;
}

} // namespace corvexa::client
