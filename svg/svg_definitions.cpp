// Definitions: defs, symbols, style sheets, use, gradients and their stops, patterns, clip
// paths, markers, filters and colour profiles.
#include "svg/svg_definitions.h"

#include "platform/foundation/c_locale.h"
#include "svg/svg_colors.h"
#include "svg/svg_geometry.h"
#include "svg/svg_image.h"
#include "svg/svg_scanner.h"
#include "svg/svg_styles.h"
#include "svg/svg_text_utilities.h"

#include <QColorSpace>
#include <QRegularExpression>

#include <cmath>

namespace {

// Bounds on what `use` may build: nesting of instances, and the bytes of names, attributes
// and text all instances together copy (their elements are bounded by the import's limits).
constexpr int MaximumUseNesting = 32;
constexpr qint64 MaximumUseCopiedBytes = 32 * 1024 * 1024;

// Nodes that never draw anything: comments, descriptions, titles and metadata.
bool isDrawnContent(const xmlNode *node)
{
    if (node->type == XML_COMMENT_NODE || node->type == XML_PI_NODE)
        return false;
    if (node->type != XML_ELEMENT_NODE)
        return true;
    const char *name = reinterpret_cast<const char *>(node->name);
    return qstrcmp(name, "desc") != 0 && qstrcmp(name, "title") != 0 && qstrcmp(name, "metadata") != 0;
}

qint64 nodeBytes(const xmlNode *node)
{
    qint64 bytes = node->name ? qstrlen(reinterpret_cast<const char *>(node->name)) : 0;
    if (node->content)
        bytes += qstrlen(reinterpret_cast<const char *>(node->content));
    if (node->type == XML_ELEMENT_NODE)
        for (const xmlAttr *a = node->properties; a; a = a->next) {
            bytes += qstrlen(reinterpret_cast<const char *>(a->name));
            for (const xmlNode *v = a->children; v; v = v->next)
                if (v->content)
                    bytes += qstrlen(reinterpret_cast<const char *>(v->content));
        }
    return bytes;
}

// Counts elements and bytes against the budget of `use` copies; false, with the import
// refused, once it is spent.
bool chargeUseCopy(SvgImportTables &tables, qint64 elements, qint64 bytes)
{
    tables.useCopiedElements += elements;
    tables.useCopiedBytes += bytes;
    if (tables.useCopiedElements <= tables.limits.useCopiedElements && tables.useCopiedBytes <= MaximumUseCopiedBytes)
        return true;
    tables.refusal = formatC("The file repeats its content too often: its use elements would copy more than "
                             "%lld elements or %lld MB.",
                             tables.limits.useCopiedElements, MaximumUseCopiedBytes / (1024 * 1024));
    return false;
}

// A copy of the node and the drawn content below it; with `tables`, every node copied
// counts against the budget of `use` copies, and nothing is copied once it is spent.
xmlNode *copyDrawnContent(const xmlNode *node, xmlDoc *doc, SvgImportTables *tables)
{
    if (tables && !chargeUseCopy(*tables, node->type == XML_ELEMENT_NODE ? 1 : 0, nodeBytes(node)))
        return nullptr;
    // The node with its attributes and namespaces, without children.
    xmlNode *copy = xmlDocCopyNode(const_cast<xmlNode *>(node), doc, 2);
    if (!copy)
        throw std::bad_alloc();
    for (const xmlNode *child = node->children; child; child = child->next) {
        if (!isDrawnContent(child))
            continue;
        xmlNode *childCopy = copyDrawnContent(child, doc, tables);
        if (!childCopy) {
            xmlFreeNode(copy);
            return nullptr;
        }
        xmlAddChild(copy, childCopy);
    }
    return copy;
}

const xmlChar *utf8(const QByteArray &bytes) { return reinterpret_cast<const xmlChar *>(bytes.constData()); }

QString attributeValue(const SvgAttributes &attributes, QStringView name)
{
    for (const auto &[n, v] : attributes)
        if (n == name)
            return v;
    return QString();
}

bool hasAttribute(const SvgAttributes &attributes, QStringView name)
{
    for (const auto &[n, v] : attributes)
        if (n == name)
            return true;
    return false;
}

void setAttribute(xmlNode *element, const QString &name, const QString &value)
{
    xmlNewProp(element, utf8(name.toUtf8()), utf8(value.toUtf8()));
}

double viewBoxWidth(const SvgGraphicsState &s) { return s.viewBox ? s.viewBox->size.width : 0; }
double viewBoxHeight(const SvgGraphicsState &s) { return s.viewBox ? s.viewBox->size.height : 0; }

void stopElement(const SvgAttributes &attributes, SvgDefinition &definition, const SvgGraphicsState &state)
{
    SvgStop stop;
    stop.color = svgColor(0, 0, 0, 1);
    for (const auto &[name, value] : attributes) {
        if (name == u"offset") {
            double offset = svgLeadingDouble(value);
            if (value.trimmed().endsWith(u'%'))
                offset *= 0.01;
            stop.offset = float(std::clamp(offset, 0.0, 1.0));
        } else if (name == u"stop-color") {
            if (const auto paint = svgColorValue(value.trimmed(), SvgColorTarget::Fill, state); paint && paint->color)
                stop.color = *paint->color;
        } else if (name == u"stop-opacity") {
            stop.opacity = float(svgLeadingDouble(value));
        } else if (name == u"style") {
            SvgGraphicsState scratch = state;
            scratch.fillColor = SvgPaint();
            scratch.fillOpacity = NAN;
            cssStyle(value, scratch);
            if (scratch.fillColor.color)
                stop.color = *scratch.fillColor.color;
            if (!std::isnan(scratch.fillOpacity))
                stop.opacity = scratch.fillOpacity;
        }
    }
    if (!definition.stops.empty())
        stop.offset = std::max(stop.offset, definition.stops.back().offset);
    definition.stops.push_back(stop);
}

Rect patternViewBox(const QString &value, const SvgGraphicsState &state)
{
    const QStringList tokens = value.split(QRegularExpression(QStringLiteral("[, \\t\\r\\n]+")), Qt::SkipEmptyParts);
    float x = 0, y = 0, w = 0, h = 0;
    for (int i = 0; i < tokens.size(); ++i) {
        const float v = float(unitToPix(tokens[i], state, i == 0 || i == 2 ? viewBoxWidth(state) : viewBoxHeight(state)));
        if (i == 0)
            x = y = w = h = v;
        else if (i == 1)
            y = w = h = v;
        else if (i == 2)
            w = h = v;
        else
            h = v;
    }
    return Rect(x, y, w, h);
}

std::optional<std::pair<QString, SvgDefinitionRef>> paintServerOrClip(xmlNode *element, const QString &tag,
                                                                      const SvgGraphicsState &parent)
{
    SvgGraphicsState state = parent;
    const SvgAttributes attributes = svgAttributes(element);
    auto definition = std::make_shared<SvgDefinition>();
    definition->kind = tag == u"clipPath" ? SvgDefinition::Kind::ClipPath : SvgDefinition::Kind::PaintServer;
    QString units = tag == u"clipPath" ? QStringLiteral("userSpaceOnUse") : QStringLiteral("objectBoundingBox");
    QHash<QString, QString> texts;
    std::vector<SvgStop> inheritedStops;
    std::vector<xmlNode *> inheritedElements;
    for (const auto &[name, value] : attributes) {
        if ((name == u"xlink:href" || name == u"href") && value.startsWith(u'#')) {
            const SvgDefinitionRef base = state.tables->defs.value(value.mid(1));
            if (!base || base == definition)
                continue;
            for (const char *key : {"clipPathUnits", "patternUnits", "gradientUnits"})
                if (base->texts.contains(QLatin1String(key)))
                    units = base->texts.value(QLatin1String(key));
            for (const char *key : {"patternContentUnits", "patternTransform", "gradientTransform", "fx", "fy", "fr", "spreadMethod",
                                    "X1", "Y1", "X2", "Y2", "Cx", "Cy", "R"})
                if (base->texts.contains(QLatin1String(key)))
                    texts.insert(QLatin1String(key), base->texts.value(QLatin1String(key)));
            inheritedStops = base->stops;
            inheritedElements = base->elements;
        }
    }
    QString id;
    std::optional<Rect> viewBox;
    for (const auto &[name, value] : attributes) {
        if (name == u"x")
            definition->patternX = float(unitToPix(value, state, viewBoxWidth(state)));
        else if (name == u"y")
            definition->patternY = float(unitToPix(value, state, viewBoxHeight(state)));
        else if (name == u"width")
            definition->patternWidth = float(unitToPix(value, state, viewBoxWidth(state)));
        else if (name == u"height")
            definition->patternHeight = float(unitToPix(value, state, viewBoxHeight(state)));
        else if (name == u"viewBox")
            viewBox = patternViewBox(value, state);
        else if (name == u"preserveAspectRatio")
            definition->patternAspectRatio = svgAspectRatio(value);
        else if (name == u"id")
            id = value;
        else if (name == u"cx" || name == u"cy" || name == u"r" || name == u"x1" || name == u"y1" || name == u"x2"
                 || name == u"y2") {
            static const QHash<QString, QString> keys = {{"cx", "Cx"}, {"cy", "Cy"}, {"r", "R"}, {"x1", "X1"},
                                                         {"y1", "Y1"}, {"x2", "X2"}, {"y2", "Y2"}};
            texts.insert(keys.value(name), value);
        } else if (name == u"fx" || name == u"fy" || name == u"fr" || name == u"patternContentUnits" || name == u"patternTransform"
                   || name == u"gradientTransform" || name == u"spreadMethod")
            texts.insert(name, value);
        else if (name == u"clipPathUnits" || name == u"patternUnits" || name == u"gradientUnits")
            units = value;
        else if (name == u"xlink:href" || name == u"href")
            continue;
        else
            xmlStyle(name, value, state);
    }
    if (id.isEmpty())
        return std::nullopt;
    if (tag == u"linearGradient") {
        definition->gradientClass = QStringLiteral("SVGLinearGradient");
        texts.insert(QStringLiteral("gradientUnits"), units);
        for (const auto &[key, fallback] : {std::pair{"X1", "0%"}, {"Y1", "0%"}, {"X2", "100%"}, {"Y2", "0%"},
                                            {"gradientTransform", ""}, {"spreadMethod", "pad"}})
            if (!texts.contains(QLatin1String(key)))
                texts.insert(QLatin1String(key), QLatin1String(fallback));
    } else if (tag == u"radialGradient") {
        definition->gradientClass = QStringLiteral("SVGRadialGradient");
        texts.insert(QStringLiteral("gradientUnits"), units);
        for (const auto &[key, fallback] : {std::pair{"Cx", "50%"}, {"Cy", "50%"}, {"R", "50%"},
                                            {"gradientTransform", ""}, {"spreadMethod", "pad"}})
            if (!texts.contains(QLatin1String(key)))
                texts.insert(QLatin1String(key), QLatin1String(fallback));
        if (!texts.contains(QStringLiteral("fx")))
            texts.insert(QStringLiteral("fx"), texts.value(QStringLiteral("Cx")));
        if (!texts.contains(QStringLiteral("fy")))
            texts.insert(QStringLiteral("fy"), texts.value(QStringLiteral("Cy")));
    } else if (tag == u"pattern") {
        definition->gradientClass = QStringLiteral("SVGPattern");
        texts.insert(QStringLiteral("patternUnits"), units);
        if (!texts.contains(QStringLiteral("patternContentUnits")))
            texts.insert(QStringLiteral("patternContentUnits"), QStringLiteral("userSpaceOnUse"));
        if (!texts.contains(QStringLiteral("patternTransform")))
            texts.insert(QStringLiteral("patternTransform"), QString());
        definition->patternHasViewBox = viewBox.has_value();
        definition->patternViewBox = viewBox.value_or(Rect(definition->patternX, definition->patternY,
                                                           definition->patternWidth, definition->patternHeight));
        definition->state = std::make_shared<SvgGraphicsState>(state);
    } else {
        texts.insert(QStringLiteral("clipPathUnits"), units);
        definition->state = std::make_shared<SvgGraphicsState>(state);
    }
    definition->texts = texts;
    definition->elements = inheritedElements;
    for (xmlNode *child : svgElementChildren(element)) {
        if (svgQualifiedName(child) == u"stop")
            stopElement(svgAttributes(child), *definition, state);
        else
            definition->elements.push_back(svgRebuiltElement(child, state));
    }
    // A gradient takes the stops of the one it refers to only when it has none of its own.
    if (definition->stops.empty())
        definition->stops = inheritedStops;
    return std::pair{id, definition};
}

// The feColorMatrix values of the SVG 1.1 shorthand types, as 20 numbers.
QString colorMatrixValues(const QString &type, const QString &values)
{
    const double v = svgLeadingDouble(values);
    std::vector<double> m;
    if (type == u"saturate") {
        const double s = values.isEmpty() ? 1 : v;
        m = {0.213 + 0.787 * s, 0.715 - 0.715 * s, 0.072 - 0.072 * s, 0, 0,
             0.213 - 0.213 * s, 0.715 + 0.285 * s, 0.072 - 0.072 * s, 0, 0,
             0.213 - 0.213 * s, 0.715 - 0.715 * s, 0.072 + 0.928 * s, 0, 0,
             0, 0, 0, 1, 0};
    } else if (type == u"hueRotate") {
        const double a = v * 0.017453292519943295, c = std::cos(a), s = std::sin(a);
        m = {0.213 + c * 0.787 - s * 0.213, 0.715 - c * 0.715 - s * 0.715, 0.072 - c * 0.072 + s * 0.928, 0, 0,
             0.213 - c * 0.213 + s * 0.143, 0.715 + c * 0.285 + s * 0.140, 0.072 - c * 0.072 - s * 0.283, 0, 0,
             0.213 - c * 0.213 - s * 0.787, 0.715 - c * 0.715 + s * 0.715, 0.072 + c * 0.928 + s * 0.072, 0, 0,
             0, 0, 0, 1, 0};
    } else if (type == u"luminanceToAlpha") {
        m = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0.2125, 0.7154, 0.0721, 0, 0};
    } else {
        return values;
    }
    QStringList parts;
    for (double x : m)
        parts.append(formatC("%g", x));
    return parts.join(u' ');
}

} // namespace

