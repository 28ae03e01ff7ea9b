// The canvas in a real window on an X server: a few objects at 100 % and 400 % zoom match
// small golden images (VEK_UPDATE_GOLDEN=1 writes them anew).
#include "canvas/ui/vek_view.h"

#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "tests/support/golden_image.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<VekObject> shape(const BezierPath &path, const Color &fill, float lineWidth)
{
    auto o = VekObjPath::create();
    o->setBezierPath(path);
    o->setBounds(path.bounds());
    o->setFillColor(fill);
    o->setObjLineWidth(lineWidth);
    return o;
}

} // namespace

TEST(VekViewWindow, AFewObjectsAt100And400PercentMatchTheGoldenImages)
{
    ensureWidgetApp();
    VekDocument doc;
    doc.setDrawAreaSizePerPage({240, 160});
    doc.insertObject(shape(BezierPath::bezierPathWithRect(Rect(20, 20, 80, 50)), Color::redColor(), 2), 0, false);
    doc.insertObject(shape(BezierPath::bezierPathWithOvalInRect(Rect(70, 50, 90, 70)), Color::colorWithCalibratedRed(0.2f, 0.6f, 0.3f, 0.8f), 4), 0, false);
    BezierPath curve;
    curve.moveToPoint({30, 140});
    curve.curveToPoint({220, 130}, {90, 40}, {180, 180});
    doc.insertObject(shape(curve, Color::clearColor(), 3), 0, false);

    VekView view(doc);
    view.setFrameShape(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.resize(300, 200);
    view.show();
    waitForExposure(view);
    ASSERT_TRUE(view.windowHandle()->isExposed());
    view.selectObjectExclusively(doc.objects().back());

    expectMatchesGolden(view.viewport()->grab().toImage(), QStringLiteral("canvas_100.png"));
    view.setCurrentZoom(400);
    // The zoom brought the selected rectangle into view; the picture is of the page's corner.
    view.scrollRectToVisible(Rect(0, 0, 1, 1));
    QCoreApplication::processEvents();
    expectMatchesGolden(view.viewport()->grab().toImage(), QStringLiteral("canvas_400.png"));
}
