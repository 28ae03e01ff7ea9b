// The element walk: dispatch of each element to its handler, the graphics-state stack, the
// order of object infos, and the import driver.
#include "svg/svg_import.h"

#include "svg/svg_clipping.h"
#include "svg/svg_definitions.h"
#include "svg/svg_shapes.h"
#include "svg/svg_image.h"
#include "svg/svg_paint_servers.h"
#include "svg/svg_text.h"
#include "svg/svg_viewport.h"

#include "platform/foundation/c_locale.h"

#include <QHash>
#include <QLocale>

namespace {

enum class Tag {
    Other, Desc, Title, Defs, Path, Text, Rect, Circle, Ellipse, Line, Polyline, Polygon, Use, Image, Svg, G,
    Style, Symbol, Marker, ClipPath, LinearGradient, RadialGradient, Pattern, Filter, ColorProfile, TextPath,
    Tref, Tspan, Mask, Switch
};

Tag tagOf(const QString &name)
{
    static const QHash<QString, Tag> tags = {
        {"desc", Tag::Desc}, {"title", Tag::Title}, {"defs", Tag::Defs}, {"path", Tag::Path}, {"text", Tag::Text},
        {"rect", Tag::Rect}, {"circle", Tag::Circle}, {"ellipse", Tag::Ellipse}, {"line", Tag::Line},
        {"polyline", Tag::Polyline}, {"polygon", Tag::Polygon}, {"use", Tag::Use}, {"image", Tag::Image},
        {"svg", Tag::Svg}, {"g", Tag::G}, {"style", Tag::Style}, {"symbol", Tag::Symbol}, {"marker", Tag::Marker},
        {"clipPath", Tag::ClipPath}, {"linearGradient", Tag::LinearGradient},
        {"radialGradient", Tag::RadialGradient}, {"pattern", Tag::Pattern}, {"filter", Tag::Filter},
        {"color-profile", Tag::ColorProfile}, {"textPath", Tag::TextPath}, {"tref", Tag::Tref},
        {"tspan", Tag::Tspan}, {"mask", Tag::Mask}, {"switch", Tag::Switch},
    };
    return tags.value(name, Tag::Other);
}

bool isTextContent(Tag tag) { return tag == Tag::Text || tag == Tag::Tspan || tag == Tag::Tref || tag == Tag::TextPath; }

bool makesObjects(Tag tag)
{
    switch (tag) {
    case Tag::Path: case Tag::Rect: case Tag::Circle: case Tag::Ellipse: case Tag::Line: case Tag::Polyline:
    case Tag::Polygon: case Tag::Image: case Tag::Text: case Tag::Tspan: case Tag::Tref: case Tag::TextPath:
        return true;
    default:
        return false;
    }
}

QString attributeText(const xmlNode *element, const char *name)
{
    xmlChar *value = xmlGetProp(element, reinterpret_cast<const xmlChar *>(name));
    const QString text = value ? QString::fromUtf8(reinterpret_cast<const char *>(value)) : QString();
    xmlFree(value);
    return text;
}

// Whether the conditions of a `switch` child hold: no extension is supported, and a
// language list must name the user's language.
bool conditionsHold(const xmlNode *element)
{
    if (xmlHasProp(element, reinterpret_cast<const xmlChar *>("requiredExtensions")))
        return false;
    if (!xmlHasProp(element, reinterpret_cast<const xmlChar *>("systemLanguage")))
        return true;
    const QString language = QLocale::system().name().section(u'_', 0, 0).toLower();
    for (const QString &entry : attributeText(element, "systemLanguage").split(u',', Qt::SkipEmptyParts)) {
        const QString tag = entry.trimmed().toLower();
        if (tag == language || tag.section(u'-', 0, 0) == language)
            return true;
    }
    return false;
}

struct Walk {
    std::vector<SvgGraphicsState> stack;
    SvgImportPropertyList &result;
    const SvgImportLimits &limits;
    std::vector<SvgObjectInfo> pendingText;   // runs of the open text element
    size_t markerObjects = 0;                 // marker copies held by the path infos
    int elements = 0;
    int depth = 0;

