// Text store edits and their reports.
#include "platform/text/text_storage.h"

#include <algorithm>

void TextStorage::beginEditing() { ++m_nesting; }

void TextStorage::endEditing()
{
    if (m_nesting > 0 && --m_nesting == 0)
        process();
}

void TextStorage::replaceCharacters(TextRange range, const QString &text)
{
    range = intersectionRange(range, {0, length()});
    m_text.replaceCharacters(range, text);
    edited(TextEditedCharacters, {range.location, int(text.size())}, int(text.size()) - range.length);
}

void TextStorage::replaceCharacters(TextRange range, const AttributedString &text)
{
    range = intersectionRange(range, {0, length()});
    m_text.replaceCharacters(range, text);
    edited(TextEditedCharacters | TextEditedAttributes, {range.location, text.length()},
           text.length() - range.length);
}

void TextStorage::setText(const AttributedString &text)
{
    replaceCharacters({0, length()}, text);
}

void TextStorage::setAttributes(const TextAttributes &attributes, TextRange range)
{
    range = intersectionRange(range, {0, length()});
    m_text.setAttributes(attributes, range);
    edited(TextEditedAttributes, range, 0);
}

void TextStorage::addAttributes(const TextAttributes &attributes, TextRange range)
{
    range = intersectionRange(range, {0, length()});
    m_text.addAttributes(attributes, range);
    edited(TextEditedAttributes, range, 0);
}

void TextStorage::removeAttribute(TextAttribute key, TextRange range)
{
    range = intersectionRange(range, {0, length()});
    m_text.removeAttribute(key, range);
    edited(TextEditedAttributes, range, 0);
}

void TextStorage::modifyAttributes(TextRange range, const std::function<void(TextAttributes &)> &f)
{
    range = intersectionRange(range, {0, length()});
    m_text.modifyAttributes(range, f);
    edited(TextEditedAttributes, range, 0);
}

int TextStorage::addObserver(Observer observer)
{
    m_observers.emplace_back(m_nextObserverId, std::move(observer));
    return m_nextObserverId++;
}

void TextStorage::removeObserver(int id)
{
    std::erase_if(m_observers, [id](const auto &entry) { return entry.first == id; });
}

void TextStorage::edited(int mask, TextRange range, int changeInLength)
{
    TextEdit &p = m_pending;
    if (p.mask == 0) {
        p.editedRange = range;
    } else {
        // Shift the earlier range by the new edit's change when the edit lies before it.
        TextRange old = p.editedRange;
        int oldEnd = old.end();
        if (range.location <= oldEnd)
            oldEnd = std::max(oldEnd + changeInLength, range.location);
        int start = std::min(old.location, range.location);
        int end = std::max(oldEnd, range.end());
        p.editedRange = {start, end - start};
    }
    p.mask |= mask;
    p.changeInLength += changeInLength;
    if (m_nesting == 0)
        process();
}

void TextStorage::process()
{
    if (m_pending.mask == 0)
        return;
    TextEdit edit = m_pending;
    m_pending = {};
    edit.editedRange = intersectionRange(edit.editedRange, {0, length()});
    // Observers may remove themselves while being told.
    auto observers = m_observers;
    for (const auto &entry : observers)
        entry.second(*this, edit);
}

