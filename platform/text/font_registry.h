// Fonts by PostScript name on this machine: lookup through fontconfig, substitution of
// missing names, traits, and metrics in points (design metrics at 72 dpi).
//
// A name this machine lacks is drawn with a substitute: the core PostScript fonts with
// their metric-compatible free versions (Helvetica with Nimbus Sans, Times with Nimbus
// Roman, ...), any other name with fontconfig's best match. The Font value keeps the
// name it was given, so documents keep their fonts when they travel.
// Needs a QGuiApplication for qFont() and rawFont().
#pragma once

#include "platform/geometry/bezier_path.h"
#include "platform/text/font.h"

#include <QFont>
#include <QRawFont>
#include <QString>
#include <QStringList>

#include <optional>

struct FontMetrics {
    float ascender = 0;     // above the baseline, positive
    float descender = 0;    // below the baseline, negative
    float leading = 0;
    float capHeight = 0;
    float xHeight = 0;
    float italicAngle = 0;  // degrees, negative for a face leaning right
    float underlinePosition = 0;   // below the baseline, negative
    float underlineThickness = 0;

    // The height of a line set in this font alone.
    float lineHeight() const { return ascender - descender + leading; }
};

struct FontFace {
    QString postScriptName;   // of the face actually used
    QString family;
    QString style;
    QString foundry;   // fontconfig's; tells apart faces of one family from different files
    QString file;
    int index = 0;
    bool bold = false;
    bool italic = false;
    bool substituted = false;   // the name asked for is not installed
    int weight = 5;             // the platform's scale: 5 regular, 9 bold
};

// True when a face of exactly this PostScript name is installed, or the name is a core
// PostScript font with an installed substitute.
bool fontExists(const QString &postScriptName);
// The font of that name, or nothing when fontExists() is false.
std::optional<Font> fontWithName(const QString &postScriptName, float size);
// The font for labels and fallbacks at a size.
Font labelFont(float size);
// The face drawn for a name (a substitute when the name is missing).
FontFace fontFace(const QString &postScriptName);
// The PostScript name of the face of the same family with the traits asked for; the name
// may also be a family name ("DejaVu Serif"). A family that is not installed takes the face
// with the traits of the family fontconfig puts in its place (Nimbus Roman for "Times New
// Roman"). The name itself when there is no such face.
QString fontNameWithTraits(const QString &nameOrFamily, bool bold, bool italic);
struct FontTraits {
    bool bold = false;
    bool italic = false;
};
// The traits of a named face; nothing for a name that does not exist.
std::optional<FontTraits> fontTraits(const QString &postScriptName);
// The family a PostScript name belongs to ("Helvetica" for "Helvetica-Bold").
QString fontFamilyName(const QString &postScriptName);

// The families of the installed faces, sorted without regard to case, each once.
QStringList availableFontFamilies();
// The installed faces of a family (by family name, case-insensitive), lightest first and
// upright before italic at equal weight; one entry per PostScript name.
QList<FontFace> fontFacesOfFamily(const QString &family);

FontMetrics fontMetrics(const Font &font);
// A QFont for shaping on a 72-dpi paint device (see layoutPaintDevice()): point size =
// the font's size, no hinting, kerning on.
QFont qFont(const Font &font);
// The face at pixel size = point size, unhinted.
QRawFont rawFont(const Font &font);
// The outline of a glyph of the font in points, y growing downwards, its origin on the
// baseline at `origin`; empty for a glyph without outline (a space) or an invalid index.
BezierPath glyphOutline(const Font &font, quint32 glyph, Point origin = {});
// A 72-dpi paint device for QTextLayout, so that one point is one unit.
class QPaintDevice *layoutPaintDevice();
