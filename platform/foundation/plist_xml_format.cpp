// Writer and reader of the XML form of property lists.
#include "platform/foundation/plist_xml_format.h"

#include "platform/foundation/c_locale.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

constexpr int MaxDepth = 256;

// ---------------------------------------------------------------------------------------
// Writer

// The first character of s that XML 1.0 cannot hold, or -1.
int firstUnwritableChar(const QString &s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            return c;
        if (c == 0xfffe || c == 0xffff)
            return c;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode()))
                ++i;
            else
                return c;
        } else if (QChar::isLowSurrogate(c)) {
            return c;
        }
    }
    return -1;
}

class XmlWriter {
public:
    explicit XmlWriter(QByteArray *out) : m_xml(out)
    {
        m_xml.setAutoFormatting(true);
        m_xml.setAutoFormattingIndent(-1);   // one tab a level
    }

    bool write(const PropertyList &value, QString *error)
    {
        m_xml.writeStartDocument();
        m_xml.writeDTD(QStringLiteral("<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                                      "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">"));
        m_xml.writeStartElement(QStringLiteral("plist"));
        m_xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
        writeValue(value);
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
        if (m_error.isEmpty() && m_xml.hasError())
            m_error = QStringLiteral("the XML could not be written");
        if (error)
            *error = m_error;
        return m_error.isEmpty();
    }

private:
    void writeValue(const PropertyList &value)
    {
        if (!m_error.isEmpty())
            return;
        switch (value.type()) {
        case PropertyList::Type::Absent:
            m_error = QStringLiteral("there is no value to write");
            return;
        case PropertyList::Type::Dictionary:
            m_xml.writeStartElement(QStringLiteral("dict"));
            for (const PropertyList::Entry &entry : value.entries()) {
                writeText(QStringLiteral("key"), entry.first);
                writeValue(entry.second);
            }
            m_xml.writeEndElement();
            return;
        case PropertyList::Type::Array:
            m_xml.writeStartElement(QStringLiteral("array"));
            for (const PropertyList &element : value.elements())
                writeValue(element);
            m_xml.writeEndElement();
            return;
        case PropertyList::Type::Integer:
            m_xml.writeTextElement(QStringLiteral("integer"), value.stringValue());
            return;
        case PropertyList::Type::Real:
            m_xml.writeTextElement(QStringLiteral("real"), formatDouble(value.doubleValue()));
            return;
        case PropertyList::Type::Bool:
            m_xml.writeEmptyElement(value.boolValue() ? QStringLiteral("true") : QStringLiteral("false"));
            return;
        case PropertyList::Type::Data:
            m_xml.writeTextElement(QStringLiteral("data"), QString::fromLatin1(value.dataValue().toBase64()));
            return;
        case PropertyList::Type::Date:
            m_xml.writeTextElement(QStringLiteral("date"), value.dateValue().toString(Qt::ISODate));
            return;
        default:
            writeText(QStringLiteral("string"), value.stringValue());
            return;
        }
    }

    // A text element, with carriage returns as character references.
    void writeText(const QString &element, const QString &text)
    {
        if (const int bad = firstUnwritableChar(text); bad >= 0) {
            m_error = QStringLiteral("the text \"%1\" holds the character U+%2, which XML cannot carry")
                          .arg(text.left(40))
                          .arg(bad, 4, 16, QLatin1Char('0'));
            return;
        }
        m_xml.writeStartElement(element);
        qsizetype from = 0;
        for (qsizetype cr = text.indexOf(u'\r'); cr >= 0; cr = text.indexOf(u'\r', from)) {
            m_xml.writeCharacters(text.mid(from, cr - from));
            m_xml.writeEntityReference(QStringLiteral("#xD"));
            from = cr + 1;
        }
        m_xml.writeCharacters(text.mid(from));
        m_xml.writeEndElement();
    }

    QXmlStreamWriter m_xml;
    QString m_error;
};

// ---------------------------------------------------------------------------------------
// Reader

class XmlParser {
public:
    // The reader gets the bytes through a device: it then decodes the text piece by piece
    // as it parses. Given the whole array it decodes it at once into one large string, and
    // reading grew faster than the document (3 times slower per object at 10,000 objects).
    explicit XmlParser(const QByteArray &data) : m_data(data), m_device(&m_data)
    {
        m_device.open(QIODevice::ReadOnly);
        m_xml.setDevice(&m_device);
    }

