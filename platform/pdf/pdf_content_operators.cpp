// Reading a content stream into operators and writing them back.
#include "platform/pdf/pdf_content_operators.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool isDelimiter(char c)
{
    switch (c) {
    case '(': case ')': case '<': case '>': case '[': case ']': case '{': case '}': case '/': case '%':
        return true;
    default:
        return false;
    }
}

bool isRegular(char c)
{
    return !isSpace(c) && !isDelimiter(c);
}

// An integer or a real as PDF writes them: a sign, digits and at most one point.
bool isNumber(std::string_view word, bool *real)
{
    size_t i = word[0] == '+' || word[0] == '-' ? 1 : 0;
    bool digits = false, point = false;
    for (; i < word.size(); ++i) {
        if (word[i] >= '0' && word[i] <= '9')
            digits = true;
        else if (word[i] == '.' && !point)
            point = true;
        else
            return false;
    }
    *real = point;
    return digits;
}

// The real with at most four decimals and no trailing zeros; false when it cannot be read
// or is too large to round that way. from_chars and to_chars ignore the C library's locale,
// which Qt sets from the environment (a decimal comma would break the stream).
bool appendShortReal(std::string &out, std::string_view raw)
{
    const char *begin = raw.data() + (raw[0] == '+' ? 1 : 0);
    const char *end = raw.data() + raw.size();
    double value = 0;
    const auto parsed = std::from_chars(begin, end, value);
    if (parsed.ec != std::errc() || parsed.ptr != end || !std::isfinite(value) || std::abs(value) > 1e9)
        return false;
    char text[32];
    const auto written =
        std::to_chars(text, text + sizeof text, std::round(value * 10000) / 10000, std::chars_format::fixed, 4);
    size_t n = size_t(written.ptr - text);
    while (n > 0 && text[n - 1] == '0')
        --n;
    if (n > 0 && text[n - 1] == '.')
        --n;
    if (n == 2 && text[0] == '-' && text[1] == '0')
        n = 1, text[0] = '0';
    out.append(text, n);
    return true;
}

uint16_t kindsOf(std::string_view name)
{
    using K = ContentOperators;
    constexpr uint16_t State = K::SetsState;
    struct Entry {
        std::string_view name;
        uint16_t kinds;
    };
    static constexpr Entry Table[] = {
        {"q", K::SaveState},
        {"Q", K::RestoreState},
        {"cm", State},
        {"ri", State},
        {"i", State},
        {"gs", State | K::FillState | K::GraphicsState},
        {"w", State | K::StrokeState},
        {"J", State | K::StrokeState},
        {"j", State | K::StrokeState},
        {"M", State | K::StrokeState},
        {"d", State | K::StrokeState},
        {"cs", State | K::FillState | K::FillSpace},
        {"CS", State | K::StrokeState | K::StrokeSpace},
        {"sc", State | K::FillState | K::FillColour},
        {"scn", State | K::FillState | K::FillColour},
        {"SC", State | K::StrokeState | K::StrokeColour},
        {"SCN", State | K::StrokeState | K::StrokeColour},
        {"g", State | K::FillState | K::DeviceFill},
        {"rg", State | K::FillState | K::DeviceFill},
        {"k", State | K::FillState | K::DeviceFill},
        {"G", State | K::StrokeState | K::DeviceStroke},
        {"RG", State | K::StrokeState | K::DeviceStroke},
        {"K", State | K::StrokeState | K::DeviceStroke},
        {"m", K::PathPart},
        {"l", K::PathPart},
        {"c", K::PathPart},
        {"v", K::PathPart},
        {"y", K::PathPart},
        {"h", K::PathPart},
        {"re", K::PathPart},
    };
    for (const Entry &entry : Table)
        if (entry.name == name)
            return entry.kinds;
    return 0;
}

} // namespace

ContentOperators::ContentOperators(std::string_view stream)
{
    m_text.reserve(stream.size());
    m_ops.reserve(stream.size() / 12);
    const size_t size = stream.size();
    size_t i = 0;
    auto operand = [&](size_t begin, size_t end) {
        m_text.append(stream.substr(begin, end - begin));
        m_text += ' ';
    };
    while (i < size) {
        const char c = stream[i];
        if (isSpace(c)) {
            ++i;
        } else if (c == '%') {
            while (i < size && stream[i] != '\n' && stream[i] != '\r')
                ++i;
        } else if (c == '(') {
            const size_t begin = i++;
            for (int depth = 1; i < size && depth > 0; ++i) {
                if (stream[i] == '\\')
                    ++i;
                else if (stream[i] == '(')
                    ++depth;
                else if (stream[i] == ')')
                    --depth;
            }
            operand(begin, std::min(i, size));
        } else if (c == '<' || c == '>') {
            const size_t begin = i++;
            if (i < size && stream[i] == c)
                ++i;                                  // << or >>
            else if (c == '<')
                for (; i < size && stream[i - 1] != '>'; ++i) {
                }
            operand(begin, i);
        } else if (c == '[' || c == ']' || c == '{' || c == '}' || c == ')') {
            operand(i, i + 1);
            ++i;
        } else {
            const size_t begin = i++;
            while (i < size && isRegular(stream[i]))
                ++i;
            const std::string_view word = stream.substr(begin, i - begin);
            bool real = false;
            if (c == '/' || word == "true" || word == "false" || word == "null") {
                operand(begin, i);
            } else if (isNumber(word, &real)) {
                if (!real || !appendShortReal(m_text, word))
                    m_text.append(word);
                m_text += ' ';
            } else {
                addOperator(word, m_pendingOperands);
                if (word == "ID") {
                    // Inline image data runs to the first "EI" between blanks; it is
                    // kept as the operands of an "EI" operator.
                    const size_t data = std::min(i + 1, size);
                    size_t end = data;
                    while (end + 2 < size
                           && !(isSpace(stream[end]) && stream[end + 1] == 'E' && stream[end + 2] == 'I'
                                && (end + 3 == size || !isRegular(stream[end + 3]))))
                        ++end;
                    if (end + 2 >= size) {
                        m_text.append(stream.substr(data)); // no end: kept as it came
                        break;
                    }
                    m_text.append(stream.substr(data, end - data));
                    m_text += ' ';
                    i = end + 3;
                    addOperator("EI", m_pendingOperands);
                }
            }
        }
    }
    m_trailingEnd = uint32_t(m_text.size());
}

void ContentOperators::addOperator(std::string_view name, uint32_t operandsBegin)
{
    Op op;
    op.operandsBegin = operandsBegin;
    op.operandsEnd = uint32_t(m_text.size());
    op.nameBegin = op.operandsEnd;
    m_text.append(name);
    op.nameEnd = uint32_t(m_text.size());
    op.kinds = kindsOf(name);
    m_ops.push_back(op);
    m_pendingOperands = op.nameEnd;
}

void ContentOperators::rename(Op &op, std::string_view name)
{
    op.nameBegin = uint32_t(m_text.size());
    m_text.append(name);
    op.nameEnd = uint32_t(m_text.size());
    op.kinds = kindsOf(name);
}

std::string ContentOperators::text() const
{
    std::string out;
    out.reserve(m_text.size() + m_ops.size());
    for (const Op &op : m_ops) {
        out.append(operands(op));
        out.append(name(op));
        out += '\n';
    }
    out.append(view(m_pendingOperands, m_trailingEnd));
    return out;
}
