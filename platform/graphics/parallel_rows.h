// Work over the rows of an image spread among the processor's cores.
#pragma once

#include <functional>

// Runs `rows(y0, y1)` over [0, height) in bands taken in turn by one thread a core, so a
// thread that the system holds back leaves its bands to the others; small heights run on
// the calling thread.
void parallelRows(int height, const std::function<void(int y0, int y1)> &rows);
// The threads parallelRows uses.
int parallelRowThreads();
