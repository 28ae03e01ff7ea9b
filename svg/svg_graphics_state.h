// The SVG importer's graphics state: everything an element inherits (paint, stroke, font and
// text settings, the current transform, the clip, markers), and the tables that every state
// of one import shares (style rules, definitions, colour profiles).
//
// A state is a plain value: deriving a child state copies it. The shared tables sit behind
// one shared pointer, so a style rule or definition added while handling any element is seen
// by every element handled after it. Marker references are per state (a marker named on a
// group reaches the group's descendants only, never later siblings).
#pragma once

#include "platform/color/color.h"
#include "platform/geometry/bezier_path.h"
#include "platform/geometry/geometry.h"
#include "svg/svg_import_limits.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <libxml/tree.h>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

struct SvgDefinition;
using SvgDefinitionRef = std::shared_ptr<SvgDefinition>;

// A transform in SVG terms (a b c d e f) stored as m11 = a, m12 = c, m21 = b, m22 = d,
// tX = e, tY = f; a point maps to (m11 x + m12 y + tX, m21 x + m22 y + tY), in floats.
struct SvgMatrix {
    float m11 = 1, m12 = 0, m21 = 0, m22 = 1, tX = 0, tY = 0;
    Point map(double x, double y) const
    {
        const float fx = float(x), fy = float(y);
        return Point(m11 * fx + m12 * fy + tX, m21 * fx + m22 * fy + tY);
    }
    bool isIdentity() const { return m11 == 1 && m12 == 0 && m21 == 0 && m22 == 1 && tX == 0 && tY == 0; }
};

// A fill or stroke: a colour, or a paint server (gradient or pattern definition).
struct SvgPaint {
    std::optional<Color> color;
    SvgDefinitionRef server;
    // "currentColor": the colour is the element's `color` and changes with it.
    bool followsCurrentColor = false;
    bool isColor() const { return color.has_value(); }
};

// The colour handling images ask for: a named profile's ICC data (empty: sRGB) and intent.
struct SvgImageColorSpace {
    QByteArray iccProfile;
    QString renderingIntent = QStringLiteral("auto");
};

// Style rules: selector text to declaration text, in the order they were first stored, and
// indexed by selector text so that finding the rule for an element costs a few look-ups
// whatever the number of rules.
class SvgStyleSheet {
public:
    bool isEmpty() const { return m_rules.empty(); }
    // A later rule with the same selector replaces the earlier one whole.
    void setRule(const QString &selector, const QString &declarations);
    const QString *find(const QString &selector) const;
    const std::vector<std::pair<QString, QString>> &rules() const { return m_rules; }

    // The declarations of the first rule (in table order) that the selector search matches
    // for an attribute value (null for a type selector) and name, with the class of an
    // enclosing group when there is one; null when none matches.
    const QString *match(const QString &value, const QString &name, const std::optional<QString> &enclosingClass) const;

private:
    std::vector<std::pair<QString, QString>> m_rules;
    QHash<QString, size_t> m_index;
    qsizetype m_longestSelector = 0;   // candidates longer than this cannot match
};

// What every state of one import shares.
struct SvgImportTables {
    SvgStyleSheet styles;
    QHash<QString, SvgDefinitionRef> defs;
    QHash<QString, SvgImageColorSpace> colorProfiles;
    // Holder of the elements that definitions and use copies rebuild, freed with the import.
    xmlNode *holder = nullptr;
    SvgImportLimits limits;
    // Resource guards: what `use` instances copied so far (elements and bytes of names,
    // attributes and text), and marker copies placed.
    qint64 useCopiedElements = 0;
    qint64 useCopiedBytes = 0;
    int markerDepth = 0;
    int clipDepth = 0;
    int patternDepth = 0;
    // Elements being instantiated by `use` (a chain that meets itself is cut).
    QStringList useChain;
    // White-space status of text runs (0 chunk start, 1 after a visible character, 2 blank pending).
    int whiteSpaceStatus = 0;
    int textChunks = 0;
    // Characters of text runs made so far, and those left out beyond the import's bound.
    qint64 textCharacters = 0;
    qint64 textCharactersCut = 0;
    // Why the import stops and makes nothing (empty while it goes on).
    QString refusal;
};

