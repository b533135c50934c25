// The pattern letters, read left to right; a run of one letter picks the longest form it holds.
#include "common/DateFormat.h"

#include <algorithm>
#include <array>

namespace {

const std::array<const char *, 7> shortDays = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
const std::array<const char *, 7> longDays
    = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
const std::array<const char *, 12> shortMonths
    = {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
const std::array<const char *, 12> longMonths
    = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
       "Juli",   "August",  "September", "Oktober", "November", "Dezember"};

const QChar dateSeparator = u'.';
const QChar timeSeparator = u':';

// Qt counts Monday 1 ... Sunday 7; the classic count is Sunday 1 ... Saturday 7.
int sundayBased(const QDate &date)
{
    return date.dayOfWeek() % 7 + 1;
}

QString number(int value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 10, QLatin1Char('0'));
}

// The first day of week 1 when week 1 is the first with at least four days in the year.
QDate firstFourDaysWeekStart(int year, DateFormat::FirstDayOfWeek firstDay)
{
    const QDate jan1(year, 1, 1);
    const int day = DateFormat::weekday(jan1, firstDay);
    QDate start = jan1.addDays(1 - day);
    if (day > 4)
        start = start.addDays(7);
    return start;
}

int runLength(const QString &pattern, qsizetype at)
{
    const QChar letter = pattern.at(at);
    qsizetype end = at;
    while (end < pattern.size() && pattern.at(end) == letter)
        ++end;
    return static_cast<int>(end - at);
}

// The AM/PM marker at this place, or 0: its length.
int markerLength(const QString &pattern, qsizetype at)
{
    for (const char *marker : {"AM/PM", "am/pm", "A/P", "a/p"}) {
        const QLatin1StringView written(marker);
        if (QStringView(pattern).mid(at).startsWith(written))
            return static_cast<int>(written.size());
    }
    return 0;
}

bool holdsMarker(const QString &pattern)
{
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (markerLength(pattern, i))
            return true;
    }
    return false;
}

} // namespace

namespace DateFormat {

QString weekdayName(int weekday, bool abbreviated)
{
    if (weekday < 1 || weekday > 7)
        return QString();
    return QString::fromUtf8((abbreviated ? shortDays : longDays)[weekday - 1]);
}

QString monthName(int month, bool abbreviated)
{
    if (month < 1 || month > 12)
        return QString();
    return QString::fromUtf8((abbreviated ? shortMonths : longMonths)[month - 1]);
}

int weekday(const QDate &date, FirstDayOfWeek firstDay)
{
    return (sundayBased(date) - firstDay + 7) % 7 + 1;
}

int week(const QDate &date, FirstDayOfWeek firstDay, FirstWeekOfYear firstWeek)
{
    if (firstWeek == vbFirstJan1) {
        const int offset = weekday(QDate(date.year(), 1, 1), firstDay) - 1;
        return (date.dayOfYear() - 1 + offset) / 7 + 1;
    }
    if (date >= firstFourDaysWeekStart(date.year() + 1, firstDay))
        return 1;
    QDate start = firstFourDaysWeekStart(date.year(), firstDay);
    if (date < start)
        start = firstFourDaysWeekStart(date.year() - 1, firstDay);
    return static_cast<int>(start.daysTo(date) / 7) + 1;
}

QString format(const QDateTime &when, const QString &pattern, FirstDayOfWeek firstDay,
               FirstWeekOfYear firstWeek)
{
    const QDate date = when.date();
    const QTime time = when.time();
    const bool twelveHours = holdsMarker(pattern);
    QString out;
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar letter = pattern.at(i);
        const int run = runLength(pattern, i);
        int used = 1;
        switch (letter.unicode()) {
        case u'd':
            used = std::min(run, 4);
            if (used <= 2)
                out += number(date.day(), used);
            else
                out += weekdayName(sundayBased(date), used == 3);
            break;
        case u'm':
            used = std::min(run, 4);
            if (used <= 2)
                out += number(date.month(), used);
            else
                out += monthName(date.month(), used == 3);
            break;
        case u'y':
            used = run >= 4 ? 4 : run >= 2 ? 2 : 1;
            if (used == 4)
                out += number(date.year(), 4);
            else if (used == 2)
                out += number(date.year() % 100, 2);
            else
                out += QString::number(date.dayOfYear());
            break;
        case u'w':
            used = std::min(run, 2);
            out += QString::number(used == 2 ? week(date, firstDay, firstWeek)
                                             : weekday(date, firstDay));
            break;
        case u'q':
            out += QString::number((date.month() - 1) / 3 + 1);
            break;
        case u'h': {
            used = std::min(run, 2);
            int hour = time.hour();
            if (twelveHours) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            out += number(hour, used);
            break;
        }
        case u'n':
            used = std::min(run, 2);
            out += number(time.minute(), used);
            break;
        case u's':
            used = std::min(run, 2);
            out += number(time.second(), used);
            break;
        case u'/':
            out += dateSeparator;
            break;
        case u':':
            out += timeSeparator;
            break;
        default:
            if (const int marker = markerLength(pattern, i)) {
                // The half before or after the slash, in the pattern's own letters.
                const QString written = pattern.mid(i, marker);
                const qsizetype slash = written.indexOf(u'/');
                out += time.hour() < 12 ? written.left(slash) : written.mid(slash + 1);
                used = marker;
            } else {
                out += letter;
            }
            break;
        }
        i += used;
    }
    return out;
}

QString generalDate(const QDateTime &when)
{
    return when.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

} // namespace DateFormat
