// The preferences a user changes in the preferences window take effect on the open
// document: the ruler unit and grid scale set the grid (its lines, snapping and the
// Shift-nudge), the grid colours colour it, and the real-world base scales the canvas.
#include "tests/app/window/window_driver.h"

#include "app/preferences_window.h"
#include "document/vek_document.h"
#include "model/vek_object.h"
#include "toolkit/image_functions.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>

namespace {

// The preferences window, opened from the File menu.
QWidget &openPreferences(VekDocumentWindow &window)
{
    menuItem(window, QStringLiteral("File"), QStringLiteral("Preferences..."))->trigger();
    QWidget *preferences = nullptr;
    [&] { QTRY_VERIFY((preferences = visibleTopLevelTitled(QStringLiteral("Preferences")))); }();
    return *preferences;
}

void chooseUnit(QWidget &preferences, int unit)
{
    auto *units = preferences.findChild<QComboBox *>(QStringLiteral("rulerUnit"));
    ASSERT_TRUE(units);
    units->setFocus();
    while (units->currentIndex() != unit)
        QTest::keyClick(units, units->currentIndex() < unit ? Qt::Key_Down : Qt::Key_Up);
}

// Counts the clearly red pixels of the canvas as it is on the screen.
int redPixels(VekView &view)
{
    view.viewport()->repaint();
    const QImage shot = view.viewport()->grab().toImage();
    int red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    return red;
}

} // namespace

TEST_F(WindowTest, TheRulerUnitAndGridScaleSetTheGridSnappingAndShiftNudges)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    QWidget &preferences = openPreferences(window);
    struct Case {
        int unit;
        double scale;
        float spacing;
    };
    for (const Case c : {Case{0, 1.0, 14.1732f}, Case{1, 1.0, 18}, Case{3, 1.0, 24}, Case{3, 2.0, 48}}) {
        SCOPED_TRACE(c.unit);
        chooseUnit(preferences, c.unit);
        auto *scale = preferences.findChild<QDoubleSpinBox *>(QStringLiteral("gridScale"));
        scale->setValue(c.scale);
        EXPECT_NEAR(window.vekView().gridSpacing(), c.spacing, 0.01);
    }
    // Inches, scale 1: a Shift-nudge moves by the grid, a move with snapping lands on it.
    chooseUnit(preferences, 1);
    preferences.findChild<QDoubleSpinBox *>(QStringLiteral("gridScale"))->setValue(1.0);
    activate(window);
    chooseTool(QStringLiteral("Object"));
    canvas.drag({40, 40}, {100, 80});
    chooseTool(QStringLiteral("Arrow"));
    ASSERT_EQ(window.document().objects().size(), 1u);
    const std::shared_ptr<VekObject> box = window.document().objects().front();
    canvas.view.selectObjectExclusively(box);
    const float x = box->bounds().origin.x;
    canvas.key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_NEAR(box->bounds().origin.x, x + 18, 0.01);
    menuItem(window, QStringLiteral("Page"), QStringLiteral("Snap to Grid"))->trigger();
    ASSERT_TRUE(canvas.view.snapsToGrid());
    canvas.drag({70, 60}, {103, 95});
    EXPECT_NEAR(std::fmod(box->bounds().origin.x, 18.0f), 0, 0.01);
    EXPECT_NEAR(std::fmod(box->bounds().origin.y, 18.0f), 0, 0.01);
    preferences.close();
}

TEST_F(WindowTest, TheGridColoursColourTheGrid)
{
    VekDocumentWindow &window = start();
    VekView &view = window.vekView();
    view.setGridDraw(true);
    EXPECT_EQ(redPixels(view), 0);
    QWidget &preferences = openPreferences(window);
    auto *well = preferences.findChild<QPushButton *>(QStringLiteral("cwGrid"));
    ASSERT_TRUE(well);
    bool answered = false;
    QTimer::singleShot(50, well, [&] {
        auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        dialog->setCurrentColor(Qt::red);
        dialog->accept();
        answered = true;
    });
    QTest::mouseClick(well, Qt::LeftButton);
    QTRY_VERIFY(answered);
    QTRY_VERIFY(redPixels(view) > 1000);
    preferences.close();
}

TEST_F(WindowTest, SizesOnARealWorldBaseScaleTheCanvas)
{
    VekDocumentWindow &window = start();
    VekView &view = window.vekView();
    QWidget &preferences = openPreferences(window);
    auto *realWorld = preferences.findChild<QCheckBox *>(QStringLiteral("optRWBase"));
    ASSERT_TRUE(realWorld);
    ASSERT_FALSE(realWorld->isChecked());
    // Screen pixels a page point takes.
    const auto pixelsPerPoint = [&view] {
        return 100.0 / (view.convertPointFromWindow({200, 100}).x - view.convertPointFromWindow({100, 100}).x);
    };
    EXPECT_NEAR(pixelsPerPoint(), 1.0, 0.001);
    realWorld->click();
    EXPECT_TRUE(shellServices().displayOnRealWorldBase());
    EXPECT_NEAR(pixelsPerPoint(), GetCurrentScreenResolution() / 72.0, 0.001);
    realWorld->click();
    EXPECT_FALSE(shellServices().displayOnRealWorldBase());
    preferences.close();
}