    PropertyList parse()
    {
        PropertyList value;
        if (!nextElement())
            return {};
        if (m_xml.name() == QLatin1String("plist")) {
            if (!nextElement())
                return {};
            if (m_xml.isEndElement())
                return fail(QStringLiteral("the property list holds no value"));
            value = parseValue(0);
            if (value.isAbsent() || !nextElement())
                return {};
            if (!m_xml.isEndElement())
                return fail(QStringLiteral("the property list holds more than one value"));
        } else {
            value = parseValue(0);
            if (value.isAbsent())
                return {};
        }
        // The rest must be well-formed and hold no further element.
        while (!m_xml.atEnd()) {
            m_xml.readNext();
            if (!checkToken())
                return {};
            if (m_xml.isStartElement())
                return fail(QStringLiteral("unexpected element <%1> after the property list").arg(m_xml.name()));
        }
        return m_xml.hasError() ? PropertyList() : value;
    }

    PropertyListError error() const
    {
        PropertyListError e;
        e.message = m_xml.errorString();
        e.offset = m_xml.characterOffset();
        e.line = int(m_xml.lineNumber());
        e.column = int(m_xml.columnNumber()) + 1;
        return e;
    }

private:
    PropertyList fail(const QString &message)
    {
        if (!m_xml.hasError())
            m_xml.raiseError(message);
        return {};
    }

    bool failed(const QString &message)
    {
        fail(message);
        return false;
    }

    // Refuses declared or undeclared entities; false once the reader has an error.
    bool checkToken()
    {
        if (m_xml.tokenType() == QXmlStreamReader::DTD && !m_xml.entityDeclarations().isEmpty())
            fail(QStringLiteral("entity declarations are not allowed in a property list"));
        else if (m_xml.tokenType() == QXmlStreamReader::EntityReference)
            fail(QStringLiteral("unknown entity &%1;").arg(m_xml.name()));
        return !m_xml.hasError();
    }

    // Moves to the next start or end element, skipping blanks, comments and the prologue;
    // other text between elements is an error.
    bool nextElement()
    {
        while (!m_xml.atEnd()) {
            m_xml.readNext();
            if (!checkToken())
                return false;
            if (m_xml.isStartElement() || m_xml.isEndElement())
                return true;
            if (m_xml.isCharacters() && !m_xml.isWhitespace())
                return failed(QStringLiteral("unexpected text \"%1\"").arg(m_xml.text().left(40)));
        }
        return failed(QStringLiteral("unexpected end of the document"));
    }

    // Text decoded from a declared encoding (UTF-7, say) can hold what no valid string
    // holds, a lone surrogate among them; such text is refused here, as the writer would
    // refuse to write it back.
    bool checkDecodedText(const QString &text)
    {
        if (const int bad = firstUnwritableChar(text); bad >= 0)
            return failed(QStringLiteral("the text holds the character U+%1, which is not allowed")
                              .arg(bad, 4, 16, QLatin1Char('0')));
        return true;
    }

    // The text of the current element up to its end; child elements are an error.
    bool readText(QString *text)
    {
        text->clear();
        while (!m_xml.atEnd()) {
            m_xml.readNext();
            if (!checkToken())
                return false;
            if (m_xml.isCharacters())
                text->append(m_xml.text());
            else if (m_xml.isEndElement())
                return checkDecodedText(*text);
            else if (m_xml.isStartElement())
                return failed(QStringLiteral("unexpected element <%1> inside text").arg(m_xml.name()));
        }
        return failed(QStringLiteral("unexpected end of the document"));
    }

