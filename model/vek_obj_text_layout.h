// The layout manager that measures and draws the text of every text box, one for each
// thread, lent to a box for the time of one operation.
#pragma once

#include "model/vek_text_container.h"
#include "platform/text/layout_manager.h"

class VekObjText;

// Prepares this thread's layout manager for the box (its hyphenation factor, the document's
// objects and the canvas's page line space holder as the exclusion list, the container
// size) with the text attached; when it goes out of scope it hands the box the exclusive
// objects the layout cut lines around and detaches the text.
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

private:
    VekObjText &m_box;
};

// Whether this thread's layout manager exists now; it is made on first use and dropped
// whenever a text box is destroyed on the thread.
bool sharedTextLayoutExists();
void releaseSharedTextLayout();
