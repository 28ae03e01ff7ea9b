// The canvas in a real window on an X server: a few objects at 100 % and 400 % zoom match
// small golden images (VEK_UPDATE_GOLDEN=1 writes them anew).
#include "canvas/ui/vek_view.h"

#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWindow>

namespace {

// Runs the event loop until the window is on the screen (or two seconds pass).
void waitForExposure(QWidget &widget)
{
    QElapsedTimer timer;
    timer.start();
    while (!(widget.windowHandle() && widget.windowHandle()->isExposed()) && timer.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();
}

std::shared_ptr<VekObject> shape(const BezierPath &path, const Color &fill, float lineWidth)
{
    auto o = VekObjPath::create();
    o->setBezierPath(path);
    o->setBounds(path.bounds());
    o->setFillColor(fill);
    o->setObjLineWidth(lineWidth);
    return o;
}

// The share of pixels whose colour differs by more than a small amount.
double differingShare(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 1;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            if (std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue()) > 48)
                ++differing;
        }
    return double(differing) / (a.width() * a.height());
}

void expectMatchesGolden(const QImage &shot, const QString &name)
{
    const QString path = QStringLiteral(VEK_TEST_DATA_DIR "/") + name;
    if (qEnvironmentVariableIsSet("VEK_UPDATE_GOLDEN"))
        shot.save(path);
    const QImage golden(path);
    ASSERT_FALSE(golden.isNull()) << path.toStdString();
    EXPECT_LT(differingShare(shot.convertToFormat(QImage::Format_RGB32), golden.convertToFormat(QImage::Format_RGB32)),
              0.01)
        << name.toStdString();
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
    QCoreApplication::processEvents();
    expectMatchesGolden(view.viewport()->grab().toImage(), QStringLiteral("canvas_400.png"));
}