xmlNode *svgRebuiltElement(xmlNode *element, const SvgGraphicsState &state)
{
    xmlNode *copy = copyDrawnContent(element, element->doc, nullptr);
    if (copy && state.tables->holder)
        xmlAddChild(state.tables->holder, copy);
    return copy;
}

void defsElement(xmlNode *defs, const SvgGraphicsState &state)
{
    SvgImportTables &tables = *state.tables;
    for (xmlNode *child : svgElementChildren(defs)) {
        const QString tag = svgQualifiedName(child);
        if (tag == u"style") {
            for (const auto &[selector, declarations] : styleElement(child))
                tables.styles.setRule(selector, declarations);
        } else if (tag == u"symbol" || tag == u"clipPath" || tag == u"linearGradient" || tag == u"radialGradient"
                   || tag == u"pattern") {
            if (auto entry = symbolElement(child, state))
                tables.defs.insert(entry->first, entry->second);
        } else if (tag == u"marker") {
            if (auto entry = markerElement(child, state))
                tables.defs.insert(entry->first, entry->second);
        } else if (tag == u"filter") {
            if (auto entry = filterElement(child, state))
                tables.defs.insert(entry->first, entry->second);
        } else if (tag == u"color-profile") {
            if (auto entry = colorProfileElement(child, state))
                tables.colorProfiles.insert(entry->first, entry->second);
        } else {
            const QString id = attributeValue(svgAttributes(child), u"id");
            if (id.isEmpty())
                continue;
            auto definition = std::make_shared<SvgDefinition>();
            definition->elements.push_back(svgRebuiltElement(child, state));
            tables.defs.insert(id, definition);
        }
    }
}

