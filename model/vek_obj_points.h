// VekObjPoints: the path drawn with the point pen, segment by segment and curve by curve.
//
// The first drag draws a straight segment. While the object is edited, each later drag
// adds a straight segment from the path's end to where the mouse is released, and three
// single clicks add a cubic curve: the first two place its control points, the third its
// end. The pending control points are kept between clicks (not stored, not copied).
#pragma once

#include "model/vek_obj_path.h"

class VekObjPoints : public VekObjPath {
public:
    explicit VekObjPoints(Passkey key) : VekObjPath(key) {}
    static std::shared_ptr<VekObjPoints> create();

    QString className() const override { return QStringLiteral("VekObjPoints"); }

    // Follows the first drag: a click leaves a move-to and a line-to to the same pixel
    // centre, a drag of 2 or more a single straight segment. Answers whether the path has
    // an element.
    bool createWithEvent(const MouseEvent &event, CanvasServices *view) override;
    // Makes the object the canvas's editing object; a single click is handled as an edit,
    // a double click only enters editing.
    void startEditingWithEvent(const MouseEvent &event, CanvasServices *view) override;
    // One press of the point pen while editing: a drag adds a straight segment, a click a
    // control point or, with both control points placed, the curve to the click.
    void editWithEvent(const MouseEvent &event, CanvasServices *view) override;
    void endEditingInView(CanvasServices *view) override;
    // A path of exactly three elements whose line-to repeats the move-to's point loses the
    // move-to first.
    void setBezierPath(const std::optional<BezierPath> &path) override;
    // The path object, then, while the point pen is the selected tool, markers on the
    // current point, the first point and the pending control points.
    void drawInViewIsSelected(CanvasServices *view, bool selected) override;

    Point ctrlP1() const { return _ctrlP1; }
    Point ctrlP2() const { return _ctrlP2; }

private:
    // Follows the drag until the mouse goes up, appending a line-to to the live path at the
    // first event and whenever the mouse moved more than 2 from the last point added.
    // Answers the release point.
    Point trackSegment(CanvasServices *view, bool snap);
    void clearControlPoints() { _ctrlP1 = _ctrlP2 = NoPoint; }

    Point _ctrlP1 = NoPoint;
    Point _ctrlP2 = NoPoint;
};
