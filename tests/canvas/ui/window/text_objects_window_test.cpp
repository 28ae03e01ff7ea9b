// A saved document full of text (boxes, linked boxes, a table, text along a curve) opened in
// a large canvas window: scrolled and redrawn fifty times at 100 % and 400 %, its tiles drawn
// on worker threads each time, then parts of it match small golden images
// (VEK_UPDATE_GOLDEN=1 writes them anew).
#include "canvas/ui/vek_view.h"

#include "document/vek_document.h"
#include "tests/support/golden_image.h"
#include "tests/support/text_objects_document.h"
#include "tests/support/widget_app.h"

#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Scrolls so that the canvas point lies at the viewport's top left (as near as the scroll
// bars go) and paints at once.
void showAt(VekView &view, Point p)
{
    const double scale = view.rulerCanvasScale();
    view.horizontalScrollBar()->setValue(int(p.x * scale));
    view.verticalScrollBar()->setValue(int(p.y * scale));
    view.viewport()->repaint();
}

// The part of the window showing the canvas rectangle.
QImage shotOf(VekView &view, const Rect &r)
{
    const double scale = view.rulerCanvasScale();
    const QPointF origin = view.rulerCanvasOrigin();
    const QRect pixels = QRectF(origin.x() + r.minX() * scale, origin.y() + r.minY() * scale, r.width() * scale,
                                r.height() * scale)
                             .toAlignedRect();
    return view.viewport()->grab(pixels).toImage();
}

// Fifty redraws over the whole canvas: the view steps down and across it.
void scrollAndRedraw(VekView &view)
{
    QScrollBar &h = *view.horizontalScrollBar(), &v = *view.verticalScrollBar();
    for (int i = 0; i < 50; ++i) {
        h.setValue(h.maximum() * ((i * 7) % 50) / 49);
        v.setValue(v.maximum() * i / 49);
        view.viewport()->repaint();
    }
}

} // namespace

TEST(TextObjectsWindow, ScrolledAndRedrawnAt100And400PercentMatchesTheGoldenImages)
{
    ensureWidgetApp();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("text.vek"));
    {
        VekDocument made;
        made.setDrawAreaSizePerPage({580, 800});
        made.setNumberOfPages(2);
        text_objects::fillPage(made);
        ASSERT_TRUE(made.writeToFile(path, false, nullptr));
    }
    VekDocument doc;
    ASSERT_TRUE(doc.readFromFile(path, nullptr));
    VekView view(doc);
    view.setFrameShape(QFrame::NoFrame);
    view.resize(1600, 1000);
    view.show();
    waitForExposure(view);
    ASSERT_TRUE(view.windowHandle()->isExposed());

    view.setCurrentZoom(100);
    QCoreApplication::processEvents();
    scrollAndRedraw(view);
    showAt(view, {0, 0});
    expectMatchesGolden(shotOf(view, Rect(20, 20, 540, 260)), QStringLiteral("text_objects_top_100.png"));
    expectMatchesGolden(shotOf(view, Rect(20, 480, 540, 310)), QStringLiteral("text_objects_bottom_100.png"));

    view.setCurrentZoom(400);
    QCoreApplication::processEvents();
    scrollAndRedraw(view);
    showAt(view, {30, 320});
    expectMatchesGolden(shotOf(view, Rect(40, 330, 160, 60)), QStringLiteral("text_objects_cut_400.png"));
    // The box behind, which the front box's text flows into.
    showAt(view, {320, 400});
    expectMatchesGolden(shotOf(view, Rect(325, 400, 140, 60)), QStringLiteral("text_objects_linked_400.png"));
}
