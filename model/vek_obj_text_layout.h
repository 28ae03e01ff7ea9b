// The one layout manager that measures and draws the text of every text box, lent to a
// box for the time of one operation.
#pragma once

#include "model/vek_text_container.h"
#include "platform/text/layout_manager.h"

class VekObjText;

// Prepares the shared layout manager for the box (its hyphenation factor, the document's
// objects and the canvas's page line space holder as the exclusion list, the container
// size) with the text attached, and detaches the text when it goes out of scope.
class TextBoxLayout {
public:
    TextBoxLayout(VekObjText &box, const AttributedString &text, Size containerSize);
    ~TextBoxLayout();
    TextBoxLayout(const TextBoxLayout &) = delete;
    TextBoxLayout &operator=(const TextBoxLayout &) = delete;

    LayoutManager &layoutManager();
    VekTextContainer &container();
    // The number of characters that fit into the box.
    int charactersThatFit();
};

// Whether the shared layout manager exists now; it is made on first use and dropped
// whenever a text box is destroyed.
bool sharedTextLayoutExists();
void releaseSharedTextLayout();
