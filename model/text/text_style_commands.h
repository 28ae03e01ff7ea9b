// The Format menu's text commands: font family and size, bold, italic, underline, bigger
// and smaller, paragraph alignment and the baseline.
//
// A command works on the editor's selection while a text box is edited (on the typing
// attributes when nothing is selected; alignment on the paragraphs the selection touches),
// and on the whole text of a box that is only selected. Both register their inverses with
// the box, so that one command is one undo step.
#pragma once

#include "platform/text/paragraph_style.h"
#include "platform/text/text_attributes.h"

#include <QString>

class VekObjText;
class VekTextView;

enum class TextStyleCommand {
    FontFamily,          // to the family `family`
    FontSize,            // to `size` points
    Bold,                // bold on, or off when the reference character is bold
    Italic,              // per run: the italic face, or a slant for a family without one
    Underline,           // single underline on, or off when the reference character has one
    Bigger,              // one point larger
    Smaller,             // one point smaller, not below one point
    Alignment,           // paragraphs take `alignment`
    Superscript,         // baseline raised by half the cap height
    Subscript,           // baseline lowered by half the cap height
    RaiseBaseline,       // baseline one point up
    LowerBaseline,       // baseline one point down
    DefaultBaseline,     // baseline offset removed
};

struct TextStyleRequest {
    TextStyleCommand command = TextStyleCommand::Bold;
    QString family;
    float size = 0;
    TextAlignment alignment = TextAlignment::Left;
};

// The run of the range's first character (or the typing attributes when nothing is
// selected) whose state the toggles turn over and the menu shows.
TextAttributes referenceAttributesInEditor(const VekTextView &editor);
TextAttributes referenceAttributesOfText(const VekObjText &box);

// Whether the attributes show the state the command sets (bold, underline, the alignment);
// false for commands without a state.
bool commandStateIsOn(const TextStyleRequest &request, const TextAttributes &reference);

// Applies the command to the edited selection of the box; true when the text changed
// (an undo step), false when only the typing attributes did or nothing did.
bool applyTextStyleInEditor(VekObjText &box, VekTextView &editor, const TextStyleRequest &request);
// Applies the command to the whole text of the box; true when the text changed.
bool applyTextStyleToWholeText(VekObjText &box, const TextStyleRequest &request);

// The name of the command's undo step.
QString undoActionName(TextStyleCommand command);

// Italic on or off for one run: the family's italic (or upright) face with the run's
// weight, else a slant of 0.3 given or taken away.
void toggleItalicOfRun(TextAttributes &run);
