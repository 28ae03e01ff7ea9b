// The three-stage parse of SVG bytes, the encoding fallback and the tree readers.
#include "svg/svg_xml_loader.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <QStringDecoder>

#include <iconv.h>

namespace {

// The parser's invalid-character error.
constexpr int InvalidCharacterError = XML_ERR_INVALID_CHAR;

// Refuses every external entity and DTD: nothing outside the bytes is ever read.
xmlParserInputPtr refuseExternalEntity(const char *, const char *, xmlParserCtxtPtr)
{
    return nullptr;
}

// Installs the refusing loader for the duration of one parse.
class RefusingEntityLoader {
public:
    RefusingEntityLoader() : m_previous(xmlGetExternalEntityLoader()) { xmlSetExternalEntityLoader(refuseExternalEntity); }
    ~RefusingEntityLoader() { xmlSetExternalEntityLoader(m_previous); }

private:
    xmlExternalEntityLoader m_previous;
};

// Internal entities are substituted (some exporters use them for namespaces); the loader
// above refuses external ones, libxml2's amplification check stops entity bombs (no
// XML_PARSE_HUGE), and its default depth limit bounds nesting.
constexpr int BaseOptions = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

struct ParseOutcome {
    SvgXmlDocument doc;
    int error = 0;   // 0 when none was reported
};

ParseOutcome parse(const char *bytes, int size, int options, const char *encoding)
{
    ParseOutcome outcome;
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt)
        return outcome;
    RefusingEntityLoader loader;
    xmlDocPtr doc = xmlCtxtReadMemory(ctxt, bytes, size, nullptr, encoding, options);
    outcome.doc.reset(doc);
    outcome.error = ctxt->errNo;
    if (outcome.error == 0 && (options & XML_PARSE_DTDVALID) && !ctxt->valid)
        outcome.error = XML_DTD_UNKNOWN_ELEM;   // any validity error
    xmlFreeParserCtxt(ctxt);
    return outcome;
}

void setEncoding(xmlDoc *doc, const char *name)
{
    if (doc->encoding)
        xmlFree(const_cast<xmlChar *>(doc->encoding));
    doc->encoding = xmlStrdup(reinterpret_cast<const xmlChar *>(name));
}

std::optional<QString> decodeMacRoman(const QByteArray &data)
{
    iconv_t cd = iconv_open("UTF-8", "MACINTOSH");
    if (cd == iconv_t(-1))
        return std::nullopt;
    QByteArray out(data.size() * 3 + 4, Qt::Uninitialized);
    char *in = const_cast<char *>(data.constData());
    size_t inLeft = size_t(data.size());
    char *outPtr = out.data();
    size_t outLeft = size_t(out.size());
    const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == size_t(-1))
        return std::nullopt;
    out.truncate(out.size() - qsizetype(outLeft));
    return QString::fromUtf8(out);
}

bool isValidUtf8(const QByteArray &data)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(data);
    return !decoder.hasError();
}

} // namespace

void SvgXmlDocumentFree::operator()(xmlDoc *doc) const
{
    xmlFreeDoc(doc);
}

std::optional<QString> guessEncoding(const QByteArray &data, QString *encodingName)
{
    if (data.isEmpty())
        return std::nullopt;
    if (isValidUtf8(data)) {
        if (encodingName)
            *encodingName = QStringLiteral("utf-8");
        return QString::fromUtf8(data);
    }
    auto text = decodeMacRoman(data);
    if (text && encodingName)
        *encodingName = QStringLiteral("macos-roman");
    return text;
}

SvgXmlDocument MakeXMLDocumentWithData(const QByteArray &data, SvgXmlParseReport *report)
{
    SvgXmlParseReport ignored;
    SvgXmlParseReport &outcome = report ? *report : ignored;
    outcome = SvgXmlParseReport();
    if (data.isEmpty() || data.size() > SvgMaximumFileSize)
        return nullptr;
    const int stageOptions[3] = {BaseOptions, BaseOptions | XML_PARSE_DTDLOAD | XML_PARSE_DTDVALID,
                                 BaseOptions | XML_PARSE_RECOVER};
    for (int stage = 0; stage < 3; ++stage) {
        const int options = stageOptions[stage];
        // Only the recovering stage reads what is not well-formed.
        outcome.wellFormed = stage < 2;
        ParseOutcome first = parse(data.constData(), int(data.size()), options, nullptr);
        // libxml2 reports its depth bound as an internal error.
        if (first.error == XML_ERR_INTERNAL_ERROR)
            outcome.tooDeep = true;
        if (first.doc && !first.doc->encoding)
            setEncoding(first.doc.get(), "utf-8");
        if (first.doc && (stage == 0 ? first.error == 0 : first.error != InvalidCharacterError))
            return std::move(first.doc);
        if (!first.doc || first.error == InvalidCharacterError) {
            QString encodingName;
            const auto text = guessEncoding(data, &encodingName);
            if (text) {
                const QByteArray utf8 = text->toUtf8();
                ParseOutcome second = parse(utf8.constData(), int(utf8.size()), options, "UTF-8");
                if (second.doc && second.error == 0) {
                    setEncoding(second.doc.get(), encodingName.toLatin1().constData());
                    return std::move(second.doc);
                }
                if (stage == 2) {
                    if (second.doc)
                        setEncoding(second.doc.get(), encodingName.toLatin1().constData());
                    return std::move(second.doc);
                }
            } else if (stage == 2) {
                return std::move(first.doc);
            }
        }
    }
    return nullptr;
}

QString svgDocumentEncoding(const xmlDoc *doc)
{
    return doc && doc->encoding ? QString::fromUtf8(reinterpret_cast<const char *>(doc->encoding)) : QString();
}

QString svgQualifiedName(const xmlNode *node)
{
    if (!node || !node->name)
        return {};
    const QString name = QString::fromUtf8(reinterpret_cast<const char *>(node->name));
    if (node->ns && node->ns->prefix)
        return QString::fromUtf8(reinterpret_cast<const char *>(node->ns->prefix)) + QLatin1Char(':') + name;
    return name;
}

QString svgAttributeName(const xmlAttr *attribute)
{
    const QString name = QString::fromUtf8(reinterpret_cast<const char *>(attribute->name));
    if (attribute->ns && attribute->ns->prefix)
        return QString::fromUtf8(reinterpret_cast<const char *>(attribute->ns->prefix)) + QLatin1Char(':') + name;
    return name;
}

SvgAttributes svgAttributes(const xmlNode *element)
{
    SvgAttributes result;
    if (!element || element->type != XML_ELEMENT_NODE)
        return result;
    for (xmlAttr *a = element->properties; a; a = a->next) {
        xmlChar *value = xmlNodeListGetString(element->doc, a->children, 1);
        result.emplace_back(svgAttributeName(a),
                            value ? QString::fromUtf8(reinterpret_cast<const char *>(value)) : QString());
        xmlFree(value);
    }
    return result;
}

QString svgTextContent(const xmlNode *node)
{
    if (!node)
        return {};
    xmlChar *content = xmlNodeGetContent(node);
    const QString result = content ? QString::fromUtf8(reinterpret_cast<const char *>(content)) : QString();
    xmlFree(content);
    return result;
}

std::vector<xmlNode *> svgElementChildren(const xmlNode *node)
{
    std::vector<xmlNode *> result;
    for (xmlNode *c = node ? node->children : nullptr; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE)
            result.push_back(c);
    return result;
}

bool svgIsElement(const xmlNode *node) { return node && node->type == XML_ELEMENT_NODE; }

bool svgIsText(const xmlNode *node)
{
    return node && (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE);
}
