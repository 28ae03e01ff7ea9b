// Tests of the gradient strip offscreen: clicks, drags, keys, the colour panel and colour drops.
#include "panels/gradient_strip.h"

#include "model/services/shell_services.h"
#include "tests/model/fakes.h"
#include "tests/support/widget_app.h"

#include <QMimeData>
#include <QMouseEvent>
#include <QKeyEvent>

#include <gtest/gtest.h>

namespace {

const Color red = Color::colorWithCalibratedRed(1, 0, 0);
const Color blue = Color::colorWithCalibratedRed(0, 0, 1);
const Color green = Color::colorWithCalibratedRed(0, 1, 0);

// The widget y of the stop row's middle (the row lies above the gradient on screen).
constexpr int rowY = 4;

class GradientStripTest : public ::testing::Test {
protected:
    FakeDocument doc;
    std::shared_ptr<VekObject> object = VekObject::create();
    std::shared_ptr<VekGradientView> model;
    std::unique_ptr<VekGradientStrip> strip;

    void SetUp() override
    {
        ensureWidgetApp();
        doc.adopt(object);
        model = std::make_shared<VekGradientView>(gGradViewSize);
        model->setStops({red, blue}, {Rect(2, 29.5f, 4, 4), Rect(178, 29.5f, 4, 4)});
        model->setVekObject(object);
        strip = std::make_unique<VekGradientStrip>();
        strip->setGradientModel(model);
        strip->show();
    }
    void TearDown() override
    {
        if (ColourPanel::sharedColorPanelExists())
            ColourPanel::sharedColorPanel().setTarget(nullptr);
    }

