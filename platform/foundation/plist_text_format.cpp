// Writer and reader of the old-style (OpenStep) text form of property lists.
#include "platform/foundation/plist_text_format.h"

#include <QHash>
#include <QStringDecoder>

#include <charconv>

namespace {

constexpr int MaxDepth = 256;

bool isBareChar(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_'
           || c == u'$' || c == u'+' || c == u'/' || c == u':' || c == u'.' || c == u'-';
}

// ---------------------------------------------------------------------------------------
// Writer

class TextWriter {
public:
    QByteArray out;

    void write(const PropertyList &value, int depth)
    {
        switch (value.type()) {
        case PropertyList::Type::Dictionary: writeDictionary(value, depth); break;
        case PropertyList::Type::Array: writeArray(value, depth); break;
        case PropertyList::Type::Data: writeData(value.dataValue()); break;
        case PropertyList::Type::Absent: break;
        case PropertyList::Type::Integer:
            if (value.isAboveSignedRange())
                writeNumber(value.unsignedLongLongValue());
            else
                writeNumber(value.longLongValue());
            break;
        case PropertyList::Type::Real:
            if (value.isSinglePrecision())
                writeNumber(value.floatValue());
            else
                writeNumber(value.doubleValue());
            break;
        case PropertyList::Type::Bool: out.append(value.boolValue() ? '1' : '0'); break;
        default: writeString(value.stringValue()); break;
        }
    }

private:
    // One tab a level: documents nest objects three levels deep, and blanks made a third of
    // a saved file.
    void indent(int depth) { out.append(depth, '\t'); }

    void writeDictionary(const PropertyList &dict, int depth)
    {
        if (dict.count() == 0) {
            out.append("{}");
            return;
        }
        out.append("{\n");
        for (const PropertyList::Entry &entry : dict.entries()) {
            indent(depth + 1);
            writeString(entry.first);
            out.append(" = ");
            write(entry.second, depth + 1);
            out.append(";\n");
        }
        indent(depth);
        out.append('}');
    }

    void writeArray(const PropertyList &array, int depth)
    {
        if (array.count() == 0) {
            out.append("()");
            return;
        }
        out.append("(\n");
        bool first = true;
        for (const PropertyList &element : array.elements()) {
            if (!first)
                out.append(",\n");
            first = false;
            indent(depth + 1);
            write(element, depth + 1);
        }
        out.append('\n');
        indent(depth);
        out.append(')');
    }

    void writeData(const QByteArray &data)
    {
        // Hex digits without the blanks between groups, which readers skip anyway.
        static const char hex[] = "0123456789abcdef";
        const qsizetype at = out.size();
        out.resize(at + 2 * data.size() + 2);
        char *d = out.data() + at;
        *d++ = '<';
        for (const char byte : data) {
            *d++ = hex[(uchar(byte) >> 4) & 0xf];
            *d++ = hex[uchar(byte) & 0xf];
        }
        *d = '>';
    }

    // A number as its stringValue writes it (the shortest form that reads back, "inf" and
    // "nan" for the others): always bare.
    template <typename Number>
    void writeNumber(Number number)
    {
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, number);
        out.append(buf, res.ptr - buf);
    }

    // Bare when every unit is a bare character and no comment starts inside.
    static bool needsQuotes(const QString &s)
    {
        if (s.isEmpty())
            return true;
        char16_t previous = 0;
        for (const QChar qc : s) {
            const char16_t c = qc.unicode();
            if (!isBareChar(c) || (previous == u'/' && (c == u'/' || c == u'*')))
                return true;
            previous = c;
        }
        return false;
    }

    void writeString(const QString &s)
    {
        if (!needsQuotes(s)) {
            // Bare characters are ASCII: one byte each.
            const qsizetype at = out.size();
            out.resize(at + s.size());
            char *d = out.data() + at;
            for (const QChar c : s)
                *d++ = char(c.unicode());
            return;
        }
        static const char hex[] = "0123456789abcdef";
        out.append('"');
        for (QChar qc : s) {
            const char16_t c = qc.unicode();
            switch (c) {
            case u'"': out.append("\\\""); continue;
            case u'\\': out.append("\\\\"); continue;
            case u'\a': out.append("\\a"); continue;
            case u'\b': out.append("\\b"); continue;
            case u'\f': out.append("\\f"); continue;
            case u'\n': out.append("\\n"); continue;
            case u'\r': out.append("\\r"); continue;
            case u'\t': out.append("\\t"); continue;
            case u'\v': out.append("\\v"); continue;
            default: break;
            }
            if (c < 0x20 || c == 0x7f) {
                out.append('\\');
                out.append(char('0' + ((c >> 6) & 7)));
                out.append(char('0' + ((c >> 3) & 7)));
                out.append(char('0' + (c & 7)));
            } else if (c >= 0x80) {
                out.append("\\U");
                out.append(hex[(c >> 12) & 0xf]);
                out.append(hex[(c >> 8) & 0xf]);
                out.append(hex[(c >> 4) & 0xf]);
                out.append(hex[c & 0xf]);
            } else {
                out.append(char(c));
            }
        }
        out.append('"');
    }
};

