// Mouse events and the event source that the objects' tracking loops read them from.
//
// An object that follows a drag (creation by mouse, free-hand strokes, the point pen,
// dragging path points, resizing table rows) keeps its own loop: it asks the canvas's
// event source for the next event that matches a mask until a mouse-up comes. In the
// application the source runs a local event loop for the canvas's widget; tests replay a
// scripted list.
#pragma once

#include "platform/foundation/modifier_flags.h"
#include "platform/geometry/geometry.h"

// Event types, numbered so that the mask of a type is 1 << type.
enum class EventType { LeftMouseDown = 1, LeftMouseUp = 2, RightMouseDown = 3, RightMouseUp = 4, MouseMoved = 5,
                       LeftMouseDragged = 6 };

inline constexpr unsigned eventMaskFor(EventType type) { return 1u << unsigned(type); }
inline constexpr unsigned LeftMouseUpMask = eventMaskFor(EventType::LeftMouseUp);             // 0x04
inline constexpr unsigned LeftMouseDraggedMask = eventMaskFor(EventType::LeftMouseDragged);   // 0x40
// What every drag loop waits for: the next left-mouse-dragged or left-mouse-up event (0x44).
inline constexpr unsigned DragOrUpMask = LeftMouseDraggedMask | LeftMouseUpMask;

struct MouseEvent {
    EventType type = EventType::LeftMouseDown;
    // In the coordinates of the window's content; the canvas converts them to its own
    // (CanvasServices::convertPointFromWindow).
    Point locationInWindow;
    unsigned modifierFlags = 0;
    int clickCount = 1;
    double timestamp = 0;
};

// Operations that take an optional click (starting to edit an object) are given a default
// MouseEvent{} when a command or a creation starts them: no click to act on.
inline bool isClickEvent(const MouseEvent &event)
{
    return event.type == EventType::LeftMouseDown && (event.timestamp != 0 || event.locationInWindow != Point{});
}

class EventSource {
public:
    virtual ~EventSource() = default;
    // Blocks until the next event whose type is in `mask` and answers it; events of other
    // types that arrive meanwhile are dropped. A source that can deliver nothing more (its
    // widget went away, a script ran out) answers a left-mouse-up at the last location, so
    // every loop ends.
    virtual MouseEvent nextEvent(unsigned mask) = 0;
};
