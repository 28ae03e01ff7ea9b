// TextView: an in-place editor component that the canvas hosts over an edited object.
//
// It is not a widget: the canvas places it by its frame (canvas coordinates), draws it into
// its own graphics context at its zoom after the objects, and hands it the keys, the
// input-method events and the mouse while the object is edited. The edited object owns it.
#pragma once

#include "platform/geometry/geometry.h"

#include <QString>

class GraphicsContext;
class QInputMethodEvent;
class QKeyEvent;

// A key as the editor needs it: Qt's key code, the platform's modifier flags
// (platform/foundation/modifier_flags.h) and the text it types.
struct KeyInput {
    int key = 0;
    unsigned modifierFlags = 0;
    QString text;

    static KeyInput fromQKeyEvent(const QKeyEvent &event);
};

// An input method's edit: the text it commits (replacing `replacementLength` characters
// from `replacementStart` relative to the insertion point) and the text it is composing.
struct InputMethodInput {
    QString commitString;
    QString preeditString;
    int replacementStart = 0;
    int replacementLength = 0;

    static InputMethodInput fromQInputMethodEvent(const QInputMethodEvent &event);
};

class TextView {
public:
    virtual ~TextView() = default;

    Rect frame() const { return m_frame; }
    virtual void setFrame(const Rect &frame) { m_frame = frame; }

    // Draws the editor (selection, text, insertion point) in canvas coordinates; zoom is
    // the canvas's scale (1 = 100 %), so that the insertion point stays one pixel wide.
    virtual void drawInContext(GraphicsContext &context, float zoom) = 0;
    // True when the key was used.
    virtual bool keyDown(const KeyInput &key) = 0;
    virtual void inputMethodEvent(const InputMethodInput &input) = 0;
    // Mouse in canvas coordinates; clickCount 2 selects a word, 3 a paragraph.
    virtual void mouseDown(Point point, unsigned modifierFlags, int clickCount) = 0;
    virtual void mouseDragged(Point point) = 0;
    virtual void mouseUp(Point point) = 0;

private:
    Rect m_frame;
};
