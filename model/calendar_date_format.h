// Describing a date with a calendar format ("%A, %B %e, %Y") in the C locale, and writing a
// page number with a printf-style format that is checked first.
#pragma once

#include <QDateTime>
#include <QString>

// The format a date field takes when it has none.
inline const QString DefaultCalendarFormat = QStringLiteral("%Y-%m-%d %H:%M:%S %z");

// The date described by the format, with English day and month names whatever the user's
// locale. Conversions: %a %A %b %B %c %d %e %F %H %I %j %m %M %p %S %w %x %X %y %Y %Z %z
// %%; an unknown conversion and a lone "%" at the end are kept as they stand.
QString describeDate(const QDateTime &date, const QString &format);

// Whether the format holds exactly one integer conversion (%d, %i, %u, %o, %x or %X, with
// the flags "-+ 0#", a width and a precision of at most two digits each) besides any
// number of "%%".
bool isPageNumberFormat(const QString &format);
// The page number written with the format; a format that isPageNumberFormat refuses is
// replaced by "%d", so that no text from a file ever steers a printf-style function.
QString formatPageNumber(const QString &format, int page);