    // The value whose start element is the current token; ends on its end element.
    PropertyList parseValue(int depth)
    {
        if (!m_xml.isStartElement())
            return fail(QStringLiteral("a value was expected"));
        const QStringView name = m_xml.name();
        if (name == QLatin1String("dict") || name == QLatin1String("array")) {
            if (depth >= MaxDepth)
                return fail(QStringLiteral("nesting deeper than %1 levels").arg(MaxDepth));
            return name == QLatin1String("dict") ? parseDict(depth + 1) : parseArray(depth + 1);
        }
        if (name == QLatin1String("true") || name == QLatin1String("false")) {
            const bool yes = name == QLatin1String("true");
            QString text;
            if (!readText(&text))
                return {};
            if (!text.trimmed().isEmpty())
                return fail(QStringLiteral("<%1/> must be empty").arg(yes ? "true" : "false"));
            return PropertyList::fromBool(yes);
        }
        const QString element = name.toString();
        QString text;
        if (element != QLatin1String("string") && element != QLatin1String("key")
            && element != QLatin1String("integer") && element != QLatin1String("real")
            && element != QLatin1String("data") && element != QLatin1String("date"))
            return fail(QStringLiteral("unknown element <%1>").arg(element));
        if (!readText(&text))
            return {};
        if (element == QLatin1String("string") || element == QLatin1String("key"))
            return PropertyList(text);
        if (element == QLatin1String("integer")) {
            if (const auto v = parseInteger(text))
                return PropertyList::fromInt(*v);
            // Other writers store unsigned 64-bit values (up to 2^64 - 1): they stay integers.
            // A decimal integer beyond both ranges is kept as the nearest real rather than
            // failing the file.
            static const QRegularExpression decimal(QStringLiteral("^\\s*\\+?([0-9]+)\\s*$"));
            static const QRegularExpression signedDecimal(QStringLiteral("^\\s*[+-]?[0-9]+\\s*$"));
            bool fits = false;
            if (const QRegularExpressionMatch m = decimal.match(text); m.hasMatch()) {
                const quint64 u = m.capturedView(1).toULongLong(&fits);
                if (fits)
                    return PropertyList::fromUnsigned(u);
            }
            if (signedDecimal.match(text).hasMatch())
                if (const auto r = parseReal(text.trimmed()))
                    return PropertyList::fromDouble(*r);
            return fail(QStringLiteral("bad integer \"%1\"").arg(text.left(40)));
        }
        if (element == QLatin1String("real")) {
            const auto v = parseReal(text);
            return v ? PropertyList::fromDouble(*v) : fail(QStringLiteral("bad real \"%1\"").arg(text.left(40)));
        }
        if (element == QLatin1String("data")) {
            QByteArray base64 = text.toLatin1();
            base64.removeIf([](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
            auto decoded = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
            return decoded ? PropertyList::fromData(*decoded) : fail(QStringLiteral("bad base64 data"));
        }
        // The format holds whole seconds, and so does what we write: a fraction (".5", or
        // "15:09,26" read as a fraction of a minute) is dropped here, so the value read is the
        // one written back.
        QDateTime date = QDateTime::fromString(text.trimmed(), Qt::ISODate);
        if (!date.isValid())
            return fail(QStringLiteral("bad date \"%1\"").arg(text.left(40)));
        return PropertyList::fromDate(date.addMSecs(-date.time().msec()));
    }

    PropertyList parseDict(int depth)
    {
        PropertyList dict = PropertyList::dictionary();
        for (;;) {
            if (!nextElement())
                return {};
            if (m_xml.isEndElement())
                return dict;
            if (m_xml.name() != QLatin1String("key"))
                return fail(QStringLiteral("<%1> where a <key> was expected").arg(m_xml.name()));
            QString key;
            if (!readText(&key) || !nextElement())
                return {};
            if (m_xml.isEndElement())
                return fail(QStringLiteral("the key \"%1\" has no value").arg(key));
            const PropertyList value = parseValue(depth);
            if (value.isAbsent())
                return {};
            dict.insert(key, value);
        }
    }

    PropertyList parseArray(int depth)
    {
        PropertyList array = PropertyList::array();
        for (;;) {
            if (!nextElement())
                return {};
            if (m_xml.isEndElement())
                return array;
            const PropertyList value = parseValue(depth);
            if (value.isAbsent())
                return {};
            array.append(value);
        }
    }

    QByteArray m_data;
    QBuffer m_device;
    QXmlStreamReader m_xml;
};

} // namespace

QByteArray xmlPropertyListData(const PropertyList &value, QString *error)
{
    QByteArray out;
    XmlWriter writer(&out);
    if (!writer.write(value, error))
        return QByteArray();
    return out;
}

PropertyList propertyListFromXml(const QByteArray &data, PropertyListError *error)
{
    XmlParser parser(data);
    PropertyList value = parser.parse();
    if (value.isAbsent() && error)
        *error = parser.error();
    return value;
}
