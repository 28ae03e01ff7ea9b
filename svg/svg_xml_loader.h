// Loading the bytes of an SVG file into an XML tree with libxml2, safely: no external
// entity, DTD or network access, libxml2's entity-amplification limit kept, bounded depth.
//
// Parsing runs up to three stages (plain, validating, recovering); in each, bytes that the
// parser refuses as invalid characters are decoded as UTF-8 or else Mac OS Roman and parsed
// again as text. A failure gives no document; nothing is reported to the user.
#pragma once

#include <libxml/tree.h>

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

struct SvgXmlDocumentFree {
    void operator()(xmlDoc *doc) const;
};
using SvgXmlDocument = std::unique_ptr<xmlDoc, SvgXmlDocumentFree>;

// The largest file the importer reads.
inline constexpr qsizetype SvgMaximumFileSize = 128 * 1024 * 1024;

// The nesting depth beyond which the parser stops reading a file.
inline constexpr int SvgParserMaximumDepth = 256;

// How the bytes parsed: whether they are well-formed XML (a file cut short is not; the
// recovering stage then gives what it could read), and whether the parser stopped at its
// nesting depth.
struct SvgXmlParseReport {
    bool wellFormed = true;
    bool tooDeep = false;
};

// The XML document of the bytes, or null when no stage can parse them (or there are none).
SvgXmlDocument MakeXMLDocumentWithData(const QByteArray &data, SvgXmlParseReport *report = nullptr);

// The bytes as text in the first encoding that decodes them (UTF-8, then Mac OS Roman);
// `encodingName` receives "utf-8" or "macos-roman". Nothing for empty data.
std::optional<QString> guessEncoding(const QByteArray &data, QString *encodingName);

// The document's character encoding as recorded by the loader.
QString svgDocumentEncoding(const xmlDoc *doc);

// ---- Reading the tree ----

// An element's or attribute's name as written, prefix included ("xlink:href", "svg:rect").
QString svgQualifiedName(const xmlNode *node);
QString svgAttributeName(const xmlAttr *attribute);
// The attributes of an element in document order, names as written.
using SvgAttributes = std::vector<std::pair<QString, QString>>;
SvgAttributes svgAttributes(const xmlNode *element);
// The text content of a node and all below it.
QString svgTextContent(const xmlNode *node);
// The element children (in order) of a node.
std::vector<xmlNode *> svgElementChildren(const xmlNode *node);
bool svgIsElement(const xmlNode *node);
bool svgIsText(const xmlNode *node);
