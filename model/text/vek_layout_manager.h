// VekLayoutManager: the field editor's layout manager.
//
// Besides the text (and the marks of invisible characters when they are shown) it draws a
// two-dot leader U+2025 in front of every line whose text does not start at its fragment's
// left edge (centred, right-aligned or indented lines), so that the editor shows where
// such a line begins even while invisible characters are hidden.
#pragma once

#include "platform/text/layout_manager.h"

#include <vector>

class VekLayoutManager : public LayoutManager {
public:
    // The leaders of the fragments touching range, with the containers at origin: each
    // point lies halfway between a fragment's left edge and its text's, at the fragment's
    // top; the leader takes the attributes of the fragment's first character (the index).
    std::vector<std::pair<Point, int>> leaderMarks(TextRange range, Point origin);
    void drawGlyphsForGlyphRange(TextRange range, Point origin) override;
};
