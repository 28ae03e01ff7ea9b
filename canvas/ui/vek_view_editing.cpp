// In-place editing as the canvas hosts it, and the cursor areas: rebuilt from the present
// state (tool, edited object, tracking, selection) whenever any of them changes.
#include "canvas/ui/vek_view.h"

#include "document/vek_document.h"
#include "model/object_editing.h"
#include "model/services/shell_services.h"
#include "model/text/vek_text_view.h"
#include "model/vek_obj_grid.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"
#include "model/vek_object.h"
#include "platform/ui/caps_lock.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

#include <functional>

namespace {

bool isPath(const VekObject *object)
{
    return dynamic_cast<const VekObjPath *>(object) != nullptr;
}

// Runs the action once the event loop is back at the level (any tracking loop that began
// meanwhile has ended); the context's going cancels it.
void whenBackAtLoopLevel(QObject *context, int level, const std::function<void()> &action)
{
    const bool nested = QThread::currentThread()->loopLevel() > level;
    QTimer::singleShot(nested ? 20 : 0, context, [context, level, action] {
        if (QThread::currentThread()->loopLevel() > level)
            whenBackAtLoopLevel(context, level, action);
        else
            action();
    });
}

} // namespace

QCursor cursorForKind(CursorKind kind)
{
    switch (kind) {
    case CursorKind::Arrow: return Qt::ArrowCursor;
    case CursorKind::Crosshair: return Qt::CrossCursor;
    // The palette draws the creation tools' cursors (the marker's in its colour).
    case CursorKind::Pen:
    case CursorKind::PointPen:
    case CursorKind::Marker:
    case CursorKind::Field: return shellServices().cursorForSelectedTool();
    case CursorKind::OpenHand: return Qt::OpenHandCursor;
    case CursorKind::PointingHand: return Qt::PointingHandCursor;
    case CursorKind::ResizeLeftRight: return Qt::SizeHorCursor;
    case CursorKind::ResizeUpDown: return Qt::SizeVerCursor;
    case CursorKind::ResizeCornerLR: return Qt::SizeFDiagCursor;
    case CursorKind::ResizeCornerRL: return Qt::SizeBDiagCursor;
    case CursorKind::Line:
    case CursorKind::Curve: return Qt::CrossCursor;
    case CursorKind::Move: return Qt::SizeAllCursor;
    case CursorKind::SelectColumn: return shellServices().selectColumnCursor();
    case CursorKind::SelectRow: return shellServices().selectRowCursor();
    }
    return Qt::ArrowCursor;
}

void VekView::setEditingObject(const std::shared_ptr<VekObject> &object, TextView *editor)
{
    m_editing = object;
    m_editor = editor;
    // Input methods compose into a hosted editor only.
    setAttribute(Qt::WA_InputMethodEnabled, editor != nullptr);
    // The edited text's paragraph shows in the text ruler while the rulers are shown. The
    // strip makes the ruler taller and so moves the canvas: it waits until the click that
    // began the editing has been tracked to its release.
    if (m_rulers && editor) {
        whenBackAtLoopLevel(this, QThread::currentThread()->loopLevel(), [this] {
            if (m_rulers && rulerTextEditor())
                m_rulers->showTextRulerAccessory();
        });
    } else if (m_rulers) {
        m_rulers->disableTextRulerAccessory();
    }
    viewport()->update();
}

VekTextView *VekView::rulerTextEditor() const
{
    auto *editor = dynamic_cast<VekTextView *>(m_editor);
    return editor && editor->textObject() && editor->textStorage() ? editor : nullptr;
}

void VekView::disableTextRulerAccessory()
{
    if (m_rulers)
        m_rulers->disableTextRulerAccessory();
}

