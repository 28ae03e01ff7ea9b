// Locale-independent number formatting and parsing.
#include "platform/foundation/c_locale.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace {

locale_t cLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return c;
}

template <typename T>
QString shortest(T value)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

qsizetype skipBlanks(QStringView text, qsizetype i = 0)
{
    while (i < text.size() && text[i].isSpace())
        ++i;
    return i;
}

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The longest prefix of text (from i) shaped like a decimal number, as Latin-1 bytes; empty
// when there is no digit in the mantissa.
std::string decimalPrefix(QStringView text, qsizetype i)
{
    std::string out;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        out += char(text[i++].unicode());
    bool digits = false;
    while (i < text.size() && isDigit(text[i])) {
        out += char(text[i++].unicode());
        digits = true;
    }
    if (i < text.size() && text[i] == u'.') {
        out += '.';
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            out += char(text[i++].unicode());
            digits = true;
        }
    }
    if (!digits)
        return {};
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            out.append(1, 'e');
            for (qsizetype k = i + 1; k < j; ++k)
                out += char(text[k].unicode());
            while (j < text.size() && isDigit(text[j]))
                out += char(text[j++].unicode());
        }
    }
    return out;
}

// The number decimalPrefix made. from_chars reads it much faster than strtod and rounds the
// same (both exactly); values beyond the range of doubles go to strtod, which answers them
// as the platform does (infinity, or the nearest denormal or zero).
double strtodC(const std::string &number)
{
    const char *first = number.c_str();
    if (*first == '+')
        ++first;
    double value = 0;
    const auto res = std::from_chars(first, number.c_str() + number.size(), value);
    if (res.ec == std::errc())
        return value;
    return strtod_l(number.c_str(), nullptr, cLocale());
}

} // namespace

QString formatDouble(double value) { return shortest(value); }

QString formatFloat(float value) { return shortest(value); }

QString formatFixed(double value, int precision)
{
    // printf's rounding of %.Nf is exact (round half to even on the binary value), and so is
    // to_chars with a precision; the buffer holds any double in fixed notation (on the stack
    // for the usual precisions: dictionaries write several numbers for every object).
    if (precision < 0)
        precision = 6;   // as printf takes a negative precision
    if (!std::isfinite(value))
        return formatC("%.*f", precision, value);
    char small[512];
    std::string big;
    char *buf = small;
    size_t size = 400 + size_t(precision);
    if (size > sizeof small) {
        big.resize(size);
        buf = big.data();
    } else {
        size = sizeof small;
    }
    const auto res = std::to_chars(buf, buf + size, value, std::chars_format::fixed, precision);
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

QString formatC(const char *format, ...)
{
    const locale_t previous = uselocale(cLocale());
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    char small[256];
    const int n = vsnprintf(small, sizeof small, format, args);
    va_end(args);
    QString out;
    if (n < 0) {
        out = QString();
    } else if (size_t(n) < sizeof small) {
        out = QString::fromUtf8(small, n);
    } else {
        std::string big(size_t(n) + 1, '\0');
        vsnprintf(big.data(), big.size(), format, copy);
        out = QString::fromUtf8(big.data(), n);
    }
    va_end(copy);
    uselocale(previous);
    return out;
}

qint64 longLongValueOf(QStringView text)
{
    qsizetype i = skipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    // Accumulate towards the sign so that the most negative value is reachable.
    qint64 v = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        const int d = text[i].unicode() - '0';
        if (negative) {
            if (v < (LLONG_MIN + d) / 10)
                return LLONG_MIN;
            v = v * 10 - d;
        } else {
            if (v > (LLONG_MAX - d) / 10)
                return LLONG_MAX;
            v = v * 10 + d;
        }
    }
    return v;
}

int intValueOf(QStringView text)
{
    const qint64 v = longLongValueOf(text);
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : int(v);
}

double doubleValueOf(QStringView text)
{
    const std::string number = decimalPrefix(text, skipBlanks(text));
    return number.empty() ? 0.0 : strtodC(number);
}

bool boolValueOf(QStringView text)
{
    qsizetype i = skipBlanks(text);
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    while (i < text.size() && text[i] == u'0')
        ++i;
    if (i >= text.size())
        return false;
    const QChar c = text[i];
    return c == u'Y' || c == u'y' || c == u'T' || c == u't' || (c >= u'1' && c <= u'9');
}

std::optional<qint64> parseInteger(QStringView text)
{
    const QStringView t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        negative = t[i++] == u'-';
    const bool hex = t.size() - i > 2 && t[i] == u'0' && (t[i + 1] == u'x' || t[i + 1] == u'X');
    if (hex)
        i += 2;
    if (i >= t.size())
        return std::nullopt;
    const QByteArray digits = t.mid(i).toLatin1();
    quint64 magnitude = 0;
    const auto res = std::from_chars(digits.constData(), digits.constData() + digits.size(), magnitude,
                                     hex ? 16 : 10);
    if (res.ec != std::errc() || res.ptr != digits.constData() + digits.size())
        return std::nullopt;
    if (negative) {
        if (magnitude > quint64(LLONG_MAX) + 1)
            return std::nullopt;
        return qint64(0 - magnitude);
    }
    if (magnitude > quint64(LLONG_MAX))
        return std::nullopt;
    return qint64(magnitude);
}

std::optional<double> parseReal(QStringView text)
{
    QStringView t = text.trimmed();
    bool negative = false;
    QStringView unsignedPart = t;
    if (!t.isEmpty() && (t[0] == u'+' || t[0] == u'-')) {
        negative = t[0] == u'-';
        unsignedPart = t.mid(1);
    }
    if (unsignedPart.compare(u"inf", Qt::CaseInsensitive) == 0
        || unsignedPart.compare(u"infinity", Qt::CaseInsensitive) == 0)
        return negative ? -INFINITY : INFINITY;
    if (unsignedPart.compare(u"nan", Qt::CaseInsensitive) == 0)
        return NAN;
    const std::string number = decimalPrefix(t, 0);
    if (number.empty() || qsizetype(number.size()) != t.size())
        return std::nullopt;
    return strtodC(number);
}