// ---------------------------------------------------------------------------------------
// Reader

QString decodeText(const QByteArray &data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(data.constData() + 3, data.size() - 3);
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringDecoder::Utf16, QStringDecoder::Flag::Default);
        return utf16(data);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(data);
    return utf8.hasError() ? QString::fromLatin1(data) : text;
}

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

class TextParser {
public:
    explicit TextParser(const QString &text) : m_text(text), m_end(text.size()) {}

    PropertyList parse()
    {
        if (!skipSpace())
            return {};
        if (m_pos >= m_end)
            return fail(QStringLiteral("no property list in the text"));
        const qsizetype start = m_pos;
        PropertyList value = parseValue(0);
        if (m_failed || !skipSpace())
            return {};
        if (m_pos < m_end && at() == u'=' && value.isString()) {
            // The strings-file form: "key = value;" pairs without the outer braces.
            m_pos = start;
            return parseEntries(0, /*closing=*/0);
        }
        if (m_pos < m_end)
            return fail(QStringLiteral("unexpected text after the property list"));
        return value;
    }

    PropertyListError error() const
    {
        PropertyListError e;
        e.message = m_message;
        e.offset = m_errorPos;
        e.line = 1;
        qsizetype lineStart = 0;
        for (qsizetype i = 0; i < m_errorPos && i < m_end; ++i) {
            if (m_text[i] == u'\n') {
                ++e.line;
                lineStart = i + 1;
            }
        }
        e.column = int(m_errorPos - lineStart + 1);
        return e;
    }

private:
    char16_t at() const { return m_text[m_pos].unicode(); }

    PropertyList fail(const QString &message) { return failAt(m_pos, message); }

    PropertyList failAt(qsizetype pos, const QString &message)
    {
        if (!m_failed) {
            m_failed = true;
            m_errorPos = pos;
            m_message = message;
        }
        return {};
    }

    // Skips blanks and comments; false (with an error) on an unterminated comment.
    bool skipSpace()
    {
        while (m_pos < m_end) {
            const char16_t c = at();
            if (QChar::isSpace(c)) {
                ++m_pos;
            } else if (c == u'/' && m_pos + 1 < m_end && m_text[m_pos + 1] == u'/') {
                while (m_pos < m_end && at() != u'\n' && at() != u'\r')
                    ++m_pos;
            } else if (c == u'/' && m_pos + 1 < m_end && m_text[m_pos + 1] == u'*') {
                const qsizetype close = m_text.indexOf(QLatin1String("*/"), m_pos + 2);
                if (close < 0) {
                    failAt(m_pos, QStringLiteral("unterminated comment"));
                    return false;
                }
                m_pos = close + 2;
            } else {
                break;
            }
        }
        return true;
    }

    PropertyList parseValue(int depth)
    {
        if (m_pos >= m_end)
            return fail(QStringLiteral("unexpected end of text where a value was expected"));
        const char16_t c = at();
        if (c == u'{' || c == u'(') {
            if (depth >= MaxDepth)
                return fail(QStringLiteral("nesting deeper than %1 levels").arg(MaxDepth));
            ++m_pos;
            return c == u'{' ? parseEntries(depth + 1, u'}') : parseArray(depth + 1);
        }
        if (c == u'<')
            return parseData();
        if (c == u'"' || c == u'\'')
            return parseQuoted();
        if (isBareChar(c))
            return parseBare();
        return fail(QStringLiteral("unexpected character '%1'").arg(QChar(c)));
    }

    // Dictionary entries up to the closing brace (or, for the strings-file form where
    // closing is 0, up to the end of the text).
    PropertyList parseEntries(int depth, char16_t closing)
    {
        const qsizetype open = m_pos - 1;
        PropertyList dict = PropertyList::dictionary();
        for (;;) {
            if (!skipSpace())
                return {};
            if (m_pos >= m_end) {
                if (closing == 0)
                    return dict;
                return failAt(open, QStringLiteral("dictionary without a closing '}'"));
            }
            if (at() == closing && closing != 0) {
                ++m_pos;
                return dict;
            }
            const char16_t c = at();
            if (c != u'"' && c != u'\'' && !isBareChar(c))
                return fail(QStringLiteral("a dictionary key must be a string"));
            const QString key = parseValue(depth).stringValue();
            if (m_failed || !skipSpace())
                return {};
            if (m_pos >= m_end || at() != u'=')
                return fail(QStringLiteral("missing '=' after the key \"%1\"").arg(key));
            ++m_pos;
            if (!skipSpace())
                return {};
            PropertyList value = parseValue(depth);
            if (m_failed || !skipSpace())
                return {};
            if (m_pos >= m_end || at() != u';')
                return fail(QStringLiteral("missing ';' after the value of \"%1\"").arg(key));
            ++m_pos;
            dict.insert(key, value);
        }
    }