    void send(QEvent::Type type, QPointF at, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, at, strip->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(strip.get(), &e);
    }
    void click(QPointF at)
    {
        send(QEvent::MouseButtonPress, at, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, at, Qt::NoButton);
    }
    void doubleClick(QPointF at)
    {
        click(at);
        send(QEvent::MouseButtonDblClick, at, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, at, Qt::NoButton);
    }
    void drag(float fromX, std::initializer_list<float> toXs)
    {
        send(QEvent::MouseButtonPress, QPointF(fromX, rowY), Qt::LeftButton);
        for (float x : toXs)
            send(QEvent::MouseMove, QPointF(x, rowY), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, QPointF(*(toXs.end() - 1), rowY), Qt::NoButton);
    }
    std::vector<float> stopXs() const
    {
        std::vector<float> xs;
        for (const Rect &r : model->stopRects())
            xs.push_back(r.origin.x);
        return xs;
    }
    void key(int key)
    {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(strip.get(), &e);
    }
    void step() { doc.undo.closeEventGroup(); }
};

TEST_F(GradientStripTest, StripPointsAreYUp)
{
    EXPECT_EQ(strip->stripPoint(QPointF(10, 36)), Point(10, 0));
    EXPECT_EQ(model->colorRectUnder(strip->stripPoint(QPointF(4, rowY))), 0);
}

TEST_F(GradientStripTest, DoubleClickInsertsMoveAndDeleteWithUndo)
{
    // Insert between the ends; the new stop takes the left colour and is selected.
    doubleClick(QPointF(90, rowY));
    step();
    ASSERT_EQ(stopXs(), (std::vector<float>{2, 90, 178}));
    EXPECT_EQ(model->colors()[1], red);
    EXPECT_EQ(model->selectedCRIndex(), 1);

    // Drag it: past a neighbour it stays at its last valid place; the drag is one step.
    drag(91, {120, 150, 200});
    step();
    EXPECT_EQ(stopXs(), (std::vector<float>{2, 150, 178}));
    doc.undo.undo();
    EXPECT_EQ(stopXs(), (std::vector<float>{2, 90, 178}));
    doc.undo.redo();
    EXPECT_EQ(stopXs(), (std::vector<float>{2, 150, 178}));

    // Select it again and delete it with Backspace.
    click(QPointF(151, rowY));
    EXPECT_EQ(model->selectedCRIndex(), 1);
    key(Qt::Key_Backspace);
    step();
    EXPECT_EQ(stopXs(), (std::vector<float>{2, 178}));
    EXPECT_EQ(model->selectedCRIndex(), -1);
    doc.undo.undo();
    EXPECT_EQ(stopXs(), (std::vector<float>{2, 150, 178}));

    // The end stops do not move, and a two-stop gradient keeps both.
    drag(3, {60});
    EXPECT_EQ(stopXs().front(), 2);
    model->setStops({red, blue}, {Rect(2, 29.5f, 4, 4), Rect(178, 29.5f, 4, 4)});
    click(QPointF(179, rowY));
    key(Qt::Key_Delete);
    EXPECT_EQ(stopXs().size(), 2u);
}

TEST_F(GradientStripTest, DoubleClickOutsideTheEndStopsInsertsNothing)
{
    doubleClick(QPointF(0.5, rowY));
    doubleClick(QPointF(184, rowY));
    EXPECT_EQ(stopXs().size(), 2u);
}

TEST_F(GradientStripTest, ColourPanelRecoloursTheSelectedStopUntilItCloses)
{
    click(QPointF(3, rowY));
    ColourPanel &panel = ColourPanel::sharedColorPanel();
    EXPECT_EQ(panel.target(), strip.get());
    EXPECT_EQ(panel.color(), red);
    panel.pickColor(green);
    step();
    EXPECT_EQ(model->colors()[0], green);
    doc.undo.undo();
    EXPECT_EQ(model->colors()[0], red);

    panel.close();
    EXPECT_EQ(panel.target(), nullptr);
    panel.pickColor(blue);
    EXPECT_EQ(model->colors()[0], red);
}

TEST_F(GradientStripTest, ClickBesideTheStopsClearsTheSelection)
{
    click(QPointF(179, rowY));
    EXPECT_EQ(model->selectedCRIndex(), 1);
    click(QPointF(90, 20));
    EXPECT_EQ(model->selectedCRIndex(), -1);
}

TEST_F(GradientStripTest, ColoursDropOnStopsOnly)
{
    QMimeData data;
    data.setColorData(QColor(0, 255, 0));
    QDragEnterEvent beside(QPoint(90, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(strip.get(), &beside);
    EXPECT_FALSE(beside.isAccepted());

    // Qt delivers a drop to the widget that accepted the drag's entry.
    QDragEnterEvent onStop(QPoint(179, rowY), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(strip.get(), &onStop);
    EXPECT_TRUE(onStop.isAccepted());
    QDropEvent drop(QPointF(179, rowY), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(strip.get(), &drop);
    EXPECT_EQ(model->selectedCRIndex(), 1);
    EXPECT_EQ(model->colors()[1], green);
}

TEST_F(GradientStripTest, WithoutAnObjectNothingIsEdited)
{
    model->setVekObject({});
    doubleClick(QPointF(90, rowY));
    EXPECT_EQ(stopXs().size(), 2u);
}

TEST_F(GradientStripTest, EventSourceDrivesTheDrag)
{
    model->setStops({red, green, blue}, {Rect(2, 29.5f, 4, 4), Rect(90, 29.5f, 4, 4), Rect(178, 29.5f, 4, 4)});
    ScriptedEventSource source;
    source.drag(Point(100, rowY));
    source.drag(Point(1, rowY));
    source.up(Point(1, rowY));
    strip->setEventSource(&source);
    send(QEvent::MouseButtonPress, QPointF(91, rowY), Qt::LeftButton);
    step();
    EXPECT_EQ(stopXs(), (std::vector<float>{2, 100, 178}));
    EXPECT_EQ(source.masksAsked.front(), DragOrUpMask);
    doc.undo.undo();
    EXPECT_EQ(stopXs(), (std::vector<float>{2, 90, 178}));
}

} // namespace
