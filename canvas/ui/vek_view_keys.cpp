// Keys that reach the canvas: the edited object first, then delete, nudging the selection
// with the arrow keys, turning pages, and the marker keys.
#include "canvas/ui/vek_view.h"

#include "canvas/arrange_commands.h"
#include "canvas/ui/control_gesture.h"
#include "document/vek_document.h"
#include "model/object_editing.h"
#include "model/services/shell_services.h"
#include "model/text/text_view.h"
#include "model/vek_obj_marker.h"
#include "model/vek_obj_path.h"
#include "model/vek_object.h"
#include "platform/foundation/localized_strings.h"
#include "platform/ui/caps_lock.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace {

// The platform's key codes of the characters the canvas uses.
constexpr char16_t DeleteKey = 0x7F;
constexpr char16_t UpArrow = 0xF700, DownArrow = 0xF701, LeftArrow = 0xF702, RightArrow = 0xF703;
constexpr int MarkerTool = 5;

bool isAnArrowKey(QChar c)
{
    return c.unicode() >= UpArrow && c.unicode() <= RightArrow;
}

// The character a Qt key press stands for, in the platform's codes.
QChar characterOfKey(const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete: return QChar(DeleteKey);
    case Qt::Key_Up: return QChar(UpArrow);
    case Qt::Key_Down: return QChar(DownArrow);
    case Qt::Key_Left: return QChar(LeftArrow);
    case Qt::Key_Right: return QChar(RightArrow);
    default: return event.text().isEmpty() ? QChar() : event.text().front();
    }
}

// Caps lock, shift and option change the cursor over an edited or current path.
bool changesPathCursor(const QKeyEvent &event)
{
    const int key = event.key();
    return key == Qt::Key_CapsLock || key == Qt::Key_Shift || key == Qt::Key_Alt;
}

// The keys an open text editor uses itself although menu items carry them.
bool isTextEditorShortcut(const QKeyEvent &event)
{
    for (QKeySequence::StandardKey key :
         {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste})
        if (event.matches(key))
            return true;
    return false;
}

} // namespace

bool VekView::event(QEvent *event)
{
    // While text is edited, its selection (not the objects) is what the clipboard keys and
    // Select All act on: the editor gets them before the menus' shortcuts.
    if (event->type() == QEvent::ShortcutOverride && m_editor &&
        isTextEditorShortcut(*static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    // Tab belongs to the edited text (a tab, or the next table cell), not to moving the
    // focus between widgets.
    if (event->type() == QEvent::KeyPress && m_editor) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void VekView::keyPressEvent(QKeyEvent *event)
{
    if (changesPathCursor(*event))
        refreshCursor();
    if (m_editor && m_editor->keyDown(KeyInput::fromQKeyEvent(*event))) {
        viewport()->update();
        return;
    }
    const QChar c = characterOfKey(*event);
    if (c.isNull() || !keyDownWithCharacter(c, modifierFlagsWithCapsLock(event->modifiers())))
        QAbstractScrollArea::keyPressEvent(event);
}

void VekView::keyReleaseEvent(QKeyEvent *event)
{
    if (changesPathCursor(*event))
        refreshCursor();
    QAbstractScrollArea::keyReleaseEvent(event);
}

bool VekView::keyDownWithCharacter(QChar c, unsigned flags)
{
    if (const auto editing = m_editing.lock())
        if (ObjectEditing *editor = editing->editing(); editor && editor->keyDownWhileEditing(c, flags, this))
            return true;
    const bool used = doEventForChar(c, flags);
    if (used)
        viewport()->update();
    return used;
}

bool VekView::doEventForChar(QChar c, unsigned flags)
{
    const int tool = selectedTool();
    const ObjectList selected = selectedObjects();
    if (!selected.empty() && c.unicode() == DeleteKey) {
        deleteSelection();
        return true;
    }
    if (tool != MarkerTool && (!selectedObjectsContainsMarker() || isAnArrowKey(c))) {
        if (selected.empty()) {
            if (tool != 0 || numberOfPages() < 2)
                return false;
            if (c.unicode() == UpArrow && m_currentPage > 1)
                return setCurrentPageTo(m_currentPage - 1), true;
            if (c.unicode() == DownArrow && m_currentPage < numberOfPages())
                return setCurrentPageTo(m_currentPage + 1), true;
            return false;
        }
        if (!isAnArrowKey(c))
            return false;
        const float distance = (flags & ShiftKeyMask) ? gridSpacing() : hasControlGesture(flags) ? 0.5f : 1.0f;
        Point offset{0, 0};
        switch (c.unicode()) {
        case LeftArrow: offset.x = -distance; break;
        case RightArrow: offset.x = distance; break;
        case UpArrow: offset.y = -distance; break;
        default: offset.y = distance; break;
        }
        moveSelectedObjectsByPoint(offset);
        if (rulersVisible())
            updateRulers();
        return true;
    }

    // The marker keys.
    ShellServices &shell = shellServices();
    if (c >= QLatin1Char('1') && c <= QLatin1Char('5'))
        shell.setMarkerColorNr(c.digitValue());
    if (tool == MarkerTool && c.unicode() == UpArrow)
        shell.setMarkerThickness(shell.currentMarkerThickness() + 1);
    if (tool == MarkerTool && c.unicode() == DownArrow)
        shell.setMarkerThickness(shell.currentMarkerThickness() - 1);
    if (selected.empty())
        return true;
    const int colour = shell.currentMarkerColorNr();
    if (colour == 0)
        return false;
    bool recoloured = false;
    for (const auto &object : selected)
        if (auto *marker = dynamic_cast<VekObjMarker *>(object.get())) {
            marker->setColorNr(colour);
            recoloured = true;
        }
    if (recoloured)
        m_document.undoManager()->setActionName(localizedString(QStringLiteral("Marker Change")));
    return true;
}

void VekView::deleteSelection()
{
    if (const auto editing = m_editing.lock())
        if (ObjectEditing *editor = editing->editing(); editor && editor->deleteWhileEditing(this))
            return;
    CanvasCommandContext context = commandContext();
    ::deleteSelection(context);
}

void VekView::inputMethodEvent(QInputMethodEvent *event)
{
    if (!m_editor)
        return QAbstractScrollArea::inputMethodEvent(event);
    m_editor->inputMethodEvent(InputMethodInput::fromQInputMethodEvent(*event));
    viewport()->update();
    event->accept();
}

QVariant VekView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (m_editor && query == Qt::ImEnabled)
        return true;
    if (m_editor && query == Qt::ImCursorRectangle) {
        const QPointF origin = canvasOrigin();
        const Rect frame = m_editor->frame();
        return QRectF(origin.x() + frame.origin.x * scale(), origin.y() + frame.origin.y * scale(), 1,
                      frame.height() * scale());
    }
    return QAbstractScrollArea::inputMethodQuery(query);
}
