// VekTextContainer: the text container every text box lays its lines out through.
//
// Besides the box's rectangle it shapes the lines by the clip shape (the path object lying
// directly behind the box with a clip type above 0: type 1 keeps the text inside the
// shape, type 2 flows it around), by the document's exclusive objects (lines are cut
// around them, and the container records them for the box's floating objects) and by page boundaries
// (a line never straddles two pages of a box that runs over several). Fragments are in the
// box's coordinates; the clip path and the other objects are in canvas coordinates and are
// shifted by the box's origin before they are compared.
#pragma once

#include "platform/geometry/bezier_path.h"
#include "platform/text/text_container.h"

#include <memory>
#include <optional>
#include <set>
#include <vector>

class VekObject;
class VekObjText;

class VekTextContainer : public TextContainer {
public:
    explicit VekTextContainer(Size size = {1.0e6f, 1.0e6f});

    // The document's objects in stacking order (front-most first) and the box laid out now;
    // takes the box's padding and starts afresh (resetVars).
    void setObjectsAndCurrentTextObject(std::vector<std::shared_ptr<VekObject>> objects, VekObjText *textObject);
    // Forgets the clip shape, the line tracking and the objects lines were cut around.
    void resetVars();
    // The exclusive objects the lines were cut around since the last resetVars.
    const std::set<const VekObject *> &floatingObjects() const { return m_floatingObjects; }
    // The path of the object directly behind the box when it clips (type 1 or 2) and the box
    // does not use its simple clip; sets the clip type (0 when nothing clips).
    std::optional<BezierPath> clipOfCurrentTextObject() const;
    int clipType() const { return m_clipType; }

    bool isSimpleRectangularTextContainer() const override { return false; }
    bool containsPoint(Point point) const override;
    Rect lineFragmentRectForProposedRect(const Rect &proposed, LineSweepDirection sweep,
                                         LineMovementDirection movement, Rect *remaining) override;

private:
    Rect plainFragment(const Rect &proposed) { return TextContainer::lineFragmentRectForProposedRect(
        proposed, LineSweepDirection::Right, LineMovementDirection::MovesDown, nullptr); }
    void lookUpClip() const;
    // The box's rectangle on the page (its bounds, or its place on a repeated page), moved
    // by what the box's transform does to the fragment's far corner.
    Rect textFrame(int page, const Rect &fragment) const;
    // A fragment after the first of the current line: follows the line's height; false
    // when the typesetter has moved on to another paragraph.
    bool continueLine(Rect &fragment);
    // Cuts the fragment by the clip shape; false when no usable width is left.
    bool applyClip(Rect &fragment, Rect *remaining, const Rect &frame) const;
    // The rectangle of an exclusive object relative to the frame, or none on this page.
    std::optional<Rect> exclusiveRect(const VekObject &object, int page, const Rect &frame, const Rect &fragment) const;
    float minimumWidth() const { return 2 * lineFragmentPadding() + 4; }

    std::vector<std::shared_ptr<VekObject>> m_objects;
    VekObjText *m_textObject = nullptr;
    mutable std::optional<BezierPath> m_clipPath;
    mutable int m_clipType = -1;   // -1 not looked up yet
    int m_lineNumber = 0;
    Rect m_lastProposed{-1, -1, 0, 0};
    int m_paragraphStart = 0;   // where the paragraph of the current line begins
    bool m_isFirstFragment = true;
    std::set<const VekObject *> m_floatingObjects;
};
