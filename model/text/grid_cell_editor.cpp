// The table cell's editor: its own store, its background and the keys that end a cell.
#include "model/text/grid_cell_editor.h"

#include "model/vek_obj_grid.h"
#include "platform/foundation/modifier_flags.h"
#include "platform/graphics/graphics_context.h"

#include <Qt>

GridCellEditor::GridCellEditor(DocumentServices *document) : VekTextView(document, nullptr)
{
    setTextStorage(&m_store);
    m_store.addObserver([this](const TextStorage &, const TextEdit &) {
        if (!m_settingValue && m_changeHandler)
            m_changeHandler();
    });
}

GridCellEditor::~GridCellEditor()
{
    setTextStorage(nullptr);
}

void GridCellEditor::setAttributedStringValue(const AttributedString &text)
{
    m_settingValue = true;
    m_store.replaceCharacters({0, m_store.length()}, text);
    m_settingValue = false;
    setTextStorage(&m_store);
    setSelectedRange({m_store.length(), 0});
}

bool GridCellEditor::keyDown(const KeyInput &key)
{
    CellTextMovement movement;
    switch (key.key) {
    case Qt::Key_Tab:
        movement = (key.modifierFlags & ShiftKeyMask) ? CellTextMovement::Backtab : CellTextMovement::Tab;
        break;
    case Qt::Key_Backtab: movement = CellTextMovement::Backtab; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: movement = CellTextMovement::Return; break;
    default: return VekTextView::keyDown(key);
    }
    // The handler may drop this editor's table editing; it keeps the editor alive until
    // this call has returned.
    if (m_endHandler)
        m_endHandler(movement);
    return true;
}

void GridCellEditor::drawInContext(GraphicsContext &context, float zoom)
{
    {
        GraphicsStateSaver saver(context);
        context.setFillColor(m_background);
        context.fillRect(frame());
    }
    VekTextView::drawInContext(context, zoom);
}