    PropertyList parseArray(int depth)
    {
        const qsizetype open = m_pos - 1;
        PropertyList array = PropertyList::array();
        for (;;) {
            if (!skipSpace())
                return {};
            if (m_pos >= m_end)
                return failAt(open, QStringLiteral("array without a closing ')'"));
            if (at() == u')') {
                ++m_pos;
                return array;
            }
            array.append(parseValue(depth));
            if (m_failed || !skipSpace())
                return {};
            if (m_pos < m_end && at() == u',') {
                ++m_pos;
            } else if (m_pos < m_end && at() != u')') {
                return fail(QStringLiteral("missing ',' between array elements"));
            }
        }
    }

    PropertyList parseData()
    {
        const qsizetype open = m_pos++;
        // Data is mostly an unbroken run of hex digits: room for all of it at once, written
        // through a pointer.
        const qsizetype close = m_text.indexOf(u'>', m_pos);
        QByteArray bytes(((close < 0 ? m_end : close) - m_pos) / 2, Qt::Uninitialized);
        char *out = bytes.data();
        int high = -1;
        for (; m_pos < m_end; ++m_pos) {
            const char16_t c = at();
            if (c == u'>') {
                if (high >= 0)
                    return failAt(open, QStringLiteral("data with an odd number of hex digits"));
                ++m_pos;
                bytes.truncate(out - bytes.constData());
                return PropertyList::fromData(bytes);
            }
            if (QChar::isSpace(c))
                continue;
            const int v = hexValue(c);
            if (v < 0)
                return fail(QStringLiteral("bad character '%1' in data").arg(QChar(c)));
            if (high < 0) {
                high = v;
            } else {
                *out++ = char(high << 4 | v);
                high = -1;
            }
        }
        return failAt(open, QStringLiteral("data without a closing '>'"));
    }

    PropertyList parseBare()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_end && isBareChar(at()))
            ++m_pos;
        return PropertyList(bareString(QStringView(m_text).mid(start, m_pos - start)));
    }

    // Bare words repeat in every object of a document (its keys, "YES", "NO", small
    // numbers): each distinct short one is made once and shared.
    QString bareString(QStringView word)
    {
        if (word.size() > MaxSharedWordLength)
            return word.toString();
        if (const auto known = m_words.constFind(word); known != m_words.cend())
            return *known;
        const QString text = word.toString();
        if (m_words.size() < MaxSharedWords)
            m_words.insert(word, text);   // the view lies in m_text, which outlives the table
        return text;
    }

    PropertyList parseQuoted()
    {
        const qsizetype open = m_pos;
        const char16_t quote = m_text[m_pos++].unicode();
        QString s;
        for (;;) {
            // Copy the run up to the next quote or backslash in one go.
            qsizetype run = m_pos;
            while (run < m_end && m_text[run] != quote && m_text[run] != u'\\')
                ++run;
            s.append(QStringView(m_text).mid(m_pos, run - m_pos));
            m_pos = run;
            if (m_pos >= m_end)
                return failAt(open, QStringLiteral("unterminated string"));
            if (at() == quote) {
                ++m_pos;
                return PropertyList(s);
            }
            ++m_pos;   // the backslash
            if (m_pos >= m_end)
                return failAt(open, QStringLiteral("unterminated string"));
            s.append(parseEscape());
        }
    }

    // The character after a backslash (m_pos is on it); moves past the escape.
    QChar parseEscape()
    {
        const char16_t c = m_text[m_pos++].unicode();
        switch (c) {
        case u'a': return u'\a';
        case u'b': return u'\b';
        case u'f': return u'\f';
        case u'n': return u'\n';
        case u'r': return u'\r';
        case u't': return u'\t';
        case u'v': return u'\v';
        case u'U':
        case u'u': {
            char16_t unit = 0;
            int digits = 0;
            for (; digits < 4 && m_pos < m_end && hexValue(at()) >= 0; ++digits)
                unit = char16_t(unit << 4 | hexValue(m_text[m_pos++].unicode()));
            return digits ? QChar(unit) : QChar(c);
        }
        default: break;
        }
        if (c >= u'0' && c <= u'7') {
            // Up to three octal digits. Values above 127 are taken as Latin-1; writers of this
            // form use \U for non-ASCII text.
            int v = c - u'0';
            for (int n = 1; n < 3 && m_pos < m_end && at() >= u'0' && at() <= u'7'; ++n)
                v = v * 8 + (m_text[m_pos++].unicode() - u'0');
            return QChar(char16_t(v & 0xff));
        }
        return QChar(c);
    }

    static constexpr qsizetype MaxSharedWordLength = 32;
    static constexpr qsizetype MaxSharedWords = 4096;

    const QString &m_text;
    const qsizetype m_end;
    QHash<QStringView, QString> m_words;
    qsizetype m_pos = 0;
    bool m_failed = false;
    qsizetype m_errorPos = 0;
    QString m_message;
};

} // namespace

QByteArray textPropertyListData(const PropertyList &value)
{
    TextWriter writer;
    writer.write(value, 0);
    return writer.out;
}

PropertyList propertyListFromText(const QByteArray &data, PropertyListError *error)
{
    const QString text = decodeText(data);
    TextParser parser(text);
    PropertyList value = parser.parse();
    if (value.isAbsent() && error)
        *error = parser.error();
    return value;
}
