// The compositing operations by their stored numbers, and how Qt composes each.
#pragma once

#include <QPainter>

// The numbers are the ones documents store.
enum class CompositingOperation {
    Clear = 0, Copy = 1, SourceOver = 2, SourceIn = 3, SourceOut = 4, SourceAtop = 5,
    DestinationOver = 6, DestinationIn = 7, DestinationOut = 8, DestinationAtop = 9,
    XOR = 10, PlusDarker = 11, Highlight = 12, PlusLighter = 13,
};

// Numbers outside 0..13 read as source-over.
CompositingOperation compositingOperationFromNumber(int number);

// Qt has no "plus darker" (S + D - 1); multiply is the nearest darkening mode. Highlight
// composes as source-over, as it always has on the platform.
QPainter::CompositionMode toQtCompositionMode(CompositingOperation op);
