// Text runs: white space, fonts, attributes, positions and measured advance.
#include "svg/svg_text.h"

#include "platform/text/font_registry.h"
#include "platform/text/paragraph_style.h"
#include "svg/svg_definitions.h"
#include "svg/svg_geometry.h"
#include "svg/svg_scanner.h"
#include "svg/svg_path_data.h"
#include "svg/svg_shapes.h"
#include "svg/svg_styles.h"
#include "svg/svg_text_utilities.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

// Glyph advances of a run; without a GUI application (no font system) an estimate of half
// the size per character stands in.
std::vector<double> advances(const QString &text, const Font &font)
{
    std::vector<double> result;
    result.reserve(size_t(text.size()));
    if (!QGuiApplication::instance()) {
        for (qsizetype i = 0; i < text.size(); ++i)
            result.push_back(font.size * 0.5);
        return result;
    }
    const QFontMetricsF metrics(qFont(font), layoutPaintDevice());
    for (QChar c : text)
        result.push_back(metrics.horizontalAdvance(c));
    return result;
}

QStringList positionItems(const QString &value)
{
    return value.split(QRegularExpression(QStringLiteral("[, \\t\\r\\n]+")), Qt::SkipEmptyParts);
}

// Later text nodes become `tspan` elements holding their text, so mixed content is walked
// as runs after the element's own text.
void wrapLaterTextNodes(xmlNode *element)
{
    bool first = true;
    for (xmlNode *child = element->children; child;) {
        xmlNode *next = child->next;
        if (svgIsText(child) && !first) {
            xmlNode *span = xmlNewDocNode(element->doc, nullptr, reinterpret_cast<const xmlChar *>("tspan"), nullptr);
            xmlReplaceNode(child, span);
            xmlAddChild(span, child);
        }
        first = false;
        child = next;
    }
}

QString firstTextNode(xmlNode *element, bool *found)
{
    *found = element->children && svgIsText(element->children);
    return *found ? svgTextContent(element->children) : QString();
}

QString referencedText(const QString &href, const SvgGraphicsState &state)
{
    if (!href.startsWith(u'#'))
        return QString();
    const SvgDefinitionRef definition = state.tables->defs.value(href.mid(1));
    if (!definition || definition->elements.empty())
        return QString();
    return svgTextContent(definition->elements.front());
}

xmlNode *spanWithText(xmlNode *element, const QString &text)
{
    xmlNode *span = xmlNewDocNode(element->doc, nullptr, reinterpret_cast<const xmlChar *>("tspan"), nullptr);
    xmlNodeAddContent(span, reinterpret_cast<const xmlChar *>(text.toUtf8().constData()));
    // The reference of a textPath (a path) or tref (already read) is not the run's text.
    for (const auto &[name, value] : svgAttributes(element))
        if (name != u"xlink:href" && name != u"href")
        xmlNewProp(span, reinterpret_cast<const xmlChar *>(name.toUtf8().constData()),
                   reinterpret_cast<const xmlChar *>(value.toUtf8().constData()));
    return span;
}

// The text cut to what the import's bound on text still allows; what is left out is
// counted so that the import can say so.
QString boundedText(const QString &text, SvgImportTables &tables)
{
    const qint64 room = std::max<qint64>(0, SvgMaximumTextCharacters - tables.textCharacters);
    if (text.size() <= room)
        return text;
    tables.textCharactersCut += text.size() - room;
    return text.left(room);
}

} // namespace

QString tspanString(const QString &text, bool collapse, int &status)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const bool white = c.isSpace();
        if (!white) {
            if (status == 2)
                out.append(u' ');
            out.append(c);
            status = 1;
        } else if (collapse) {
            if (c == u'\n' || c == u'\r')
                continue;
            if (c == u'\t' || c == u' ') {
                if (status == 1)
                    status = 2;
            } else {
                out.append(c);
            }
        } else {
            if (c == u'\t' || c == u'\n')
                out.append(u' ');
            else if (c != u'\r')
                out.append(c);
        }
    }
    return specialConvert(out);
}