struct SvgMarkerReference {
    QString property;   // "marker", "marker-start", "marker-mid", "marker-end"
    SvgDefinitionRef marker;
};

// A clip path in object-bounding-box units, laid out when the box of what it clips is known.
struct SvgBoundingBoxClip {
    SvgDefinitionRef clipPath;
    SvgMatrix userToPage;
};

struct SvgGraphicsState {
    std::shared_ptr<SvgImportTables> tables;

    QString fileURL;   // the SVG file's path; empty when none was given
    Rect bounds{0, 0, 640, 480};
    std::optional<Rect> viewBox;
    float strokeWidth = 1;
    float strokeOpacity = 1;
    float fillOpacity = 1;
    // "opacity": the element's own, and the product of its ancestors' (each group's opacity
    // multiplies into everything drawn inside it).
    float opacity = 1;
    float groupOpacity = 1;
    std::optional<float> stopOpacity, floodOpacity;
    int lineCap = 0;
    int lineJoin = 0;
    float miterLimit = 4;
    int fillRule = 0;
    std::vector<float> dashArray;
    float dashOffset = 0;

    float fontSize = 12;
    QString fontStyle = QStringLiteral("normal");
    int fontWeight = 5;
    QStringList fontFamily{QStringLiteral("Helvetica")};
    QString fontName = QStringLiteral("Helvetica");
    float obliqueness = 0;
    bool fontChanged = false;
    float fontStretch = 0;
    float baselineOffset = 0;
    QString kerning = QStringLiteral("auto");
    float letterSpacing = 0;
    int superscript = 0;
    int textAnchor = 0;   // text alignment: 0 start (left), 2 middle (centre), 1 end (right)

    SvgMatrix ctm;
    double scaleX = 1, scaleY = 1, rotate = 0, skewX = 0, skewY = 0;
    Point translate;

    Point currentPoint;
    // The clip in page coordinates with its fill rule (0 nonzero, 1 even-odd), when `clipped`;
    // clips named in bounding-box units wait in `boundingBoxClips`. `clipRule` is the
    // clip-rule property, which the children of a clip path draw their outlines with.
    BezierPath clipPath;
    int clipPathRule = 0;
    bool clipped = false;
    std::vector<SvgBoundingBoxClip> boundingBoxClips;
    int clipRule = 0;
    std::vector<SvgMarkerReference> markers;
    bool xmlSpace = true;   // true: default white-space handling; false: preserve
    bool unicodeBidi = false;
    SvgPaint strokeColor;
    SvgPaint fillColor;
    int writingDirection = -1;
    Color currentColor;   // the `color` property, which "currentColor" paints take
    SvgImageColorSpace imageColorSpace;

    // Whether what the element makes is drawn: display="none" (here or on an ancestor) and
    // content that SVG never draws in place (masks, unchosen switch children) clear
    // `displayed` for good; visibility="hidden" clears `visible`, which descendants may set again.
    bool displayed = true;
    bool visible = true;

    std::optional<QString> className;   // class of an enclosing group, for descendant rules
    bool textGraphic = false;           // inside a text element that produced a run

    std::optional<bool> textDecoration, underline, overline, linethrough, blink;
    std::optional<Color> textDecorateFillColor, textDecorateStrokeColor;
    SvgDefinitionRef filter;
    bool enableBackground = false;

    // The state before the root element.
    static SvgGraphicsState defaults(const QString &fileURL);
    // Sets the `color` property, and the fill and stroke that follow it.
    void setCurrentColor(const Color &color);
    // Resets the transform entries to the identity.
    void resetTransform();
    bool isDrawn() const { return displayed && visible; }
    float effectiveOpacity() const { return opacity * groupOpacity; }
    // Folds the element's own opacity into the group opacity its descendants inherit.
    void enterGroup()
    {
        groupOpacity *= opacity;
        opacity = 1;
    }
};

// An RGB colour of the import (all parsed colours are made in calibrated RGB).
Color svgColor(float red, float green, float blue, float alpha = 1);
// The colour with another alpha.
Color svgColorWithAlpha(const Color &color, float alpha);
