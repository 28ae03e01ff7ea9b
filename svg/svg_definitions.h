// Definitions of the SVG importer: what `defs`, `symbol`, paint servers, clip paths,
// markers, filters and colour profiles file under their ids, and the handlers that file
// them or bring them back (`use`).
#pragma once

#include "svg/svg_geometry.h"
#include "svg/svg_graphics_state.h"
#include "svg/svg_xml_loader.h"

#include <QHash>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

struct SvgStop {
    float offset = 0;   // a stop without an offset sits at 0 (then no earlier than the stop before it)
    Color color;
    float opacity = 1;
};

struct SvgFilterPrimitive {
    QString primitive;
    Rect bounds;
    QHash<QString, QString> parameters;   // "in", "in2", "result" and the primitive's own
};

struct SvgDefinition {
    enum class Kind { Elements, PaintServer, ClipPath, Marker, Filter };
    Kind kind = Kind::Elements;

    // Rebuilt elements (symbol content, id'd content, a paint server's other children, a
    // clip path's or marker's children), owned by the import's holder.
    std::vector<xmlNode *> elements;

    // Paint servers and clip paths: "GradientClass" ("SVGLinearGradient",
    // "SVGRadialGradient", "SVGPattern"; empty for a clip path) and the attribute texts
    // ("gradientUnits", "spreadMethod", "X1", "Cx", "fx", "patternUnits", "clipPathUnits"...).
    QString gradientClass;
    QHash<QString, QString> texts;
    std::vector<SvgStop> stops;
    Rect patternViewBox;
    bool patternHasViewBox = false;
    SvgAspectRatio patternAspectRatio;
    float patternX = 0, patternY = 0, patternWidth = 0, patternHeight = 0;
    // The element's own state: "PatternGstate", "ClipPathGstate", or the marker's state.
    std::shared_ptr<SvgGraphicsState> state;

    // Markers.
    Rect markerViewBox{0, 0, -1, -1};
    QString markerUnits = QStringLiteral("strokeWidth");
    float markerRefX = 0, markerRefY = 0, markerWidth = 3, markerHeight = 3;
    QString markerOrient = QStringLiteral("0.0");
    bool markerStretches = false;   // preserveAspectRatio="none"
    bool markerOverflows = false;   // overflow="visible": the viewport does not clip

    // Filters.
    QStringList filterRegion;
    QString filterUnits, primitiveUnits, filterRes;
    std::vector<SvgFilterPrimitive> primitives;

    QString text(const QString &key) const { return texts.value(key); }
};

// Files a `defs` element's children into the shared tables.
void defsElement(xmlNode *defs, const SvgGraphicsState &state);
// A `symbol`, gradient, pattern or clip path filed under its id; nothing without an id.
std::optional<std::pair<QString, SvgDefinitionRef>> symbolElement(xmlNode *element, const SvgGraphicsState &state);
// The rules of a style sheet element, in order.
std::vector<std::pair<QString, QString>> styleElement(xmlNode *element);
// Appends to the `use` element a group holding copies of the referenced content.
void useElement(const SvgAttributes &attributes, const SvgGraphicsState &state, xmlNode *use);
std::optional<std::pair<QString, SvgDefinitionRef>> markerElement(xmlNode *element, const SvgGraphicsState &state);
std::optional<std::pair<QString, SvgDefinitionRef>> filterElement(xmlNode *element, const SvgGraphicsState &state);
std::optional<std::pair<QString, SvgImageColorSpace>> colorProfileElement(xmlNode *element, const SvgGraphicsState &state);

// A copy of an element (name, attributes, children) kept by the import's holder.
xmlNode *svgRebuiltElement(xmlNode *element, const SvgGraphicsState &state);
