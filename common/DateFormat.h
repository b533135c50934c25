// Date and time formatting with the classic pattern letters, German whatever the process locale:
// "." between date parts, ":" between time parts, and the German desktop's weekday and month
// names (without the full stop Qt's locale data puts behind abbreviations).
#pragma once

#include <QDateTime>
#include <QString>

namespace DateFormat {

enum FirstDayOfWeek : int { vbSunday = 1, vbMonday = 2 };
enum FirstWeekOfYear : int { vbFirstJan1 = 1, vbFirstFourDays = 2 };

// Letters: d dd ddd dddd, m mm mmm mmmm, yy yyyy, y (day of the year), w, ww, q, h hh, n nn,
// s ss, the markers AM/PM am/pm A/P a/p (which switch h to the 12-hour clock), "/" the date
// separator and ":" the time separator. Every other character is copied unchanged.
QString format(const QDateTime &when, const QString &pattern, FirstDayOfWeek firstDay = vbSunday,
               FirstWeekOfYear firstWeek = vbFirstJan1);

// The general date and time of a German desktop: "10.12.2026 11:46:05".
QString generalDate(const QDateTime &when);

// 1 = Sunday ... 7 = Saturday.
QString weekdayName(int weekday, bool abbreviated);
// 1 = January ... 12 = December.
QString monthName(int month, bool abbreviated);

// Day of the week 1-7, counted from the first day of the week.
int weekday(const QDate &date, FirstDayOfWeek firstDay);
// Week of the year under the given first day and first week.
int week(const QDate &date, FirstDayOfWeek firstDay, FirstWeekOfYear firstWeek);

} // namespace DateFormat
