// The page being drawn, one per thread.
#include "canvas/drawing_page.h"

namespace {

thread_local int page = 0;

} // namespace

int drawingPageOnThisThread()
{
    return page;
}

void setDrawingPageOnThisThread(int drawing)
{
    page = drawing;
}