void fontWithGstate(SvgGraphicsState &state)
{
    if (state.fontFamily.isEmpty())
        return;
    static const QHash<QString, QString> generic = {
        {"serif", "Times-Roman"}, {"sans-serif", "Helvetica"}, {"monospace", "Courier"},
        {"cursive", "ZapfChancery-MediumItalic"}, {"fantasy", "Helvetica"}};
    QString name;
    bool asNamed = false;
    for (const QString &family : state.fontFamily) {
        const QString byFamily = fontNameWithTraits(family, false, false);
        if (fontExists(byFamily) && fontFamilyName(byFamily).compare(family, Qt::CaseInsensitive) == 0) {
            name = byFamily;
            break;
        }
        if (fontExists(family)) {
            name = family;
            asNamed = true;
            break;
        }
        // A generic family takes the face the system's font configuration chooses for it
        // (as other SVG renderers on this system draw it), else a core PostScript font.
        if (const auto it = generic.constFind(family.toLower()); it != generic.constEnd()) {
            const QString configured = fontFace(family.toLower()).postScriptName;
            name = configured.isEmpty() ? *it : configured;
            break;
        }
    }
    if (name.isEmpty())
        return;
    if (!asNamed) {
        const bool bold = state.fontWeight > 5;
        const bool italic = state.fontStyle == u"italic";
        if (bold || italic)
            name = fontNameWithTraits(name, bold, italic);
        if (state.fontStyle == u"oblique")
            state.obliqueness = 0.2f;
    }
    state.fontName = name;
}

