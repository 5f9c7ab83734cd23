#include "dates.h"

#include <QRegularExpression>
#include <cmath>

namespace corvexa::dates {
namespace {
const QDate kDayNumberEpoch(1899, 12, 30);
const QDate kElapsedEpoch(1900, 1, 1);

QDateTime fromEpoch(const QDate& epoch, double days) {
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6) return {};
    double whole = std::floor(days);
    qint64 ms = std::llround((days - whole) * 86400000.0);
    QDateTime base(epoch.addDays(static_cast<qint64>(whole)), QTime(0, 0), Qt::UTC);
    return base.addMSecs(ms);
}
} // namespace

QDateTime makeDateTime(int year, int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

QDateTime fromDayNumber(double days) {
    return fromEpoch(kDayNumberEpoch, days);
}

QDateTime fromElapsedDays(double days) {
    return fromEpoch(kElapsedEpoch, days);
}

double toDayNumber(const QDateTime& value) {
    QDateTime v = value.timeSpec() == Qt::UTC ? value : QDateTime(value.date(), value.time(), Qt::UTC);
    qint64 days = kDayNumberEpoch.daysTo(v.date());
    return double(days) + v.time().msecsSinceStartOfDay() / 86400000.0;
}

std::optional<QDateTime> parseDateText(QStringView text) {
    static const QRegularExpression re(QStringLiteral(
        R"(^\s*(\d{4})([-/])(\d{1,2})\2(\d{1,2})(?:[ T]+(\d{1,2}):(\d{1,2})(?::(\d{1,2})(?:\.(\d{1,3}))?)?)?\s*$)"));
    auto m = re.match(text.toString());
    if (!m.hasMatch()) return std::nullopt;
    QDate date(m.capturedView(1).toInt(), m.capturedView(3).toInt(), m.capturedView(4).toInt());
    if (!date.isValid()) return std::nullopt;
    QTime time(0, 0);
    if (m.hasCaptured(5)) {
        int ms = 0;
        if (m.hasCaptured(8)) {
            QString frac = m.captured(8);
            while (frac.size() < 3)
                frac += u'0';
            ms = frac.toInt();
        }
        time = QTime(m.capturedView(5).toInt(), m.capturedView(6).toInt(),
                     m.hasCaptured(7) ? m.capturedView(7).toInt() : 0, ms);
        if (!time.isValid()) return std::nullopt;
    }
    return QDateTime(date, time, Qt::UTC);
}

QString toStorageText(const QDateTime& value) {
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

std::optional<QDateTime> fromStorageText(QStringView text) {
    return parseDateText(text);
}

} // namespace corvexa::dates
