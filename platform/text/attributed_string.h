// Rich text as a value: a string with runs of attribute sets.
//
// Copies share their data until one of them changes (copy on write), so re-flows, undo
// snapshots and table cells may copy texts freely. Ranges count UTF-16 code units.
// Adjacent runs with equal attributes are always merged, so two texts with the same
// characters and the same attributes per character compare equal.
#pragma once

#include "platform/text/text_attributes.h"
#include "platform/text/text_range.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

struct TextRun {
    TextRange range;
    TextAttributes attributes;
};

class AttributedString {
public:
    AttributedString();
    explicit AttributedString(const QString &text, const TextAttributes &attributes = {});

    const QString &string() const;
    int length() const;
    bool isEmpty() const { return length() == 0; }

    // The attributes at index (0 <= index < length) and the range of the run holding them.
    // Out of range: empty attributes and an empty range.
    const TextAttributes &attributesAt(int index, TextRange *runRange = nullptr) const;
    // The longest range around index over which attribute key keeps its value (absent
    // counts as a value), limited to within; an empty range when index is outside.
    TextRange longestEffectiveRange(TextAttribute key, int index, TextRange within) const;
    TextRange longestEffectiveRange(TextAttribute key, int index) const;

    const std::vector<TextRun> &runs() const;
    // Calls f for each run, clipped to range, in order.
    void enumerateRuns(TextRange range, const std::function<void(const TextRun &)> &f) const;

    AttributedString substring(TextRange range) const;
    // The range of the whole paragraphs that range touches, with their terminators.
    // Paragraphs end after "\n", "\r", "\r\n" or U+2029.
    TextRange paragraphRange(TextRange range) const;

    // Editing. New characters from a plain string take the attributes of the first
    // replaced character, else of the character before, else of the one after.
    void replaceCharacters(TextRange range, const QString &text);
    void replaceCharacters(TextRange range, const AttributedString &text);
    void append(const AttributedString &text);
    void insert(int index, const AttributedString &text);
    void deleteCharacters(TextRange range);
    void setAttributes(const TextAttributes &attributes, TextRange range);
    // Sets the attributes given (leaving the others) over range.
    void addAttributes(const TextAttributes &attributes, TextRange range);
    void removeAttribute(TextAttribute key, TextRange range);
    // Calls f on the attributes of each run within range (split at the range's ends).
    void modifyAttributes(TextRange range, const std::function<void(TextAttributes &)> &f);

    friend bool operator==(const AttributedString &a, const AttributedString &b);
    friend bool operator!=(const AttributedString &a, const AttributedString &b) { return !(a == b); }

private:
    struct Data;
    std::shared_ptr<Data> d;
    void detach();
};

// True for the characters that end a paragraph.
bool isParagraphSeparator(QChar c);