SvgGraphicsState textElement(xmlNode *element, const SvgGraphicsState &parent, SvgObjectInfo &info)
{
    SvgGraphicsState state = parent;
    const QString tag = svgQualifiedName(element);
    const bool isText = tag == u"text";
    Point start = isText ? Point() : parent.currentPoint;
    // Absolute positions (x, y) and relative ones (dx, dy), one per glyph from the first.
    std::vector<double> xs, ys, dxs, dys;
    std::optional<QString> xText, yText, rotateText;
    QString hrefText;
    bool hasHref = false, decorated = false;

    bool hasText = false;
    const QString ownText = firstTextNode(element, &hasText);
    wrapLaterTextNodes(element);

    classSearch(QString(), tag, state);
    const double vbw = state.viewBox ? state.viewBox->size.width : 0;
    for (const auto &[name, value] : svgAttributes(element)) {
        classSearch(value, name, state);
        if (name == u"x" || name == u"y" || name == u"dx" || name == u"dy") {
            std::vector<double> list;
            for (const QString &item : positionItems(value))
                list.push_back(unitToPix(item, state, vbw));
            if (list.empty())
                continue;
            const bool horizontal = name == u"x" || name == u"dx";
            (name == u"x" ? xs : name == u"y" ? ys : name == u"dx" ? dxs : dys) = list;
            (horizontal ? xText : yText) = value;
        } else if (name == u"rotate") {
            rotateText = value;
        } else if (name == u"xlink:href" || name == u"href") {
            if (value.startsWith(u'#')) {
                hrefText = referencedText(value, state);
                hasHref = true;
            }
        } else if (name == u"xml:space") {
            state.xmlSpace = value != u"preserve";
        } else if (name == u"xml:lang") {
            static const QStringList rightToLeft = {"ar", "he", "fa", "ur", "yi", "ps", "sd", "ug", "dv"};
            state.writingDirection = rightToLeft.contains(value.section(u'-', 0, 0).toLower()) ? 1 : 0;
        } else if (name == u"startOffset") {
            continue;
        } else if (name == u"class" || name == u"id") {
            classSearch(value, tag, state);
        } else if (name == u"style") {
            cssStyle(value, state);
            decorated = decorated || state.textDecoration.value_or(false);
        } else if (name == u"transform") {
            state = svgTransform(value, state);
        } else if (name == u"d") {
            dToPath(value, state);
            start = state.currentPoint;
            xs.clear();
            ys.clear();
        } else {
            xmlStyle(name, value, state);
            decorated = decorated || state.textDecoration.value_or(false);
        }
    }
    if (state.fontChanged) {
        fontWithGstate(state);
        state.fontChanged = false;
    }
    const Point base(xs.empty() ? start.x : float(xs.front()), ys.empty() ? start.y : float(ys.front()));
    const Color darkGrey = svgColor(1.0f / 3, 1.0f / 3, 1.0f / 3);
    if (!state.fillColor.isColor())
        state.fillColor = SvgPaint{darkGrey, nullptr};
    if (!state.strokeColor.isColor())
        state.strokeColor = SvgPaint{darkGrey, nullptr};
    if (decorated) {
        state.textDecorateStrokeColor = state.strokeColor.color;
        state.textDecorateFillColor = state.fillColor.color;
    }

    SvgImportTables &tables = *state.tables;
    int &status = tables.whiteSpaceStatus;
    QString text;
    if (hasHref) {
        text = hrefText;
    } else {
        if (!xs.empty())
            status = 0;
        text = hasText ? tspanString(boundedText(ownText, tables), state.xmlSpace, status) : QString();
    }
    text = boundedText(text, tables);
    const double sx = state.scaleX, sy = state.scaleY, size = state.fontSize;
    // Empty text, a zero font size or a zero scale make no run.
    if (text.isEmpty() || size == 0 || sx == 0 || sy == 0 || !std::isfinite(size)) {
        state.currentPoint = base;
        return state;
    }
    tables.textCharacters += text.size();

    TextAttributes attributes;
    const Font font{state.fontName, float(std::abs(sx == sy ? sx * size : size))};
    attributes.font = font;
    ParagraphStyle paragraph;
    paragraph.alignment = state.textAnchor == 1 ? TextAlignment::Right
                          : state.textAnchor == 2 ? TextAlignment::Center
                                                  : TextAlignment::Left;
    const Color strokeColor = *state.strokeColor.color;
    double strokeWidth = strokeColor.alphaComponent() > 0 ? std::abs(state.strokeWidth) * 100 / std::abs(size) : 0;
    const float opacity = state.effectiveOpacity();
    const Color fill = state.fillColor.color->alphaComponent() > 0
                           ? svgColorWithAlpha(*state.fillColor.color, state.fillOpacity * opacity)
                           : svgColorWithAlpha(*state.fillColor.color, 0);
    if (fill.alphaComponent() > 0)
        strokeWidth = -strokeWidth;
    attributes.foregroundColor = fill;
    attributes.baselineOffset = float(sx * state.baselineOffset);
    attributes.strokeColor = opacity < 1 ? svgColorWithAlpha(strokeColor, strokeColor.alphaComponent() * opacity)
                                         : strokeColor;
    attributes.strokeWidth = float(strokeWidth * (sx + sy) / 2);
    attributes.paragraphStyle = paragraph;
    const bool underline = state.underline.value_or(false) || state.overline.value_or(false);
    const bool strike = state.linethrough.value_or(false);
    attributes.underlineStyle = underline ? 1 : 0;
    attributes.strikethroughStyle = strike ? 1 : 0;
    const Color decorationColor = (underline || strike) && state.textDecorateFillColor ? *state.textDecorateFillColor
                                                                                      : svgColor(0, 0, 0);
    attributes.underlineColor = decorationColor;
    attributes.strikethroughColor = decorationColor;
    attributes.obliqueness = state.obliqueness;
    if (state.kerning == u"auto") {
        if (state.letterSpacing != 0)
            attributes.kerning = float(sx * state.letterSpacing);
    } else {
        attributes.kerning = float(sx * (svgLeadingDouble(state.kerning) + state.letterSpacing));
    }

    // Lay the glyphs out along x in user units: each glyph starts where the one before it
    // ended, unless an x (y) value places it; a dx (dy) value moves it on from there.
    const std::vector<double> widths = advances(text, font);
    const double toUser = sx == sy ? 1 / std::abs(sx) : 1;
    const size_t placed = std::min<size_t>(size_t(text.size()),
                                           std::max({xs.size(), ys.size(), dxs.size(), dys.size(), size_t(1)}));
    std::vector<Point> origins;
    double penX = start.x, penY = start.y;
    for (size_t g = 0; g < widths.size(); ++g) {
        if (g < placed) {
            if (g < xs.size())
                penX = xs[g];
            if (g < ys.size())
                penY = ys[g];
            if (g < dxs.size())
                penX += dxs[g];
            if (g < dys.size())
                penY += dys[g];
            origins.push_back(Point(float(penX), float(penY)));
        }
        penX += widths[g] * toUser;
    }

    info.classNr = SvgTextObject;
    auto run = std::make_shared<SvgTextRun>();
    run->string = text;
    run->attributes = attributes;
    run->textTranslate = state.translate;
    run->textXPositionString = xText;
    run->textYPositionString = yText;
    run->textRotationString = rotateText;
    run->textAlignment = state.textAnchor;
    run->startsChunk = isText || !xs.empty() || !ys.empty();
    if (run->startsChunk)
        ++tables.textChunks;
    run->chunk = tables.textChunks;
    run->startX = origins.front().x;
    run->endX = penX;
    for (const Point &origin : origins)
        run->glyphOrigins.push_back(state.ctm.map(origin.x, origin.y));
    info.text = std::move(run);
    state.textGraphic = true;
    state.currentPoint = Point(float(penX), float(penY));
    info.state = state;
    return state;
}

