// The floating rulers as windows on an X server: showing and hiding, the stored frame on
// every mouse-up, the resize handle with its cursors, and hiding with no document.
#include "canvas/ui/floating_ruler.h"

#include "canvas/ui/floating_ruler_geometry.h"
#include "platform/foundation/user_defaults.h"
#include "tests/canvas/ui/ruler_canvas_fixture.h"
#include "tests/support/golden_image.h"

#include <QTemporaryDir>

namespace {

struct FloatingFixture {
    FloatingFixture() : defaults(dir.filePath(QStringLiteral("prefs.plist"))), controller(defaults)
    {
        ensureWidgetApp();
    }
    QString storedFrame(const char *key) const
    {
        return defaults.objectForKey(DefaultsKey::Prefs).value(QString::fromLatin1(key)).stringValue();
    }

    QTemporaryDir dir;
    UserDefaults defaults;
    FloatingRulerController controller;
};

} // namespace

TEST(FloatingRulerWindow, TheMenuShowsAndHidesEachRulerOnItsOwn)
{
    FloatingFixture f;
    EXPECT_FALSE(f.controller.horizontalRulerIsVisible());
    f.controller.toggleRuler(0);
    ASSERT_TRUE(f.controller.horizontalRuler());
    waitForExposure(*f.controller.horizontalRuler());
    EXPECT_TRUE(f.controller.horizontalRulerIsVisible());
    EXPECT_FALSE(f.controller.verticalRulerIsVisible());
    EXPECT_EQ(f.controller.horizontalRuler()->geometry(), QRect(50, 864, 600, 40));
    EXPECT_EQ(f.controller.verticalRuler()->geometry(), QRect(50, 100, 40, 600));
    EXPECT_TRUE(f.controller.horizontalRuler()->isHorizontal());
    EXPECT_FALSE(f.controller.verticalRuler()->isHorizontal());

    f.controller.toggleRuler(1);
    EXPECT_TRUE(f.controller.verticalRulerIsVisible());
    f.controller.toggleRuler(0);
    EXPECT_FALSE(f.controller.horizontalRulerIsVisible());
    EXPECT_TRUE(f.controller.verticalRulerIsVisible());
}

TEST(FloatingRulerWindow, EveryMouseUpStoresTheFrameAndTheHandleResizes)
{
    FloatingFixture f;
    f.controller.toggleRuler(0);
    FloatingRulerView &ruler = *f.controller.horizontalRuler();
    waitForExposure(ruler);

    // A plain click.
    sendMouse(ruler, QEvent::MouseButtonPress, {300, 20});
    sendMouse(ruler, QEvent::MouseButtonRelease, {300, 20});
    EXPECT_EQ(rectFromString(f.storedFrame("fRulerFrameH")), Rect(50, 864, 600, 40));

    // The handle dragged far to the left: the minimum and the one-way cursor.
    const QPointF handle = QRectF(ruler.resizeArea()).center();
    sendMouse(ruler, QEvent::MouseButtonPress, handle);
    EXPECT_TRUE(ruler.isResizing());
    sendMouse(ruler, QEvent::MouseMove, handle - QPointF(550, 0));
    EXPECT_EQ(ruler.geometry(), QRect(50, 864, 100, 40));
    EXPECT_TRUE(ruler.isAtMinimum());
    EXPECT_EQ(ruler.cursor().shape(), Qt::BitmapCursor);
    sendMouse(ruler, QEvent::MouseMove, handle - QPointF(300, 0));
    EXPECT_EQ(ruler.geometry(), QRect(50, 864, 300, 40));
    EXPECT_FALSE(ruler.isAtMinimum());
    EXPECT_EQ(ruler.cursor().shape(), Qt::SizeHorCursor);
    sendMouse(ruler, QEvent::MouseButtonRelease, handle - QPointF(300, 0));
    EXPECT_FALSE(ruler.isResizing());
    EXPECT_EQ(rectFromString(f.storedFrame("fRulerFrameH")), Rect(50, 864, 300, 40));
    // The handle moved with the end.
    EXPECT_EQ(ruler.resizeArea().right(), 300 - 5 - 1);

    // Dragging the background moves the window.
    sendMouse(ruler, QEvent::MouseButtonPress, {100, 20});
    sendMouse(ruler, QEvent::MouseMove, {130, 45});
    sendMouse(ruler, QEvent::MouseButtonRelease, {130, 45});
    EXPECT_EQ(ruler.geometry(), QRect(80, 889, 300, 40));

    // Opened again, the ruler takes its stored frame.
    FloatingRulerController second(f.defaults);
    second.createRulers();
    EXPECT_EQ(second.horizontalRuler()->geometry(), QRect(80, 889, 300, 40));
}

TEST(FloatingRulerWindow, WithoutADocumentAResigningWindowHidesBothForGood)
{
    FloatingFixture f;
    f.controller.toggleRuler(0);
    f.controller.toggleRuler(1);
    VekDocument doc;
    f.controller.setCurrentDocumentProvider([&doc] { return &doc; });
    f.controller.mainWindowResigned();
    EXPECT_TRUE(f.controller.horizontalRulerIsVisible());

    f.controller.setCurrentDocumentProvider([] { return nullptr; });
    f.controller.mainWindowResigned();
    EXPECT_FALSE(f.controller.horizontalRulerIsVisible());
    EXPECT_FALSE(f.controller.verticalRulerIsVisible());
    f.controller.setCurrentDocumentProvider([&doc] { return &doc; });
    f.controller.mainWindowChanged(true);
    EXPECT_FALSE(f.controller.horizontalRulerIsVisible());

    // Deactivating the application hides shown rulers until it is active again.
    f.controller.toggleRuler(1);
    f.controller.setApplicationActive(false);
    EXPECT_FALSE(f.controller.verticalRulerIsVisible());
    f.controller.setApplicationActive(true);
    EXPECT_TRUE(f.controller.verticalRulerIsVisible());
    EXPECT_FALSE(f.controller.horizontalRulerIsVisible());
}

TEST(FloatingRulerWindow, TheScaleFollowsTheCurrentDocumentsZoom)
{
    FloatingFixture f;
    VekDocument doc;
    RulerTestCanvas unused;   // a widget application with a window
    f.controller.toggleRuler(0);
    EXPECT_EQ(f.controller.horizontalRuler()->zoomFactor(), 1.0);
    FakeCanvas canvas;
    canvas.zoom = 250;
    doc.setVekView(&canvas);
    f.controller.setCurrentDocumentProvider([&doc] { return &doc; });
    f.controller.updateFloatingRulers();
    EXPECT_DOUBLE_EQ(f.controller.horizontalRuler()->zoomFactor(), 2.5);
    doc.setVekView(nullptr);
    waitForExposure(*f.controller.horizontalRuler());
    expectMatchesGolden(f.controller.horizontalRuler()->grab().toImage(), QStringLiteral("floating_ruler_250.png"));
}
