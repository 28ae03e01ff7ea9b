// The editable text store: an attributed string whose edits are reported to observers.
//
// Edits made between beginEditing() and endEditing() are gathered into one report; an
// edit outside such a bracket is reported at once. The report tells attribute-only
// changes apart from character changes, so that observers may skip work (a re-flow is
// needed for both, a word count only for the latter).
#pragma once

#include "platform/text/attributed_string.h"

#include <functional>
#include <vector>

enum : int { TextEditedAttributes = 1, TextEditedCharacters = 2 };

struct TextEdit {
    int mask = 0;                // TextEditedAttributes | TextEditedCharacters
    TextRange editedRange;       // in the text after the edits
    int changeInLength = 0;
};

class TextStorage {
public:
    using Observer = std::function<void(const TextStorage &, const TextEdit &)>;

    TextStorage() = default;
    explicit TextStorage(const AttributedString &text) : m_text(text) {}

    const AttributedString &text() const { return m_text; }
    const QString &string() const { return m_text.string(); }
    int length() const { return m_text.length(); }

    void beginEditing();
    void endEditing();

    void replaceCharacters(TextRange range, const QString &text);
    void replaceCharacters(TextRange range, const AttributedString &text);
    // Replaces everything; the store object itself stays (editors keep pointing at it).
    void setText(const AttributedString &text);
    void setAttributes(const TextAttributes &attributes, TextRange range);
    void addAttributes(const TextAttributes &attributes, TextRange range);
    void removeAttribute(TextAttribute key, TextRange range);
    void modifyAttributes(TextRange range, const std::function<void(TextAttributes &)> &f);

    // Returns an id for removeObserver.
    int addObserver(Observer observer);
    void removeObserver(int id);

private:
    void edited(int mask, TextRange range, int changeInLength);
    void process();

    AttributedString m_text;
    int m_nesting = 0;
    TextEdit m_pending;
    std::vector<std::pair<int, Observer>> m_observers;
    int m_nextObserverId = 1;
};
