// VekObjPath: the drawing object whose geometry is a Bezier path the user reshapes point by point.
//
// Beyond the common object it carries start and end arrows, a text laid along the path, a
// clip type (the path may clip the object directly in front of it), the size at which it was
// created, its own dash information and a cached stroke image for the spray, blur and brush
// line patterns. Library shapes, the page line space holder, point-pen paths, free-hand
// strokes and markers are its subclasses.
//
// The members live in several files: the model, setters, path commands and the editing click
// (vek_obj_path.cpp), the dictionary keys (vek_obj_path_dictionary.cpp), drawing, stroke
// patterns and the redraw area (vek_obj_path_drawing.cpp) and the text along the path
// (vek_obj_path_text.cpp).
#pragma once

#include "model/object_editing.h"
#include "model/vek_object.h"
#include "platform/text/attributed_string.h"

#include <QImage>

class GraphicsContext;

class VekObjPath : public VekObject, public ObjectEditing {
public:
    explicit VekObjPath(Passkey key);
    ~VekObjPath() override;

    // A new path object: arrow angle 45, arrow length 5, glyph space 4, no arrows, no clip,
    // no recorded size, and the common object's defaults.
    static std::shared_ptr<VekObjPath> create();

    // ---- Answers ----

    bool isEditable() const override { return true; }
    bool hasEditablePath() const override { return pathCreated(); }
    bool hasArrow() const override { return _arrowTypeS > 0 || _arrowTypeE > 0; }
    bool hasNaturalSize() const override { return _orgSize.width != 0 || _orgSize.height != 0; }
    int clipType() const override { return _clipType; }
    Size originalSize() const override { return _orgSize; }

    // ---- Accessors ----

    int startArrow() const { return _arrowTypeS; }
    int endArrow() const { return _arrowTypeE; }
    // Full opening angle of an arrow head, degrees.
    int arrowAngle() const { return _arrowAngle; }
    float arrowLength() const { return _arrowLength; }
    int attType() const { return _attType; }
    float attSpace() const { return _attSpace; }
    float attOffset() const { return _attOffset; }
    // "pattern" (array of numbers) and "phase" (number), or absent.
    const PropertyList &dashInfo() const { return _dashInfo; }
    // The cached stroke image of the spray, blur and brush patterns (null when none).
    const QImage &pathStrokeImage() const { return _pathStrokeImage; }
    Point clickedPoint() const { return _clickedPoint; }
    int clickedElement() const { return _clickedElement; }

    // ---- Plain stores: no undo, no notification ----

    void setOriginalSize(Size size) { _orgSize = size; }
    // Stores the dictionary (absent clears).
    void setDashInfo(const PropertyList &info) { _dashInfo = info; }

    // ---- Undoable setters (nothing happens for the stored value) ----

    void setStartArrow(int type);
    void setEndArrow(int type);
    void setArrowLength(float length, int angle);
    void setAttType(int type);
    void setAttSpace(float space);
    void setAttOffset(float offset);
    // Also tells the object behind (didChange) and the one in front (clipDidChange).
    void setClipType(int type);
    // Mirror the points about the centre of the path's bounds.
    void setFlippedHorizontally(bool flag) override;
    void setFlippedVertically(bool flag) override;
    // With update: undoable together with the dash info, which comes from the inspector.
    void setDashPatternUpdate(int index, bool update) override;
    // With update the path turns about `center` by the change of rotation.
    void setRotation(float degrees, Point center, bool update) override;

    // Drops the stroke image, then the common didChange.
    void didChange() override;
    // A new size also drops the stroke image during a drag, when didChange is not called.
    void setBounds(const Rect &bounds) override;

    // ---- Path commands ----

    void closeBezierPath();
    void reverse() override;
    void makeSmoother() override;
    void makeStraight() override;
    void makePositive() override;
    // Restores the recorded proportion, keeping the origin and the longer side.
    void setToNaturalSize() override;
    // Stores the clip type without undo and hands this path's transforms to the object in front.
    void simplySetAsClip(int type, VekObject *objAbove);

    // ---- Editing by mouse ----

    // Edited in place once it has a path.
    ObjectEditing *editing() override { return pathCreated() ? this : nullptr; }
    void startEditingWithEvent(const MouseEvent &event, CanvasServices *view) override;
    // An editing click: inserts a line point, a curve point (Shift) or a new sub-path (Option).
    void editWithEvent(const MouseEvent &event, CanvasServices *view) override;
    // Inserts a point of the kind (0 line, 1 curve, 2 new sub-path) at the clicked point.
    void addPointFor(int kind);
    void endEditingInView(CanvasServices *view) override;
    // The bounds grown by 10 points: the curve cursor with Shift, the move cursor with
    // Option, else the line cursor, telling what a click adds.
    std::vector<CursorRect> editingCursorRects(unsigned modifierFlags, const CanvasServices *view) const override;

