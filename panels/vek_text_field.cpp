// The text field's end-of-editing message.
#include "panels/vek_text_field.h"

VekTextField::VekTextField(QWidget *parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (!m_editing)
            textDidBeginEditing();
    });
    // Qt may report the end twice (Return, then the focus leaving); the first one ends the
    // edit and the second finds none.
    connect(this, &QLineEdit::editingFinished, this, [this] {
        if (m_editing)
            textDidEndEditing();
    });
}

std::pair<int, int> VekTextField::selectedRange() const
{
    if (!m_editing)
        return {0, 0};
    if (hasSelectedText())
        return {selectionStart(), selectionLength()};
    return {cursorPosition(), 0};
}

void VekTextField::textDidBeginEditing()
{
    m_editing = true;
    m_startTag = m_tag;
}

void VekTextField::textDidEndEditing()
{
    m_editing = false;
    const int tag = m_tag;
    const bool send = tag == m_startTag && m_controller;
    m_startTag = -1;
    if (!send)
        return;
    switch (tag) {
    case 10: m_controller->changeObjectBounds(*this); break;
    case 11: m_controller->rotate(*this); break;
    case 12: m_controller->changeObjectValue(*this); break;
    case 13: m_controller->changePrintInfo(*this); break;
    case 14: m_controller->setGridProperty(*this); break;
    default: break;
    }
}
