// The screen colour picker on the X server: the picture of the screen comes up, a click
// takes the colour of a known pixel into the asking well and on to the objects; a canvas
// click while a pick runs takes the canvas's colour; Escape ends a pick without a colour.
#include "tests/panels/window/obj_info_fixture.h"

#include "panels/picker/colour_pick.h"
#include "panels/picker/vek_full_view.h"
#include "tests/support/colour_swatch.h"

#include <QApplication>
#include <QPushButton>

namespace {

VekFullView *pickerWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *view = dynamic_cast<VekFullView *>(w); view && view->isVisible())
            return view;
    return nullptr;
}

void expectColour(const Color &color, QColor expected)
{
    EXPECT_NEAR(color.redComponent(), expected.redF(), 0.01);
    EXPECT_NEAR(color.greenComponent(), expected.greenF(), 0.01);
    EXPECT_NEAR(color.blueComponent(), expected.blueF(), 0.01);
}

TEST_F(InspectorWindow, AScreenPickTakesTheColourOfAKnownPixel)
{
    const QColor known(12, 200, 34);
    QWidget swatch;
    showColourSwatch(swatch, known, QRect(700, 800, 120, 120));

    const auto a = addRect(Rect(40, 40, 100, 60));
    select({a});
    press(inspector().btnColorPickFill);
    EXPECT_TRUE(inspector().btnColorPickFill->isChecked());
    EXPECT_EQ(pickColorOwner(), &inspector());
    VekFullView *picker = pickerWindow();
    ASSERT_TRUE(picker);
    waitForExposure(*picker);
    // Another panel cannot start a pick meanwhile.
    EXPECT_FALSE(beginScreenColourPick(reinterpret_cast<ColourPickOwner *>(&swatch), nullptr));

    QTest::mouseClick(picker, Qt::LeftButton, Qt::NoModifier, picker->mapFromGlobal(QPoint(760, 860)));
    settle();
    EXPECT_EQ(pickColorOwner(), nullptr);
    EXPECT_FALSE(inspector().btnColorPickFill->isChecked());
    expectColour(a->fillColor(), known);
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Set Object Color");
    QTest::qWait(50);
    EXPECT_FALSE(pickerWindow());
}

TEST_F(InspectorWindow, ACanvasClickWhileAPickRunsTakesTheCanvasColour)
{
    const auto green = addRect(Rect(300, 200, 100, 100), Color::colorWithCalibratedRed(0, 1, 0));
    const auto a = addRect(Rect(40, 40, 100, 60));
    select({a});
    press(inspector().btnColorPickStroke);
    ASSERT_EQ(pickColorOwner(), &inspector());
    if (VekFullView *picker = pickerWindow())
        picker->hide();
    click(Point(350, 250));
    EXPECT_EQ(pickColorOwner(), nullptr);
    expectColour(a->strokeColor(), QColor(0, 255, 0));
    // The click picked; it selected nothing.
    EXPECT_EQ(view->selectedObjects(), (std::vector<std::shared_ptr<VekObject>>{a}));
    (void)green;
}

TEST_F(InspectorWindow, EscapeEndsAPickWithoutAColour)
{
    const auto a = addRect(Rect(40, 40, 100, 60), Color::colorWithCalibratedRed(0.5f, 0.5f, 0.5f));
    select({a});
    const PropertyList before = snapshot();
    press(inspector().btnColorPickFill);
    VekFullView *picker = pickerWindow();
    ASSERT_TRUE(picker);
    QTest::keyClick(picker, Qt::Key_Escape);
    settle();
    EXPECT_EQ(pickColorOwner(), nullptr);
    EXPECT_EQ(snapshot(), before);
}

TEST(PickCursor, TintingKeepsTheClearPixelsClear)
{
    ensureWidgetApp();
    const QImage plain = VekFullView::pickImage();
    const QImage tinted = VekFullView::tintedPickImage(QColor(255, 0, 0));
    int clear = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixelColor(x, y).alpha() == 0) {
                ++clear;
                // The outline may cover a clear pixel, but never in the tint.
                const QColor c = tinted.pixelColor(x, y);
                EXPECT_FALSE(c.alpha() > 0 && c.red() > 200 && c.green() < 50) << x << "," << y;
            }
    EXPECT_GT(clear, 100);
    // Inside the pipette the colour shows.
    bool red = false;
    for (int y = 0; y < tinted.height(); ++y)
        for (int x = 0; x < tinted.width(); ++x)
            red = red || (tinted.pixelColor(x, y).red() > 200 && tinted.pixelColor(x, y).green() < 50);
    EXPECT_TRUE(red);
}

TEST(PickCursor, ReleasingWithoutAPickerWindowDoesNothing)
{
    ensureWidgetApp();
    releaseFullWindow();
    stopColorPickup();
    EXPECT_EQ(pickColorOwner(), nullptr);
}

} // namespace
