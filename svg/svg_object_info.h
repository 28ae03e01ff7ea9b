// The import property list of the SVG importer: page-level values and the ordered object
// infos (one per path, image or text run) from which the document makes drawing objects.
//
// An object info is a copy of the graphics state computed for its element plus what its
// handler adds: the outline of a path, the picture and frame of an image, the string,
// attributes and glyph positions of a text run.
#pragma once

#include "platform/geometry/bezier_path.h"
#include "platform/image/image.h"
#include "platform/text/text_attributes.h"
#include "svg/svg_graphics_state.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

// The kind numbers of object infos; other numbers are skipped by readers.
enum SvgObjectClass { SvgNoObject = 0, SvgImageObject = 1, SvgPathObject = 3, SvgTextObject = 7 };

// A text run: its string, the attributes to draw it with and the glyph positions as written.
struct SvgTextRun {
    QString string;
    TextAttributes attributes;
    Point textTranslate;
    std::optional<QString> textXPositionString, textYPositionString, textRotationString;
    int textAlignment = 0;

    // Where the glyphs sit on the page (every transform and the text anchor applied): the
    // first glyph's point on the baseline, or, for a run placed glyph by glyph (several x,
    // y, dx or dy values), one point per placed glyph, the last one carrying the rest of
    // the string.
    std::vector<Point> glyphOrigins;
    // The text chunk the run belongs to (a new one starts at each text element and each
    // absolute position) and the run's extent along x in its own user units: anchoring
    // moves a whole chunk.
    int chunk = 0;
    bool startsChunk = false;
    double startX = 0, endX = 0;
};

// An outline that clips one object (page coordinates, with its fill rule: 0 nonzero, 1 even-odd).
struct SvgClip {
    BezierPath path;
    int rule = 0;
};

struct SvgObjectInfo {
    int classNr = SvgNoObject;
    SvgGraphicsState state;
    // What the object is clipped to, where the file clips it or where an image stands for a fill.
    std::optional<SvgClip> clip;

    // Paths: the outline with all transforms applied, the untransformed vertices, and the
    // marker copies placed on them.
    BezierPath bezierPath;
    std::vector<Point> originalPoints;
    std::vector<SvgObjectInfo> markerInfos;

    // Images.
    Image image;
    Rect imageFrame;

    // Text runs (held apart: most infos are paths, and infos are moved about in bulk).
    std::shared_ptr<const SvgTextRun> text;

    bool isEmpty() const { return classNr == SvgNoObject; }
};

struct SvgImportPropertyList {
    std::optional<Rect> bounds;            // the root viewport
    std::optional<double> svgScaleX, svgScaleY;
    std::optional<Rect> svgViewBox;
    QString svgFileURL;
    std::optional<QString> svgDesc, svgTitle;
    std::vector<SvgObjectInfo> objectInfos;
    // Why nothing was imported (the file is beyond the import's bounds), and what was left
    // out of an import that went ahead; both in words for the user.
    QString refusal;
    QStringList notes;
};