std::optional<std::pair<QString, SvgDefinitionRef>> symbolElement(xmlNode *element, const SvgGraphicsState &state)
{
    const QString tag = svgQualifiedName(element);
    if (tag != u"symbol")
        return paintServerOrClip(element, tag, state);
    const SvgAttributes attributes = svgAttributes(element);
    const QString id = attributeValue(attributes, u"id");
    const std::vector<xmlNode *> children = svgElementChildren(element);
    if (id.isEmpty() || children.empty())
        return std::nullopt;
    auto definition = std::make_shared<SvgDefinition>();
    for (xmlNode *child : children)
        definition->elements.push_back(svgRebuiltElement(child, state));
    // Kept so that a use with a size can fit the symbol's view box into it.
    for (const QString &key : {QStringLiteral("viewBox"), QStringLiteral("preserveAspectRatio")})
        if (hasAttribute(attributes, key))
            definition->texts.insert(key, attributeValue(attributes, key));
    return std::pair{id, definition};
}

std::vector<std::pair<QString, QString>> styleElement(xmlNode *element)
{
    std::vector<std::pair<QString, QString>> rules;
    for (xmlNode *child = element->children; child; child = child->next) {
        if (!svgIsText(child))
            continue;
        const QString text = svgTextContent(child);
        SvgScanner scanner(text, u" \t\n\r");
        QStringList pending;
        while (!scanner.isAtEnd()) {
            const auto content = scanner.scanUpToCharacters(u"{}/");
            const auto run = scanner.scanCharacters(u"{}/");
            if (content && run && *run == u"{") {
                pending.clear();
                for (const QString &selector : strntrim(*content).split(u','))
                    pending.append(strntrim(selector));
            } else if (content && run && *run == u"}") {
                const QString declarations = strntrim(*content);
                for (const QString &selector : pending)
                    rules.emplace_back(selector, declarations);
                pending.clear();
            } else if (!content && run && *run == u"/") {
                if (!scanner.scanUpToString(u"*/") && !scanner.remaining().startsWith(u"*/"))
                    break;
                scanner.scanString(u"*/");
            } else {
                break;
            }
        }
    }
    return rules;
}

