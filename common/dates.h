#pragma once
// Date-time values of the records: wall-clock values without a zone, carried as
// QDateTime in Qt::UTC so that no daylight-saving rule ever shifts them.
#include <QDateTime>
#include <QString>
#include <optional>

namespace corvexa::dates {

// The day numbers written into statements count days (with a fraction for the
// time of day) from 1899-12-30: 39583.00 is 2008-05-15.
QDateTime fromDayNumber(double days);
double toDayNumber(const QDateTime& value);

// Elapsed time written as a date counts from 1900-01-01 (date minus date).
QDateTime fromElapsedDays(double days);

// "yyyy-mm-dd", "yyyy-m-d" or "yyyy/m/d", each optionally followed by a time
// "h:m", "h:m:s" or "h:m:s.zzz". Anything else, or an impossible date, fails.
std::optional<QDateTime> parseDateText(QStringView text);

// The stored form: "yyyy-MM-dd HH:mm:ss", which orders as text.
QString toStorageText(const QDateTime& value);
std::optional<QDateTime> fromStorageText(QStringView text);

QDateTime makeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

} // namespace corvexa::dates