ContourCloseQuestion VekView::askToCloseContour()
{
    return [this] {
        return QMessageBox::question(this, QString(), tr("Do you want to connect the last point to the starting point?"),
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
               == QMessageBox::Yes;
    };
}

void VekView::endEditing()
{
    // A contour under way becomes its path object; nothing else ends then.
    if (m_contour.isCapturing()) {
        CanvasCommandContext context = commandContext();
        if (const auto path = m_contour.finish(context, askToCloseContour()))
            invalidateObject(*path);
        viewport()->update();
        return;
    }
    const auto object = m_editing.lock();
    if (!object)
        return;
    if (ObjectEditing *editing = object->editing())
        editing->endEditingInView(this);
    // An object that does not report its end stops being edited all the same.
    if (m_editing.lock() == object)
        setEditingObject(nullptr, nullptr);
    invalidateObject(*object);

    if (const auto text = std::dynamic_pointer_cast<VekObjText>(object)) {
        const QString typed = text->contents().string();
        if (typed.isEmpty() || typed == QLatin1String(" ")) {
            // A box left empty goes; in a chain, only once the chain has no text for it.
            if (const auto previous = text->preceedingConnectedTextObject()) {
                previous->controlConnection();
                if (text->contents().length() == 0)
                    m_document.removeObject(text);
            } else {
                m_document.removeObject(text);
            }
            if (rulersVisible())
                updateRulers();
        } else {
            // A linked box went back to its size from before editing; its text flows on.
            if (!text->connectedTextObject())
                text->setToNaturalSize();
            if (text->bounds().maxY() > bounds().maxY() + 4)
                m_document.addLastPage();
            display();
        }
    }
    resetCursorRects();
}

CursorKind VekView::cursorKindAtPoint(Point p) const
{
    for (const CursorRect &area : m_cursorRects)
        if (pointInRect(p, area.rect))
            return area.cursor;
    return CursorKind::Arrow;
}

void VekView::refreshCursor()
{
    resetCursorRects();
    if (m_mouseInWindow != NoPoint)
        viewport()->setCursor(cursorForKind(cursorKindAtPoint(convertPointFromWindow(m_mouseInWindow))));
}

std::shared_ptr<VekObjGrid> VekView::selectedTableAlone() const
{
    if (m_editing.lock())
        return nullptr;
    const ObjectList selected = selectedObjects();
    return selected.size() == 1 ? std::dynamic_pointer_cast<VekObjGrid>(selected.front()) : nullptr;
}

void VekView::resetCursorRects()
{
    m_cursorRects.clear();
    const auto add = [this](const Rect &r, CursorKind cursor) { m_cursorRects.push_back({r, cursor}); };
    const int tool = selectedTool();
    const Rect visible = visibleRect();
    const unsigned flags = modifierFlagsWithCapsLock(QGuiApplication::queryKeyboardModifiers());
    const auto editing = m_editing.lock();
    const auto selected = selectedObjects();
    const auto current = m_current.lock();

    if (tool == 4) {
        add(visible, CursorKind::Arrow);
        return;
    }
    if (m_grab.isActive()) {
        add(visible, CursorKind::Crosshair);
        return;
    }
    if (editing) {
        if (ObjectEditing *editor = editing->editing())
            for (const CursorRect &area : editor->editingCursorRects(flags, this))
                m_cursorRects.push_back(area);
    }
    // Path editing, with the arrow tool over an edited path or with caps lock over the current
    // path: the cursor shows which kind of point a click adds.
    const bool editsPath = (tool == 0 && editing && isPath(editing.get()))
                           || ((flags & AlphaShiftKeyMask) && current && isPath(current.get()));
    if (editsPath) {
        const CursorKind kind = (flags & ShiftKeyMask)       ? CursorKind::Curve
                                : (flags & AlternateKeyMask) ? CursorKind::Move
                                                             : CursorKind::Line;
        add(insetRect((editing ? editing : current)->bounds(), -10, -10), kind);
        return;
    }
    switch (tool) {
    case 1:
    case 6: add(visible, CursorKind::Crosshair); return;
    case 2: add(visible, CursorKind::Pen); return;
    case 3: add(visible, CursorKind::PointPen); return;
    case 5: add(visible, CursorKind::Marker); return;
    case 7: add(visible, CursorKind::Field); return;
    default: break;
    }
    if (editing)
        return;
    if (m_draggingPathPoint)
        return add(visible, CursorKind::PointingHand);
    if (m_movingObject)
        return add(visible, CursorKind::OpenHand);
    if (m_draggingKnob > 0) {
        const int k = m_draggingKnob;
        const CursorKind kind = (k == 1 || k == 8)   ? CursorKind::ResizeCornerLR
                                : (k == 3 || k == 6) ? CursorKind::ResizeCornerRL
                                : (k == 4 || k == 5) ? CursorKind::ResizeLeftRight
                                                     : CursorKind::ResizeUpDown;
        return add(visible, kind);
    }
    if (tool != 0 || selected.empty() || !current)
        return;

    Rect r = selectedObjectsBounds();
    r.size.width = std::max(r.size.width, 1.0f);
    r.size.height = std::max(r.size.height, 1.0f);
    if (shouldDrawControlPointsOf(*current) && current->hasEditablePath()) {
        const BezierPath path = current->bezierPath();   // a copy: the loop must not outlive it
        for (const PathElement &element : path.elements())
            if (element.kind != ClosePathBezierPathElement) {
                const Point p = element.endPoint();
                add(Rect(p.x - 2.5f, p.y - 2.5f, 5, 5), CursorKind::PointingHand);
            }
        add(r, CursorKind::OpenHand);
        return;
    }
    if (current->className() == QLatin1String("VekObjFormat")) {
        add(r, CursorKind::OpenHand);
        return;
    }
    // A table alone in the selection resizes its rows and columns at their borders; its
    // knobs resize nothing (a drag there moves it), so they get no cursor of their own.
    if (const auto table = selectedTableAlone()) {
        for (const CursorRect &area : table->borderCursorRects())
            m_cursorRects.push_back(area);
        add(r, CursorKind::OpenHand);
        return;
    }
    const std::pair<int, CursorKind> knobs[] = {
        {1, CursorKind::ResizeCornerLR},  {8, CursorKind::ResizeCornerLR},  {3, CursorKind::ResizeCornerRL},
        {6, CursorKind::ResizeCornerRL},  {4, CursorKind::ResizeLeftRight}, {5, CursorKind::ResizeLeftRight},
        {2, CursorKind::ResizeUpDown},    {7, CursorKind::ResizeUpDown}};
    for (const auto &[knob, kind] : knobs)
        add(current->knobRectFor(knob, this), kind);
    // The inner part moves; a side too small for that becomes a strip one point wide.
    Rect inner = r;
    const auto shrink = [](float &origin, float &side) {
        if (side > 4) {
            origin += 2;
            side -= 4;
        } else {
            origin += side / 2 - 0.5f;
            side = 1;
        }
    };
    shrink(inner.origin.x, inner.size.width);
    shrink(inner.origin.y, inner.size.height);
    add(inner, CursorKind::OpenHand);
}