void useElement(const SvgAttributes &attributes, const SvgGraphicsState &state, xmlNode *use)
{
    SvgImportTables &tables = *state.tables;
    double x = 0, y = 0, width = -1, height = -1;
    QString transform, reference;
    bool hasTransform = false;
    for (const auto &[name, value] : attributes) {
        if (name == u"x")
            x = unitToPix(value, state, viewBoxWidth(state));
        else if (name == u"y")
            y = unitToPix(value, state, viewBoxHeight(state));
        else if (name == u"width")
            width = unitToPix(value, state, viewBoxWidth(state));
        else if (name == u"height")
            height = unitToPix(value, state, viewBoxHeight(state));
        else if (name == u"transform") {
            hasTransform = true;
            transform = value;
        } else if (name == u"xlink:href" || name == u"href")
            reference = value;
    }
    if (!reference.startsWith(u'#'))
        return;
    const QString id = reference.mid(1);
    const SvgDefinitionRef definition = tables.defs.value(id);
    if (!definition || definition->kind != SvgDefinition::Kind::Elements || definition->elements.empty())
        return;
    // A use inside its own content (directly or through others), or too deep a nesting,
    // adds nothing.
    if (tables.useChain.contains(id) || tables.useChain.size() >= MaximumUseNesting)
        return;
    if (!chargeUseCopy(tables, width > 0 && height > 0 ? 2 : 1, 0))
        return;

    xmlNode *group = xmlNewDocNode(use->doc, nullptr, reinterpret_cast<const xmlChar *>("g"), nullptr);
    for (const auto &[name, value] : attributes) {
        // The referenced content must not be looked up again through the group.
        if (name == u"xlink:href" || name == u"href" || name == u"transform" || name == u"x" || name == u"y"
            || name == u"width" || name == u"height")
            continue;
        setAttribute(group, name, value);
    }
    // The use element's own transform applies first, then its x and y (as SVG places them).
    const QString placement = formatC("translate(%g %g)", x, y);
    setAttribute(group, QStringLiteral("transform"), hasTransform ? transform + QLatin1Char(' ') + placement : placement);
    // The walk marks the referenced id as being instantiated while it visits the group.
    setAttribute(group, QStringLiteral("data-vek-use"), id);

    xmlNode *target = group;
    if (width > 0 && height > 0) {
        xmlNode *viewport = xmlNewDocNode(use->doc, nullptr, reinterpret_cast<const xmlChar *>("svg"), nullptr);
        setAttribute(viewport, QStringLiteral("width"), formatC("%g", width));
        setAttribute(viewport, QStringLiteral("height"), formatC("%g", height));
        if (definition->texts.contains(QStringLiteral("viewBox")))
            setAttribute(viewport, QStringLiteral("viewBox"), definition->texts.value(QStringLiteral("viewBox")));
        if (definition->texts.contains(QStringLiteral("preserveAspectRatio")))
            setAttribute(viewport, QStringLiteral("preserveAspectRatio"),
                         definition->texts.value(QStringLiteral("preserveAspectRatio")));
        xmlAddChild(group, viewport);
        target = viewport;
    }
    for (xmlNode *element : definition->elements) {
        xmlNode *copy = copyDrawnContent(element, use->doc, &tables);
        if (!copy) {
            xmlFreeNode(group);
            return;
        }
        xmlAddChild(target, copy);
    }
    xmlAddChild(use, group);
}

