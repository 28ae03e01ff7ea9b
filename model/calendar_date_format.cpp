// The calendar date formatter and the checked page-number formatter.
#include "model/calendar_date_format.h"

#include <QTimeZone>

#include <array>
#include <cstdio>

namespace {

const std::array<const char *, 7> DayNames{"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
                                           "Sunday"};
const std::array<const char *, 12> MonthNames{"January", "February", "March",     "April",   "May",      "June",
                                              "July",    "August",   "September", "October", "November", "December"};

QString padded(int value, int width, QChar fill = QLatin1Char('0'))
{
    return QStringLiteral("%1").arg(value, width, 10, fill);
}

QString dayName(const QDate &d, bool abbreviated)
{
    const QString name = QLatin1String(DayNames[size_t(d.dayOfWeek() - 1)]);
    return abbreviated ? name.left(3) : name;
}

QString monthName(const QDate &d, bool abbreviated)
{
    const QString name = QLatin1String(MonthNames[size_t(d.month() - 1)]);
    return abbreviated ? name.left(3) : name;
}

QString zoneOffset(const QDateTime &date)
{
    const int seconds = date.offsetFromUtc();
    const int minutes = std::abs(seconds) / 60;
    return QLatin1Char(seconds < 0 ? '-' : '+') + padded(minutes / 60, 2) + padded(minutes % 60, 2);
}

// One conversion's text, or a null string for an unknown conversion character.
QString conversion(const QDateTime &date, QChar c)
{
    const QDate d = date.date();
    const QTime t = date.time();
    const int hour12 = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
    switch (c.unicode()) {
    case 'a': return dayName(d, true);
    case 'A': return dayName(d, false);
    case 'b': return monthName(d, true);
    case 'B': return monthName(d, false);
    case 'c': return describeDate(date, QStringLiteral("%a %b %e %H:%M:%S %Z %Y"));
    case 'd': return padded(d.day(), 2);
    case 'e': return padded(d.day(), 2, QLatin1Char(' '));
    case 'F': return describeDate(date, QStringLiteral("%Y-%m-%d"));
    case 'H': return padded(t.hour(), 2);
    case 'I': return padded(hour12, 2);
    case 'j': return padded(d.dayOfYear(), 3);
    case 'm': return padded(d.month(), 2);
    case 'M': return padded(t.minute(), 2);
    case 'p': return QLatin1String(t.hour() < 12 ? "AM" : "PM");
    case 'S': return padded(t.second(), 2);
    case 'w': return QString::number(d.dayOfWeek() % 7);
    case 'x': return describeDate(date, QStringLiteral("%y-%m-%d"));
    case 'X': return describeDate(date, QStringLiteral("%H:%M:%S"));
    case 'y': return padded(d.year() % 100, 2);
    case 'Y': return QString::number(d.year());
    case 'Z': return date.timeZoneAbbreviation();
    case 'z': return zoneOffset(date);
    case '%': return QStringLiteral("%");
    default: return {};
    }
}

// The parts of a page-number format: the text before and after its one conversion, and the
// conversion itself ("%" flags width precision character), with "%%" already made "%".
struct PageNumberFormat {
    QString before;
    QByteArray conversion;
    QString after;
};

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// At most two digits from i on, copied into spec.
bool takeDigits(const QString &format, qsizetype &i, QByteArray &spec)
{
    int count = 0;
    while (i < format.size() && isDigit(format[i])) {
        if (++count > 2)
            return false;
        spec += char(format[i++].unicode());
    }
    return true;
}

bool parsePageNumberFormat(const QString &format, PageNumberFormat &parts)
{
    bool seen = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        QString &text = seen ? parts.after : parts.before;
        if (format[i] != QLatin1Char('%')) {
            text += format[i];
            continue;
        }
        if (++i >= format.size())
            return false;
        if (format[i] == QLatin1Char('%')) {
            text += QLatin1Char('%');
            continue;
        }
        if (seen)
            return false;
        QByteArray spec("%");
        while (i < format.size() && QStringLiteral("-+ 0#").contains(format[i]))
            spec += char(format[i++].unicode());
        if (!takeDigits(format, i, spec))
            return false;
        if (i < format.size() && format[i] == QLatin1Char('.')) {
            spec += '.';
            ++i;
            if (!takeDigits(format, i, spec))
                return false;
        }
        if (i >= format.size() || !QStringLiteral("diuoxX").contains(format[i]))
            return false;
        spec += char(format[i].unicode());
        parts.conversion = spec;
        seen = true;
    }
    return seen;
}

} // namespace

QString describeDate(const QDateTime &date, const QString &format)
{
    QString out;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != QLatin1Char('%') || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        const QString text = conversion(date, format[i + 1]);
        if (text.isNull()) {
            out += format[i];
            continue;
        }
        out += text;
        ++i;
    }
    return out;
}

bool isPageNumberFormat(const QString &format)
{
    PageNumberFormat parts;
    return parsePageNumberFormat(format, parts);
}

QString formatPageNumber(const QString &format, int page)
{
    PageNumberFormat parts;
    if (!parsePageNumberFormat(format, parts)) {
        parts = PageNumberFormat{};
        parsePageNumberFormat(QStringLiteral("%d"), parts);
    }
    // The conversion has been checked to take exactly one int, and its width and precision
    // are below 100, so the buffer always holds the result.
    char number[128];
    std::snprintf(number, sizeof number, parts.conversion.constData(), page);
    return parts.before + QString::fromLatin1(number) + parts.after;
}