    // ---- Copy ----

    // The path object's part of a copy: every key of the path kinds that the common copy
    // does not carry, written and read back through the same table as the dictionary form.
    // The copy belongs to no document.
    void copyPathAttributesTo(VekObjPath &copy) const;

    // ---- Dictionary form: the path object's own keys ----

    QString className() const override { return QStringLiteral("VekObjPath"); }
    // Writes "class" and, when the object has an editable path, the path keys. The dictionary
    // form calls these after the common keys (writePropertyListKeys, readPropertyListKeys).
    void writePathKeys(PropertyList &dict) const;
    // Reads the path keys after the common keys (which include "path"); numbers that are not
    // finite or lie outside what the key allows are left out (arrows then take their defaults).
    void readPathKeys(const PropertyList &dict);

    // ---- Drawing, stroke patterns and the redraw area ----

    void drawInViewIsSelected(CanvasServices *view, bool selected) override;
    void drawInViewInRect(CanvasServices *view, const Rect &rect) override;
    // Fill, arrows, the stroke by line pattern, then the text along the path.
    void drawPath(const BezierPath &path, CanvasServices *view);
    // Draws the arrow heads and clips the filled and closed ones out of the stroke.
    void addArrowTo(const BezierPath &path);
    // Strokes the path by the line pattern (width: the line width drawn).
    void strokeWithPattern(const BezierPath &path, float width);
    // Renders the spray stroke into the stroke image.
    void drawSpray(const BezierPath &path, int type, float intensity);
    // Renders the brush stroke into the stroke image.
    void createStrokeImageOf(const BezierPath &path, const QImage &brushImage, float intensity);
    // The stroke image of the spray, blur or brush pattern for the path as drawn, rendered
    // on first use (null when it cannot be made); safe while other threads draw the object.
    QImage strokeImageFor(const BezierPath &path, const Color &color);
    // The area to redraw: stroke patterns, stroke image, text, arrows, repetition and shadow.
    Rect boundsToRedraw() const override;
    void clearCachedImage() override;

    // ---- Text along the path ----
    // Implemented in vek_obj_path_text.cpp.

    // The text as it must be drawn (colours in CMYK while the document uses CMYK), or absent.
    std::optional<AttributedString> attStringForPath() const override;
    // Undoable; an empty text is stored as none. Sets the word count.
    void setAttStringForPath(const std::optional<AttributedString> &text);
    // Draws the glyphs of the text along the path into the current context.
    void drawString(const AttributedString &text, const BezierPath &path);
    // The font runs of the text: [font name, "%.1f" size, text, start index], or absent.
    PropertyList textInfo() const;

    // ---- End of text along the path ----

protected:
    void writePropertyListKeys(PropertyList &dict) const override;
    void readPropertyListKeys(const PropertyList &dict) override;
    // The common copy, then copyPathAttributesTo.
    void copyAttributesTo(VekObject &copy) const override;

    // The table of the path kinds' own keys (vek_obj_path_dictionary.cpp).
    struct PathKey;
    static const std::vector<PathKey> &pathKeys();

    // Mirrors the points: 0 horizontally, otherwise vertically, keeping the centre.
    void setFlipped(int axis);
    // d of the stroke patterns: the half diagonal of a square of the line width.
    float strokeOffset() const;

    int _arrowTypeS = 0;
    int _arrowTypeE = 0;
    int _arrowAngle = 45;
    float _arrowLength = 5.0f;
    int _attType = 0;
    float _attSpace = 4.0f;
    float _attOffset = 0.0f;
    std::optional<AttributedString> _attStringForPath;   // never an empty text
    int _clipType = 0;
    Size _orgSize;
    Point _clickedPoint = NoPoint;
    int _clickedElement = -1;
    std::optional<BezierPath> _editingPath;
    QImage _pathStrokeImage;
    PropertyList _dashInfo;
    mutable PropertyList _txtInfoArray;   // cached font runs of the text along the path
};

// Stamps the brush image centred along the segment from `from` to `to` (both moved by (d, d))
// every `step` of length, carrying the distance `carried` since the last stamp; equal points
// stamp once. Answers the new carried distance. Draws into the current graphics context.
float brush(const QImage &brushImage, float d, Point from, Point to, float carried, float step);
// The same along a cubic curve (start, control 1, control 2, end).
float brushCurve(const QImage &brushImage, float lineWidth, float d, const Point curve[4], float carried,
                 float step);
