// Parsing of Objective-C type encodings and the memory layout of archived values.
#include "platform/foundation/typedstream_type_encoding.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>

namespace {

constexpr int maxNesting = 16;
constexpr char scalarCodes[] = "cCsSiIlLqQfdB";
constexpr char otherCodes[] = "*@#:%+!";

class Parser {
public:
    explicit Parser(const QByteArray &text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }

    std::optional<TypeEncoding> parseOne(int depth)
    {
        if (depth > maxNesting)
            return std::nullopt;
        skipQualifiers();
        if (atEnd())
            return std::nullopt;
        const qsizetype start = m_pos;
        TypeEncoding type;
        type.code = m_text.at(m_pos++);
        if (std::strchr(scalarCodes, type.code) || std::strchr(otherCodes, type.code)) {
            // a scalar or reference type: nothing more to read
        } else if (type.code == '[') {
            qint64 count = 0;
            bool digits = false;
            while (!atEnd() && m_text.at(m_pos) >= '0' && m_text.at(m_pos) <= '9') {
                count = count * 10 + (m_text.at(m_pos++) - '0');
                digits = true;
                if (count > 0x7fffffff)
                    return std::nullopt;
            }
            auto element = digits ? parseOne(depth + 1) : std::nullopt;
            if (!element || atEnd() || m_text.at(m_pos) != ']')
                return std::nullopt;
            ++m_pos;
            type.count = count;
            type.fields.push_back(std::move(*element));
        } else if (type.code == '{') {
            while (!atEnd() && m_text.at(m_pos) != '=' && m_text.at(m_pos) != '}')
                type.name.append(m_text.at(m_pos++));
            if (atEnd())
                return std::nullopt;
            if (m_text.at(m_pos) == '=') {
                ++m_pos;
                while (!atEnd() && m_text.at(m_pos) != '}') {
                    auto field = parseOne(depth + 1);
                    if (!field)
                        return std::nullopt;
                    type.fields.push_back(std::move(*field));
                }
                if (atEnd())
                    return std::nullopt;
            }
            ++m_pos;   // the closing brace
        } else {
            return std::nullopt;   // unions, pointers, bit fields, void, unknown codes
        }
        type.text = m_text.mid(start, m_pos - start);
        return type;
    }

private:
    void skipQualifiers()
    {
        while (!atEnd() && std::strchr("rnNoORV", m_text.at(m_pos)) && m_text.at(m_pos) != 0)
            ++m_pos;
    }

    const QByteArray &m_text;
    qsizetype m_pos = 0;
};

}   // namespace

bool TypeEncoding::isInteger() const
{
    return code != 0 && std::strchr("cCsSiIlLqQB", code) != nullptr;
}

bool TypeEncoding::isStructOfReals(int n) const
{
    if (code != '{' || int(fields.size()) != n)
        return false;
    for (const TypeEncoding &f : fields) {
        if (f.code != fields.front().code || !f.isFloat())
            return false;
    }
    return true;
}

std::optional<std::vector<TypeEncoding>> parseTypeEncodings(const QByteArray &text)
{
    if (text.isEmpty() || text.contains('\0'))
        return std::nullopt;
    Parser parser(text);
    std::vector<TypeEncoding> types;
    while (!parser.atEnd()) {
        auto type = parser.parseOne(0);
        if (!type)
            return std::nullopt;
        types.push_back(std::move(*type));
    }
    return types;
}

TypeEncodings sharedTypeEncodings(QByteArrayView text)
{
    // Bounded, as the encodings of a hostile archive are many and long; past the bound
    // they are parsed each time.
    constexpr size_t maxEntries = 512;
    constexpr qsizetype maxLength = 64;
    thread_local std::unordered_map<std::string, TypeEncodings> cache;
    const std::string key(text.data(), size_t(text.size()));
    if (const auto it = cache.find(key); it != cache.end())
        return it->second;
    auto parsed = parseTypeEncodings(text.toByteArray());
    TypeEncodings types = parsed ? std::make_shared<const std::vector<TypeEncoding>>(std::move(*parsed)) : nullptr;
    if (cache.size() < maxEntries && text.size() <= maxLength)
        cache.emplace(key, types);
    return types;
}

int valueAlignmentOf(const TypeEncoding &type)
{
    switch (type.code) {
    case 'c': case 'C': case 'B': return 1;
    case 's': case 'S': return 2;
    case 'i': case 'I': case 'l': case 'L': case 'f': return 4;
    case 'q': case 'Q': case 'd': return 8;
    case '[': return type.fields.empty() ? 1 : valueAlignmentOf(type.fields.front());
    case '{': {
        int alignment = 1;
        for (const TypeEncoding &f : type.fields)
            alignment = std::max(alignment, valueAlignmentOf(f));
        return alignment;
    }
    default: return 1;
    }
}

std::optional<qint64> valueSizeOf(const TypeEncoding &type, qint64 limit)
{
    qint64 size = 0;
    switch (type.code) {
    case '[': {
        auto element = valueSizeOf(type.fields.front(), limit);
        if (!element)
            return std::nullopt;
        if (*element != 0 && type.count > limit / *element)
            return std::nullopt;
        size = *element * type.count;
        break;
    }
    case '{':
        for (const TypeEncoding &f : type.fields) {
            auto fieldSize = valueSizeOf(f, limit);
            if (!fieldSize)
                return std::nullopt;
            const int align = valueAlignmentOf(f);
            size = (size + align - 1) / align * align + *fieldSize;
            if (size > limit)
                return std::nullopt;
        }
        size = (size + valueAlignmentOf(type) - 1) / valueAlignmentOf(type) * valueAlignmentOf(type);
        break;
    default:
        if (!type.isInteger() && !type.isFloat())
            return std::nullopt;
        size = valueAlignmentOf(type);
        break;
    }
    if (size > limit)
        return std::nullopt;
    return size;
}
