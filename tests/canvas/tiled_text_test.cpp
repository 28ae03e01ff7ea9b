// Text boxes, linked boxes, a table and text along a path drawn in many small tiles on
// several threads, again and again: every drawing thread lays text out on its own, so each
// redraw gives the pixels of the tiles drawn one after the other.
#include "tests/canvas/tile_comparison.h"
#include "tests/support/gui_app.h"
#include "tests/support/text_objects_document.h"

#include <gtest/gtest.h>

TEST(TiledText, ManyTilesOnManyThreadsRedrawTheSamePixels)
{
    ensureGuiApp();
    VekDocument doc;
    doc.setDrawAreaSizePerPage({580, 800});
    doc.setNumberOfPages(1);
    text_objects::fillPage(doc);

    // 96-pixel tiles: some 130 of them. Qt's antialiasing starts afresh at a tile's edge,
    // and now and then a glyph the edge cuts comes out of the glyph cache a subpixel step
    // apart: a few pixels by the edges differ from one drawing of the whole.
    const QImage oneThread = drawnInTiles(doc, 1.5, 96, 1);
    EXPECT_LT(shareOfDifferingPixels(drawnWhole(doc, 1.5), oneThread), 0.0002);
    for (int run = 0; run < 50; ++run)
        ASSERT_EQ(largestDifference(oneThread, drawnInTiles(doc, 1.5, 96, 8)), 0) << "run " << run;
}