    void collectInfo(xmlNode *element);
    void checkElement(xmlNode *element);
    void checkSwitch(xmlNode *element);
    void collectHidden(xmlNode *element);
    void append(SvgObjectInfo &&info)
    {
        if (info.isEmpty() || !info.state.isDrawn())
            return;
        // Marker copies are drawn like any element: clipped, and with their fills resolved.
        if (!info.markerInfos.empty()) {
            std::vector<SvgObjectInfo> markers;
            for (SvgObjectInfo &marker : info.markerInfos)
                addDrawn(std::move(marker), markers);
            markerObjects += markers.size();
            info.markerInfos = std::move(markers);
        }
        addDrawn(std::move(info), result.objectInfos);
        if (result.objectInfos.size() + markerObjects > size_t(limits.objects)) {
            stack.back().tables->refusal = formatC("The file holds more than %d objects to draw.", limits.objects);
            result.objectInfos.resize(std::min(result.objectInfos.size(), size_t(limits.objects)));
        }
    }
    // The info with its clip, unless clipped away whole, as the objects that draw it.
    static void addDrawn(SvgObjectInfo &&info, std::vector<SvgObjectInfo> &out)
    {
        if (info.isEmpty() || !info.state.isDrawn())
            return;
        info.clip = svgInfoClip(info);
        if (info.clip && info.clip->path.isEmpty())
            return;
        svgAppendFilledPath(std::move(info), out);
    }
};

void Walk::checkElement(xmlNode *element)
{
    // A snapshot of the children: handlers may add to the tree while it is walked.
    std::vector<xmlNode *> children;
    for (xmlNode *child = element->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE)
            children.push_back(child);
    for (xmlNode *child : children)
        collectInfo(child);
}

// Only the first child of a switch whose conditions hold is drawn; the others are walked
// for the definitions and style rules they hold.
void Walk::checkSwitch(xmlNode *element)
{
    bool chosen = false;
    for (xmlNode *child : svgElementChildren(element)) {
        if (!chosen && conditionsHold(child)) {
            chosen = true;
            collectInfo(child);
        } else {
            collectHidden(child);
        }
    }
}

// Walks content that is never drawn in place: it may still define what others use.
void Walk::collectHidden(xmlNode *element)
{
    SvgGraphicsState hidden = stack.back();
    hidden.displayed = false;
    stack.push_back(std::move(hidden));
    collectInfo(element);
    stack.pop_back();
}

void Walk::collectInfo(xmlNode *element)
{
    SvgImportTables &shared = *stack.back().tables;
    if (!shared.refusal.isEmpty())
        return;
    // A file beyond these bounds is refused whole: drawing part of it would look like all of it.
    if (++elements > limits.elements) {
        shared.refusal = formatC("The file holds more than %d elements.", limits.elements);
        return;
    }
    if (depth >= limits.depth) {
        shared.refusal = formatC("The file nests its elements more than %d deep.", limits.depth);
        return;
    }
    ++depth;
    const QString name = svgQualifiedName(element);
    const Tag tag = tagOf(name);
    const SvgAttributes attributes = svgAttributes(element);
    const SvgGraphicsState &top = stack.back();
    SvgImportTables &tables = *top.tables;
    SvgObjectInfo info;
    std::optional<SvgGraphicsState> pushed;
    bool walkChildren = true;
    QString useId;
    xmlNode *useInstance = nullptr;

    switch (tag) {
    case Tag::Desc:
        if (!result.svgDesc)
            result.svgDesc = svgTextContent(element);
        break;
    case Tag::Title:
        if (!result.svgTitle)
            result.svgTitle = svgTextContent(element);
        break;
    case Tag::Defs:
        defsElement(element, top);
        walkChildren = false;
        break;
    case Tag::Path: case Tag::Rect: case Tag::Polygon: case Tag::Circle: case Tag::Ellipse: case Tag::Line:
    case Tag::Polyline: case Tag::Image:
        if (!attributes.empty()) {
            info = elementToObjInfo(name, attributes, top);
            append(std::move(info));
        }
        break;
    case Tag::Text: case Tag::Tspan:
        pushed = textElement(element, top, info);
        break;
    case Tag::Tref:
        pushed = trefElement(element, top, info);
        break;
    case Tag::TextPath:
        pushed = textPathElement(element, top, info);
        break;
    case Tag::Use:
        if (!attributes.empty()) {
            xmlNode *last = element->last;
            useElement(attributes, top, element);
            if (element->last != last)
                useInstance = element->last;
        }
        break;
    case Tag::Svg:
        if (!attributes.empty())
            pushed = svgElement(attributes, top, true);
        break;
    case Tag::G: case Tag::Switch:
        if (!attributes.empty()) {
            pushed = gElement(attributes, top);
            for (const auto &[n, v] : attributes)
                if (n == u"data-vek-use")
                    useId = v;
        }
        walkChildren = tag == Tag::G;
        break;
    case Tag::Mask:
        // A mask is only drawn through the elements that name it.
        pushed = top;
        pushed->displayed = false;
        break;
    case Tag::Style:
        for (const auto &[selector, declarations] : styleElement(element))
            tables.styles.setRule(selector, declarations);
        walkChildren = false;
        break;
    case Tag::Symbol:
        // A symbol is only drawn through `use`: it is filed wherever it stands.
    case Tag::ClipPath: case Tag::LinearGradient: case Tag::RadialGradient: case Tag::Pattern:
        if (auto entry = symbolElement(element, top))
            tables.defs.insert(entry->first, entry->second);
        walkChildren = false;
        break;
    case Tag::Marker:
        if (auto entry = markerElement(element, top))
            tables.defs.insert(entry->first, entry->second);
        walkChildren = false;
        break;
    case Tag::Filter:
        if (auto entry = filterElement(element, top))
            tables.defs.insert(entry->first, entry->second);
        walkChildren = false;
        break;
    case Tag::ColorProfile:
        if (auto entry = colorProfileElement(element, top))
            tables.colorProfiles.insert(entry->first, entry->second);
        walkChildren = false;
        break;
    case Tag::Other:
        break;
    }

    if (pushed) {
        pushed->enterGroup();
        stack.push_back(std::move(*pushed));
    }
    if (!useId.isEmpty())
        tables.useChain.append(useId);
    if (walkChildren)
        checkElement(element);
    else if (tag == Tag::Switch)
        checkSwitch(element);
    if (!useId.isEmpty())
        tables.useChain.removeLast();
    if (useInstance) {
        // The instance is walked: its copies are not needed any more.
        xmlUnlinkNode(useInstance);
        xmlFreeNode(useInstance);
    }
    if (pushed) {
        const SvgGraphicsState &popped = stack.back();
        // Text content passes its pen position back, also when it made no run of its own
        // (the white space between two runs), so the next run continues where text ended.
        const Point next = isTextContent(tag) ? popped.currentPoint : Point();
        if (!info.isEmpty() && info.classNr == SvgTextObject && info.state.isDrawn())
            pendingText.push_back(std::move(info));
        stack.pop_back();
        stack.back().currentPoint = next;
        if (tag == Tag::Text) {
            anchorTextChunks(pendingText);
            for (SvgObjectInfo &run : pendingText)
                append(std::move(run));
            pendingText.clear();
            tables.whiteSpaceStatus = 0;
        }
    }
    --depth;
}

// Definitions hold states that hold the shared tables: emptying the tables at the end of
// an import breaks those cycles, so everything of the import is freed with the result.
void releaseTables(SvgImportTables &tables)
{
    for (const SvgDefinitionRef &definition : std::as_const(tables.defs)) {
        definition->state.reset();
        definition->elements.clear();
    }
    tables.defs.clear();
    if (tables.holder) {
        xmlFreeNode(tables.holder);
        tables.holder = nullptr;
    }
}

// The walk of the whole document into `result`.
void importDocument(xmlNode *root, const QString &filePath, const SvgImportLimits &limits,
                    SvgImportPropertyList &result)
{
    SvgGraphicsState defaults = SvgGraphicsState::defaults(filePath);
    SvgImportTables &tables = *defaults.tables;
    tables.limits = limits;
    tables.holder = xmlNewDocNode(root->doc, nullptr, reinterpret_cast<const xmlChar *>("holder"), nullptr);
    // Also when memory runs out half-way, everything the walk made is freed.
    struct Release {
        SvgImportTables &tables;
        ~Release() { releaseTables(tables); }
    } release{tables};

    SvgGraphicsState rootState = svgElement(svgAttributes(root), defaults, false);
    result.bounds = rootState.bounds;
    result.svgScaleX = rootState.scaleX;
    result.svgScaleY = rootState.scaleY;
    result.svgViewBox = rootState.viewBox;
    result.svgFileURL = filePath;

    // Infos are large: room for one per element that makes objects avoids moving them
    // while the list grows (copies made by `use` may still grow it).
    int elements = 0, objectElements = 0;
    for (xmlNode *node = root; node && elements < limits.elements;) {
        if (node->type == XML_ELEMENT_NODE) {
            ++elements;
            if (makesObjects(tagOf(svgQualifiedName(node))))
                ++objectElements;
        }
        if (node->children) {
            node = node->children;
            continue;
        }
        while (node && node != root && !node->next)
            node = node->parent;
        node = node && node != root ? node->next : nullptr;
    }
    result.objectInfos.reserve(size_t(std::min(objectElements, limits.objects)));

    rootState.enterGroup();
    Walk walk{{std::move(rootState)}, result, tables.limits, {}};
    walk.checkElement(root);
    if (!tables.refusal.isEmpty()) {
        result.objectInfos.clear();
        result.refusal = tables.refusal;
    }
    if (tables.textCharactersCut > 0)
        result.notes.append(formatC("The text was cut to %lld characters: %lld more characters were left out.",
                                    SvgMaximumTextCharacters, tables.textCharactersCut));
}

} // namespace

std::optional<SvgImportPropertyList> GetPropertyListFromXMLDocument(xmlDoc *document, const QString &filePath,
                                                                   const SvgImportLimits &limits)
{
    if (!document)
        return std::nullopt;
    xmlNode *root = xmlDocGetRootElement(document);
    if (!root)
        return std::nullopt;
    SvgImportPropertyList result;
    try {
        importDocument(root, filePath, limits, result);
    } catch (const std::bad_alloc &) {
        result = SvgImportPropertyList();
        result.refusal = SvgOutOfMemoryMessage;
    }
    return result;
}

std::optional<SvgImportPropertyList> svgPropertyListFromData(const QByteArray &data, const QString &filePath,
                                                             const SvgImportLimits &limits)
{
    const SvgXmlDocument document = MakeXMLDocumentWithData(data);
    return GetPropertyListFromXMLDocument(document.get(), filePath, limits);
}