std::optional<std::pair<QString, SvgDefinitionRef>> markerElement(xmlNode *element, const SvgGraphicsState &parent)
{
    auto definition = std::make_shared<SvgDefinition>();
    definition->kind = SvgDefinition::Kind::Marker;
    SvgGraphicsState state = parent;
    QString id;
    for (const auto &[name, value] : svgAttributes(element)) {
        if (name == u"class") {
            if (const QString *rule = state.tables->styles.find(QLatin1Char('.') + value))
                cssStyle(QString(*rule), state);
        } else if (name == u"style") {
            cssStyle(value, state);
        } else if (name == u"viewBox") {
            SvgScanner scanner(value, u" \t\n\r");
            float numbers[4];
            int count = 0;
            while (count < 4) {
                const auto n = scanner.scanDouble();
                if (!n)
                    break;
                numbers[count++] = float(*n);
            }
            Rect &vb = definition->markerViewBox;
            if (count > 0)
                vb.origin.x = numbers[0];
            if (count > 1)
                vb.origin.y = numbers[1];
            if (count > 2)
                vb.size.width = numbers[2];
            if (count > 3)
                vb.size.height = numbers[3];
            if (count == 4 && value.contains(u"cm"))
                vb = Rect(vb.origin.x * 28.34645676f, vb.origin.y * 28.34645676f, vb.size.width * 28.34645676f,
                          vb.size.height * 28.34645676f);
        } else if (name == u"markerWidth") {
            definition->markerWidth = float(unitToPix(value, parent, 100));
        } else if (name == u"markerHeight") {
            definition->markerHeight = float(unitToPix(value, parent, 100));
        } else if (name == u"refX") {
            definition->markerRefX = float(unitToPix(value, parent, 100));
        } else if (name == u"refY") {
            definition->markerRefY = float(unitToPix(value, parent, 100));
        } else if (name == u"markerUnits") {
            if (value == u"userSpaceOnUse")
                definition->markerUnits = value;
        } else if (name == u"orient") {
            definition->markerOrient = value.trimmed();
        } else if (name == u"overflow") {
            definition->markerOverflows = value.trimmed() == u"visible" || value.trimmed() == u"auto";
        } else if (name == u"preserveAspectRatio") {
            definition->markerStretches = value.trimmed().startsWith(u"none");
        } else if (name == u"id") {
            id = value;
        }
    }
    if (id.isEmpty())
        return std::nullopt;
    // Marker content never carries the markers of the element that places it.
    state.markers.clear();
    definition->state = std::make_shared<SvgGraphicsState>(state);
    for (xmlNode *child : svgElementChildren(element))
        definition->elements.push_back(svgRebuiltElement(child, state));
    return std::pair{id, definition};
}