void anchorTextChunks(std::vector<SvgObjectInfo> &runs)
{
    struct Extent {
        double start = HUGE_VAL, end = -HUGE_VAL;
        int anchor = 0;
    };
    QHash<int, Extent> chunks;
    for (const SvgObjectInfo &info : runs) {
        const SvgTextRun &run = *info.text;
        Extent &extent = chunks[run.chunk];
        extent.start = std::min(extent.start, run.startX);
        extent.end = std::max(extent.end, run.endX);
        if (run.startsChunk) {
            // Right-to-left text starts at the right: its start anchor is the chunk's end.
            const bool rightToLeft = info.state.writingDirection == 1;
            extent.anchor = rightToLeft && run.textAlignment != 2 ? 1 - run.textAlignment : run.textAlignment;
        }
    }
    for (SvgObjectInfo &info : runs) {
        const Extent extent = chunks.value(info.text->chunk);
        // Anchor numbers: 0 start, 2 middle, 1 end.
        const double share = extent.anchor == 2 ? 0.5 : extent.anchor == 1 ? 1 : 0;
        const double shift = -(extent.end - extent.start) * share;
        if (shift == 0)
            continue;
        auto moved = std::make_shared<SvgTextRun>(*info.text);
        const SvgMatrix &m = info.state.ctm;
        for (Point &origin : moved->glyphOrigins)
            origin = Point(float(origin.x + m.m11 * shift), float(origin.y + m.m21 * shift));
        info.text = std::move(moved);
    }
}

std::optional<SvgGraphicsState> textPathElement(xmlNode *element, const SvgGraphicsState &parent, SvgObjectInfo &info)
{
    SvgGraphicsState state = parent;
    bool hasText = false;
    const QString ownText = firstTextNode(element, &hasText);
    wrapLaterTextNodes(element);
    const QString tag = svgQualifiedName(element);
    classSearch(QString(), tag, state);
    for (const auto &[name, value] : svgAttributes(element)) {
        if (name == u"class" || name == u"id")
            classSearch(value, tag, state);
        else if (name == u"style")
            cssStyle(value, state);
    }
    if (!hasText)
        return std::nullopt;
    const QString text = tspanString(boundedText(ownText, *state.tables), state.xmlSpace, state.tables->whiteSpaceStatus);
    // The run is laid out as ordinary text; the referenced path is not followed.
    xmlNode *span = spanWithText(element, text);
    SvgGraphicsState result = textElement(span, state, info);
    xmlFreeNode(span);
    return result;
}

std::optional<SvgGraphicsState> trefElement(xmlNode *element, const SvgGraphicsState &parent, SvgObjectInfo &info)
{
    SvgGraphicsState state = parent;
    const QString tag = svgQualifiedName(element);
    classSearch(QString(), tag, state);
    const SvgAttributes attributes = svgAttributes(element);
    if (attributes.empty())
        return std::nullopt;
    QString text;
    for (const auto &[name, value] : attributes) {
        if (name == u"class" || name == u"id")
            classSearch(value, tag, state);
        else if ((name == u"xlink:href" || name == u"href") && value.startsWith(u'#'))
            text = referencedText(value, state);
    }
    if (text.isEmpty())
        return std::nullopt;
    xmlNode *span = spanWithText(element, text);
    SvgGraphicsState result = textElement(span, state, info);
    xmlFreeNode(span);
    return result;
}
