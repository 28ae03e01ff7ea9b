// The canvas widget shows the document's pages and objects at its zoom.
#include "canvas/ui/vek_view.h"

#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>

namespace {

std::shared_ptr<VekObject> filledRect(const Rect &r, const Color &color)
{
    auto o = VekObjPath::create();
    o->setBezierPath(BezierPath::bezierPathWithRect(r));
    o->setBounds(r);
    o->setFillColor(color);
    o->setDrawsFill(true);
    o->setDrawsStroke(false);
    return o;
}

} // namespace

TEST(VekView, ShowsPagesOnTheDeskAtItsZoom)
{
    ensureWidgetApp();
    VekDocument doc;
    doc.setDrawAreaSizePerPage({200, 100});
    doc.setNumberOfPages(2);
    doc.insertObject(filledRect(Rect(20, 20, 40, 20), Color::redColor()), 0, false);
    {
        VekView view(doc);
        EXPECT_EQ(doc.vekView(), &view);
        EXPECT_TRUE(doc.hasWindow());
        view.resize(400, 300);
        view.setFrameShape(QFrame::NoFrame);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

        // At 100 % the 200 x 200 canvas is centred in the 400 x 300 viewport.
        QImage shot = view.viewport()->grab().toImage();
        const QPoint origin(100, 50);
        EXPECT_EQ(shot.pixelColor(5, 5), QColor(0x80, 0x80, 0x80));
        EXPECT_EQ(shot.pixelColor(origin + QPoint(10, 10)), QColor(Qt::white));
        EXPECT_EQ(shot.pixelColor(origin + QPoint(40, 30)), QColor(Qt::red));
        EXPECT_EQ(view.visibleRect(), Rect(0, 0, 200, 200));

        // At 400 % the canvas is larger than the viewport and starts at its corner.
        view.setCurrentZoom(400);
        shot = view.viewport()->grab().toImage();
        EXPECT_EQ(shot.pixelColor(100, 100), QColor(Qt::red));     // (25, 25) of the canvas
        EXPECT_EQ(shot.pixelColor(300, 40), QColor(Qt::white));    // (75, 10)
        EXPECT_EQ(view.convertPointFromWindow(Point{100, 100}), (Point{25, 25}));
    }
    EXPECT_EQ(doc.vekView(), nullptr);
    EXPECT_FALSE(doc.hasWindow());
}

TEST(VekView, ADocumentOfAHigherResolutionShowsItsPixelsSmallerAtTheSameZoom)
{
    ensureWidgetApp();
    VekDocument doc;
    doc.setDrawAreaSizePerPage({800, 600});
    doc.setResolution(144);
    doc.insertObject(filledRect(Rect(100, 100, 200, 100), Color::redColor()), 0, false);
    VekView view(doc);
    view.resize(400, 300);
    view.setFrameShape(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    // 144 pixels per inch at 100 %: half a viewport pixel per document pixel.
    EXPECT_EQ(view.visibleRect(), Rect(0, 0, 800, 600));
    EXPECT_EQ(view.viewport()->grab().toImage().pixelColor(100, 70), QColor(Qt::red));   // (200, 140)
    view.setCurrentZoom(200);
    EXPECT_EQ(view.visibleRect(), Rect(0, 0, 400, 300));
    EXPECT_EQ(view.convertPointFromWindow(Point{100, 100}), (Point{100, 100}));
}

// A new page size, a new resolution and a page added by growing text reach the canvas: its
// scroll range follows at once, and undo brings the old range back.
TEST(VekView, ScrollRangeFollowsPageSizeResolutionAndAddedPages)
{
    ensureWidgetApp();
    VekDocument doc;
    doc.setDrawAreaSizePerPage({300, 400});
    VekView view(doc);
    view.resize(400, 300);
    view.show();
    // The scroll range for a canvas of that height on screen.
    const auto rangeFor = [&view](int height) { return std::max(0, height - view.viewport()->height()); };
    const auto range = [&view] { return view.verticalScrollBar()->maximum(); };
    EXPECT_EQ(range(), rangeFor(400));
    doc.setDrawAreaSizePerPage({300, 600});
    EXPECT_EQ(range(), rangeFor(600));
    doc.setResolution(144);   // the same pixels are half as large on screen
    EXPECT_EQ(range(), rangeFor(300));
    doc.setResolution(72);
    doc.undoManager()->removeAllActions();
    doc.addLastPage();
    doc.undoManager()->closeEventGroup();
    EXPECT_EQ(range(), rangeFor(1200));
    doc.undoManager()->undo();
    EXPECT_EQ(range(), rangeFor(600));
    doc.undoManager()->redo();
    EXPECT_EQ(range(), rangeFor(1200));
}