std::optional<std::pair<QString, SvgDefinitionRef>> filterElement(xmlNode *element, const SvgGraphicsState &state)
{
    if (state.viewBox && (state.viewBox->size.width < 0 || state.viewBox->size.height < 0))
        return std::nullopt;
    auto definition = std::make_shared<SvgDefinition>();
    definition->kind = SvgDefinition::Kind::Filter;
    definition->filterRegion = {QStringLiteral("-10%"), QStringLiteral("-10%"), QStringLiteral("120%"), QStringLiteral("120%")};
    definition->filterUnits = QStringLiteral("objectBoundingBox");
    definition->primitiveUnits = QStringLiteral("userSpaceOnUse");
    definition->filterRes = QStringLiteral("x-640 y-480");
    QString id;
    for (const auto &[name, value] : svgAttributes(element)) {
        if (name == u"x")
            definition->filterRegion[0] = value;
        else if (name == u"y")
            definition->filterRegion[1] = value;
        else if (name == u"width")
            definition->filterRegion[2] = value;
        else if (name == u"height")
            definition->filterRegion[3] = value;
        else if (name == u"filterUnits")
            definition->filterUnits = value;
        else if (name == u"primitiveUnits")
            definition->primitiveUnits = value;
        else if (name == u"id")
            id = value;
    }
    if (id.isEmpty())
        return std::nullopt;
    static const QStringList primitives = {
        "feBlend", "feColorMatrix", "feComponentTransfer", "feComposite", "feConvolveMatrix", "feDiffuseLighting",
        "feDisplacementMap", "feFlood", "feGaussianBlur", "feImage", "feMerge", "feMorphology", "feOffset",
        "feSpecularLighting", "feTile", "feTurbulence"};
    for (xmlNode *child : svgElementChildren(element)) {
        const QString tag = svgQualifiedName(child);
        if (!primitives.contains(tag))
            continue;
        SvgFilterPrimitive primitive;
        primitive.primitive = tag;
        primitive.bounds = Rect(0, 0, float(viewBoxWidth(state)), float(viewBoxHeight(state)));
        const bool attributesRead = tag != u"feMerge" && tag != u"feFlood" && tag != u"feImage" && tag != u"feTile";
        if (tag == u"feBlend")
            primitive.parameters.insert(QStringLiteral("mode"), QStringLiteral("normal"));
        if (tag == u"feComposite") {
            primitive.parameters.insert(QStringLiteral("operator"), QStringLiteral("arithmetic"));
            for (const char *k : {"k1", "k2", "k3", "k4"})
                primitive.parameters.insert(QLatin1String(k), QStringLiteral("0"));
        }
        QString matrixType = QStringLiteral("matrix"), matrixValues;
        for (const auto &[name, value] : attributesRead ? svgAttributes(child) : SvgAttributes()) {
            if (name == u"x")
                primitive.bounds.origin.x = float(unitToPix(value, state, viewBoxWidth(state)));
            else if (name == u"y")
                primitive.bounds.origin.y = float(unitToPix(value, state, viewBoxHeight(state)));
            else if (name == u"width")
                primitive.bounds.size.width = float(unitToPix(value, state, viewBoxWidth(state)));
            else if (name == u"height")
                primitive.bounds.size.height = float(unitToPix(value, state, viewBoxHeight(state)));
            else if (name == u"in" || name == u"result" || (name == u"in2" && (tag == u"feBlend" || tag == u"feComposite" || tag == u"feDisplacementMap")))
                primitive.parameters.insert(name, value);
            else if (tag == u"feBlend" && name == u"mode")
                primitive.parameters.insert(name, value);
            else if (tag == u"feComposite" && (name == u"operator" || name == u"k1" || name == u"k2" || name == u"k3" || name == u"k4"))
                primitive.parameters.insert(name, value);
            else if (tag == u"feColorMatrix" && name == u"type")
                matrixType = value;
            else if (tag == u"feColorMatrix" && name == u"values")
                matrixValues = value;
        }
        if (tag == u"feColorMatrix")
            primitive.parameters.insert(QStringLiteral("values"), colorMatrixValues(matrixType, matrixValues));
        definition->primitives.push_back(primitive);
    }
    return std::pair{id, definition};
}

std::optional<std::pair<QString, SvgImageColorSpace>> colorProfileElement(xmlNode *element, const SvgGraphicsState &state)
{
    QString name, intent = QStringLiteral("auto");
    std::optional<QByteArray> bytes;
    for (const auto &[n, value] : svgAttributes(element)) {
        if (n == u"name")
            name = value;
        else if (n == u"rendering-intent") {
            if (value == u"auto" || value == u"perceptual" || value == u"saturation" || value == u"relative-colorimetric"
                || value == u"absolute-colorimetric")
                intent = value;
        } else if (n == u"xlink:href" || n == u"href") {
            if (const auto data = svgReferencedData(value, state))
                bytes = data->bytes;
        }
    }
    if (name.isEmpty() || !bytes || !QColorSpace::fromIccProfile(*bytes).isValid())
        return std::nullopt;
    SvgImageColorSpace profile;
    profile.iccProfile = *bytes;
    profile.renderingIntent = intent;
    return std::pair{name, profile};
}
