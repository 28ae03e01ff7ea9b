// What the text ruler (the strip above the horizontal ruler while a text box is edited) does
// to paragraphs: alignment, tab stops, the three indents and simple line spacing.
//
// An edit acts on every paragraph the editor's selection touches, each keeping the rest of
// its own style (moving a tab stop moves it where a paragraph has it), and on the typing
// attributes where the selection lies in an empty paragraph. The box registers the inverse,
// so that one edit is one named undo step.
#pragma once

#include "platform/text/paragraph_style.h"

#include <QString>

#include <optional>

class VekObjText;
class VekTextView;

struct ParagraphEdit {
    enum class Kind {
        Alignment,        // paragraphs take `alignment`
        AddTab,           // `tab` is added (replacing a stop at its location)
        MoveTab,          // `tab` moves to `value`
        RemoveTab,        // `tab` goes
        FirstLineIndent,  // the first line's head indent becomes `value`
        HeadIndent,       // the other lines' head indent becomes `value`
        TailIndent,       // the tail indent becomes `value` (see ParagraphStyle)
        LineHeight,       // line height multiple `value` (0 natural), no other spacing
    };
    Kind kind = Kind::Alignment;
    TextAlignment alignment = TextAlignment::Left;
    TextTab tab;
    float value = 0;
};

// The edit applied to one paragraph's style; tab stops stay in increasing location.
void applyParagraphEdit(ParagraphStyle &style, const ParagraphEdit &edit);

// The paragraph style the ruler shows: that of the first paragraph the selection touches,
// else (an empty text, an empty last paragraph) the typing attributes'.
ParagraphStyle rulerParagraphStyle(const VekTextView &editor);

// The line height multiple the ruler's spacing choice shows: 0 (natural) to the multiple,
// none when the style spaces lines in another way.
std::optional<float> simpleLineHeightMultiple(const ParagraphStyle &style);

// Applies the edit to the edited box's paragraphs (see above) and names the undo step;
// true when the text changed. The box grows when its text needs more room.
bool applyParagraphEditInEditor(VekObjText &box, VekTextView &editor, const ParagraphEdit &edit);

// The name of the edit's undo step.
QString undoActionName(ParagraphEdit::Kind kind);
