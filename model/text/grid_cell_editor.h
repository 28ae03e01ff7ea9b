// GridCellEditor: the editor laid over a table cell while its text is typed.
//
// A field editor with a store of its own (the cell's text is copied in, and every change the
// user makes is reported to the table, which keeps the cell's record equal to it) and a
// background of the cell's colour. Tab, Backtab and Return do not type: they end the cell's
// editing and are reported, with the movement, to the handler the table sets.
#pragma once

#include "model/text/vek_text_view.h"
#include "platform/color/color.h"
#include "platform/text/text_storage.h"

#include <functional>

enum class CellTextMovement;

class GridCellEditor : public VekTextView {
public:
    explicit GridCellEditor(DocumentServices *document);
    ~GridCellEditor() override;

    void setEndHandler(std::function<void(CellTextMovement)> handler) { m_endHandler = std::move(handler); }
    // Called after each change of the text, before the insertion point follows it (so the
    // selected range is still the one the change was made in); not for setAttributedStringValue.
    void setTextChangeHandler(std::function<void()> handler) { m_changeHandler = std::move(handler); }
    AttributedString attributedStringValue() const { return m_store.text(); }
    // Replaces the text and puts the insertion point at its end; reported to no handler.
    void setAttributedStringValue(const AttributedString &text);
    void setBackgroundColor(const Color &color) { m_background = color; }
    const Color &backgroundColor() const { return m_background; }

    bool keyDown(const KeyInput &key) override;
    void drawInContext(GraphicsContext &context, float zoom) override;

private:
    TextStorage m_store;
    Color m_background = Color::whiteColor();
    std::function<void(CellTextMovement)> m_endHandler;
    std::function<void()> m_changeHandler;
    bool m_settingValue = false;
};
