// The grab area on a real canvas: the mode, its cursor and overlay, dragging and adjusting
// the area, and the three answers to "Grab the selected area.".
#include "tests/canvas/ui/canvas_session.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>

namespace {

class GrabSession : public CanvasSession {
protected:
    void SetUp() override
    {
        CanvasSession::SetUp();
        view->setGrabbedAreaSaver([this](const Rect &area, const VekView::ObjectList &objects) {
            savedAreas.push_back(area);
            savedObjects = objects;
        });
        view->beginGrabEvent();
    }
    // Clicks the alert's button of that title once the alert shows; notes the alert's title.
    void answer(const QString &button)
    {
        QTimer::singleShot(0, [this, button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            alerts << box->text() + QLatin1Char('|') + box->informativeText();
            for (QAbstractButton *b : box->buttons())
                if (b->text() == button)
                    b->click();
        });
    }
    void moveMouseTo(Point p)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(p.x, p.y), view->viewport()->mapToGlobal(QPointF(p.x, p.y)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &move);
    }

    std::vector<Rect> savedAreas;
    VekView::ObjectList savedObjects;
    QStringList alerts;
};

TEST_F(GrabSession, TheModeShowsTheCrosshairAndTheFirstMouseMovementPlacesTheArea)
{
    EXPECT_TRUE(view->grabArea().isActive());
    EXPECT_EQ(view->cursorKindAtPoint({200, 150}), CursorKind::Crosshair);
    EXPECT_EQ(view->grabArea().grabPoint(), NoPoint);
    moveMouseTo({50, 60});
    EXPECT_EQ(view->grabArea().grabPoint(), (Point{50, 60}));
    EXPECT_EQ(view->grabArea().bounds(), Rect(50, 60, 0, 0));
    moveMouseTo({70, 80});   // only the first position places it
    EXPECT_EQ(view->grabArea().grabPoint(), (Point{50, 60}));

    view->endGrabEvent();
    EXPECT_FALSE(view->grabArea().isActive());
    EXPECT_EQ(view->cursorKindAtPoint({200, 150}), CursorKind::Arrow);
}

TEST_F(GrabSession, SaveHandsOverTheAreaWithTheObjectsInItAndKeepsTheModeForTheDocument)
{
    const auto inside = add({30, 30, 20, 20});
    add({300, 200, 20, 20});
    answer(QStringLiteral("Save"));
    drag({10, 10}, {{60, 50}, {110, 90}});
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts.front(), "Grab the selected area.|Do you want to save now or adjust the area?");
    ASSERT_EQ(savedAreas.size(), 1u);
    EXPECT_EQ(savedAreas.front(), Rect(10, 10, 100, 80));
    EXPECT_EQ(savedObjects, VekView::ObjectList{inside});
    // The click grabbed: it neither selected nor moved anything.
    EXPECT_TRUE(view->selectedObjects().empty());
    EXPECT_TRUE(view->grabArea().isActive());
}

TEST_F(GrabSession, CancelEndsTheModeAndAdjustKeepsTheAreaForTheNextClick)
{
    answer(QStringLiteral("Cancel"));
    drag({10, 10}, {{110, 90}});
    EXPECT_FALSE(view->grabArea().isActive());
    EXPECT_TRUE(savedAreas.empty());

    view->beginGrabEvent();
    answer(QStringLiteral("Adjust"));
    drag({10, 10}, {{110, 90}});
    EXPECT_TRUE(view->grabArea().isActive());
    EXPECT_EQ(view->grabArea().bounds(), Rect(10, 10, 100, 80));

    // The top-left corner's square moves that corner only; a click inside the area makes
    // the bottom-right corner jump to the pointer.
    answer(QStringLiteral("Adjust"));
    drag({11, 9}, {{30, 40}});
    EXPECT_EQ(view->grabArea().bounds(), Rect(30, 40, 80, 50));
    answer(QStringLiteral("Adjust"));
    drag({60, 60}, {{150, 120}});
    EXPECT_EQ(view->grabArea().bounds(), Rect(30, 40, 120, 80));
    EXPECT_TRUE(savedAreas.empty());
}

TEST_F(GrabSession, AnAreaUnderTwoPointsEndsTheModeWithoutAsking)
{
    answer(QStringLiteral("Save"));
    drag({10, 10}, {{60, 11}});
    QCoreApplication::processEvents();   // the answer finds no alert
    EXPECT_TRUE(alerts.isEmpty());
    EXPECT_FALSE(view->grabArea().isActive());
    EXPECT_TRUE(savedAreas.empty());
}

TEST_F(GrabSession, TheCanvasDrawsTheAreaInRed)
{
    answer(QStringLiteral("Adjust"));
    drag({100, 100}, {{200, 180}});
    const QImage shown = view->viewport()->grab().toImage();
    const auto reddish = [&shown](int x, int y) {
        const QColor c = shown.pixelColor(x, y);
        // The hairline is antialiased over two pixels: half red on white.
        return c.red() > 200 && c.green() < 170 && c.blue() < 170;
    };
    EXPECT_TRUE(reddish(100, 140) || reddish(99, 140)) << "left edge";
    EXPECT_TRUE(reddish(150, 180) || reddish(150, 179)) << "bottom edge";
    EXPECT_FALSE(reddish(150, 140)) << "inside";
}

} // namespace
