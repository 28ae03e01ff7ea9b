// Number and token reading for the SVG importer.
#include "svg/svg_scanner.h"

#include <charconv>
#include <cmath>

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The length of the number starting at `pos` in text, 0 when none starts there.
qsizetype numberLength(QStringView text, qsizetype pos)
{
    qsizetype i = pos;
    const qsizetype n = text.size();
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        qsizetype j = i + 1;
        qsizetype fraction = 0;
        while (j < n && isDigit(text[j])) {
            ++j;
            ++fraction;
        }
        if (digits + fraction > 0) {
            digits += fraction;
            i = j;
        }
    }
    if (digits == 0)
        return 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        if (j < n && isDigit(text[j])) {
            while (j < n && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i - pos;
}

std::optional<double> toDouble(QStringView number)
{
    char buffer[64];
    if (number.size() >= qsizetype(sizeof buffer))
        return std::nullopt;
    for (qsizetype i = 0; i < number.size(); ++i)
        buffer[i] = char(number[i].unicode());
    const char *begin = buffer[0] == '+' ? buffer + 1 : buffer;
    double value = 0;
    const auto result = std::from_chars(begin, buffer + number.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

void SvgScanner::skip()
{
    while (m_pos < m_text.size() && m_skip.contains(m_text[m_pos]))
        ++m_pos;
}

bool SvgScanner::isAtEnd()
{
    skip();
    return m_pos >= m_text.size();
}

std::optional<double> SvgScanner::scanDouble()
{
    const qsizetype start = m_pos;
    skip();
    const qsizetype length = numberLength(m_text, m_pos);
    if (length == 0) {
        m_pos = start;
        return std::nullopt;
    }
    const auto value = toDouble(m_text.mid(m_pos, length));
    if (!value) {
        m_pos = start;
        return std::nullopt;
    }
    m_pos += length;
    return value;
}

std::optional<long long> SvgScanner::scanInt()
{
    const qsizetype start = m_pos;
    skip();
    qsizetype i = m_pos;
    if (i < m_text.size() && (m_text[i] == u'+' || m_text[i] == u'-'))
        ++i;
    const qsizetype digitsStart = i;
    while (i < m_text.size() && isDigit(m_text[i]))
        ++i;
    if (i == digitsStart || i - m_pos > 18) {
        m_pos = start;
        return std::nullopt;
    }
    bool ok = false;
    const long long value = m_text.mid(m_pos, i - m_pos).toLongLong(&ok);
    if (!ok) {
        m_pos = start;
        return std::nullopt;
    }
    m_pos = i;
    return value;
}

std::optional<QString> SvgScanner::scanRun(QStringView set, bool inSet)
{
    const qsizetype start = m_pos;
    skip();
    qsizetype i = m_pos;
    while (i < m_text.size() && set.contains(m_text[i]) == inSet)
        ++i;
    if (i == m_pos) {
        m_pos = start;
        return std::nullopt;
    }
    const QString result = m_text.mid(m_pos, i - m_pos).toString();
    m_pos = i;
    return result;
}

std::optional<QString> SvgScanner::scanUpToCharacters(QStringView stops)
{
    return scanRun(stops, false);
}

std::optional<QString> SvgScanner::scanCharacters(QStringView set)
{
    return scanRun(set, true);
}

bool SvgScanner::scanString(QStringView s)
{
    const qsizetype start = m_pos;
    skip();
    if (m_text.mid(m_pos).startsWith(s)) {
        m_pos += s.size();
        return true;
    }
    m_pos = start;
    return false;
}

std::optional<QString> SvgScanner::scanUpToString(QStringView s)
{
    const qsizetype start = m_pos;
    skip();
    qsizetype found = m_text.mid(m_pos).indexOf(s);
    const qsizetype end = found < 0 ? m_text.size() : m_pos + found;
    if (end == m_pos) {
        m_pos = start;
        return std::nullopt;
    }
    const QString result = m_text.mid(m_pos, end - m_pos).toString();
    m_pos = end;
    return result;
}

double svgLeadingDouble(QStringView text)
{
    SvgScanner scanner(text);
    return scanner.scanDouble().value_or(0.0);
}
