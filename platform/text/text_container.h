// A text container: the region a layout manager fills with lines, one fragment at a time.
//
// The layout manager proposes, for each line, a rectangle as wide as the container at the
// line's position and as high as the line; the container answers the rectangle the line
// may use (narrower, lower, or empty when nothing fits any more) and may leave the rest
// of the line's width as a remaining rectangle for a further fragment on the same line.
// Subclasses shape the text (inside a path, around other objects) by overriding
// lineFragmentRectForProposedRect(). Coordinates have y growing downwards from the
// container's top left corner.
#pragma once

#include "platform/geometry/geometry.h"

class LayoutManager;

enum class LineSweepDirection { Left, Right, Down, Up };
enum class LineMovementDirection { DoesntMove, MovesLeft, MovesRight, MovesDown, MovesUp };

class TextContainer {
public:
    explicit TextContainer(Size size = {1.0e6f, 1.0e6f});
    virtual ~TextContainer();
    TextContainer(const TextContainer &) = delete;
    TextContainer &operator=(const TextContainer &) = delete;

    Size containerSize() const { return m_size; }
    void setContainerSize(Size size);
    // Space kept free at both ends of every line fragment.
    float lineFragmentPadding() const { return m_padding; }
    void setLineFragmentPadding(float padding);

    LayoutManager *layoutManager() const { return m_layoutManager; }

    // True when every fragment is the proposed rectangle clipped to the container.
    virtual bool isSimpleRectangularTextContainer() const { return true; }
    // Whether a glyph may stand at the point (inside the container's rectangle).
    virtual bool containsPoint(Point point) const;
    // The part of proposed that a line may use: clipped to the container's width; the
    // empty rectangle when the line would reach below the container or no width is left.
    // remaining receives the empty rectangle.
    virtual Rect lineFragmentRectForProposedRect(const Rect &proposed, LineSweepDirection sweep,
                                                 LineMovementDirection movement, Rect *remaining);

private:
    friend class LayoutManager;
    void invalidate();

    Size m_size;
    float m_padding = 5.0f;
    LayoutManager *m_layoutManager = nullptr;
};
