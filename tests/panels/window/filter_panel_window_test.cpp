// The image filter panel as a user drives it on an X server: opened from the Window menu on
// the selected image object, two filters applied with the panel's buttons, one undone in the
// preview, the stack saved under a name, the panel switched to another image object and the
// saved stack replayed over it, the result put back into that object, and the document's
// undo and redo of that step. A filter over a large picture keeps the panel responsive,
// shows its progress and stops when Cancel is clicked; a blur grows the object.
#include "app/document/vek_doc_controller.h"
#include "app/document/vek_document_window.h"
#include "app/vek_main_controller.h"
#include "canvas/ui/vek_view.h"
#include "document/vek_document.h"
#include "model/vek_obj_image.h"
#include "panels/filters/filter_stack.h"
#include "panels/filters/vek_if_controller.h"
#include "panels/filters/vek_if_view.h"
#include "platform/foundation/user_defaults.h"
#include "tests/support/golden_image.h"
#include "tests/support/machine_load.h"
#include "tests/support/widget_app.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

namespace {

QImage picture(int width, int height, QColor tint)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, (y * 255 / height + tint.green()) / 2, tint.blue()));
    return image;
}

QImage pixelsOf(const VekObjImage &object)
{
    return object.image().toQImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QAction *menuItem(QMainWindow &window, const QString &menu, const QString &item)
{
    for (QAction *top : window.menuBar()->actions())
        if (top->text() == menu && top->menu())
            for (QAction *action : top->menu()->actions())
                if (action->text() == item)
                    return action;
    return nullptr;
}

template <class Widget>
Widget *child(QWidget &parent, const char *name)
{
    return parent.findChild<Widget *>(QString::fromLatin1(name));
}

// Chooses the pop-up's item with the keyboard, as a user would.
void choose(QComboBox *popup, int index)
{
    popup->setFocus();
    while (popup->currentIndex() != index)
        QTest::keyClick(popup, popup->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
}

void click(QWidget *button)
{
    ASSERT_TRUE(button);
    ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class FilterPanelWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureWidgetApp();
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
        defaults = std::make_unique<UserDefaults>(home.filePath(QStringLiteral("prefs.plist")));
        controller = std::make_unique<VekMainController>(*defaults);
        window = controller->docController().createVekUntitledDocument();
        ASSERT_TRUE(window);
        window->resize(900, 700);
        window->show();
        window->activateWindow();
        waitForExposure(*window);
    }
    void TearDown() override
    {
        if (VekIFController::sharedIFControllerExists())
            delete &VekIFController::sharedIFController();
        window->document().documentWasSaved();
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        controller.reset();
    }
    // An image object placed as a paste places it: selected alone.
    std::shared_ptr<VekObjImage> place(const QImage &pixels, Point at)
    {
        VekView &view = window->vekView();
        EXPECT_TRUE(view.createObjImageWith(Image(pixels), at, Size(float(pixels.width()), float(pixels.height()))));
        return std::dynamic_pointer_cast<VekObjImage>(view.currentObject());
    }
    VekIFController &openPanel()
    {
        QAction *item = menuItem(*window, QStringLiteral("Window"), QStringLiteral("Image Filters..."));
        EXPECT_TRUE(item);
        item->trigger();
        VekIFController &panel = VekIFController::sharedIFController();
        waitForExposure(panel);
        return panel;
    }
    void apply(VekIFController &panel, int type)
    {
        choose(child<QComboBox>(panel, "pupFilterTypes"), type);
        click(child<QPushButton>(panel, "btnApply"));
        QTRY_VERIFY_WITH_TIMEOUT(!panel.isRunning(), 30000);
    }

    QTemporaryDir home;
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<VekMainController> controller;
    VekDocumentWindow *window = nullptr;
};

TEST_F(FilterPanelWindow, FiltersAppliedUndoneSavedReplayedAndPutBackAsOneDocumentStep)
{
    const auto first = place(picture(240, 160, QColor(0, 90, 200)), Point(40, 40));
    ASSERT_TRUE(first);
    VekIFController &panel = openPanel();
    ASSERT_TRUE(panel.isVisible());
    const QImage original = panel.imageView().image();
    EXPECT_EQ(original, pixelsOf(*first));

    // Two filters, the second undone in the preview.
    apply(panel, 9);    // invert
    const QImage inverted = panel.imageView().image();
    EXPECT_NE(inverted, original);
    apply(panel, 29);   // pixellate about the marker
    EXPECT_NE(panel.imageView().image(), inverted);
    click(child<QPushButton>(panel, "btnUndo"));
    EXPECT_EQ(panel.imageView().image(), inverted);
    ASSERT_EQ(panel.filterStack().count(), 1);
    apply(panel, 13);   // posterize
    const QImage byHand = panel.imageView().image();

    // The stack saved under a name.
    click(child<QPushButton>(panel, "btnShowFilterStack"));
    QWidget &stackWindow = panel.filterStackWindow();
    waitForExposure(stackWindow);
    QTest::keyClicks(child<QLineEdit>(stackWindow, "filterName"), QStringLiteral("Inverted posters"));
    click(child<QPushButton>(stackWindow, "btnSaveFilter"));
    EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("data/Vekanto/filters/Inverted posters.plist"))));
    EXPECT_EQ(child<QComboBox>(stackWindow, "pupSavedFilters")->currentText(), QStringLiteral("Inverted posters"));
    // The first object was never touched.
    EXPECT_EQ(pixelsOf(*first), original);

    // Another image object, taken up with Reset, and the saved stack replayed over it.
    const auto second = place(picture(240, 160, QColor(0, 90, 200)), Point(320, 40));
    ASSERT_TRUE(second);
    const QImage secondBefore = pixelsOf(*second);
    click(child<QPushButton>(panel, "btnReset"));
    EXPECT_EQ(panel.imageView().image(), secondBefore);
    EXPECT_EQ(panel.filterStack().count(), 0);
    click(child<QPushButton>(stackWindow, "btnUseSavedFilter"));
    QTRY_VERIFY_WITH_TIMEOUT(!panel.isRunning(), 30000);
    EXPECT_EQ(panel.imageView().image(), byHand);   // the same picture: the same filters
    // The preview on the screen: the inverted, posterized picture, no marker.
    QApplication::processEvents();
    expectMatchesGolden(panel.imageView().grab().toImage(), QStringLiteral("replayed_preview.png"));
    EXPECT_EQ(filterNameOfEntry(panel.filterStack().at(1)), QStringLiteral("CIColorPosterize"));

    // Back into the object: one step of the document, undone and redone exactly.
    UndoManager &undo = *window->document().undoManager();
    click(child<QPushButton>(panel, "btnReplace"));
    EXPECT_EQ(pixelsOf(*second), byHand);
    QTRY_VERIFY(undo.groupingLevel() == 0);
    QAction *undoItem = menuItem(*window, QStringLiteral("Edit"), QStringLiteral("Undo"));
    QAction *redoItem = menuItem(*window, QStringLiteral("Edit"), QStringLiteral("Redo"));
    window->activateWindow();
    undoItem->trigger();
    EXPECT_EQ(pixelsOf(*second), secondBefore);
    EXPECT_EQ(pixelsOf(*first), original);
    redoItem->trigger();
    EXPECT_EQ(pixelsOf(*second), byHand);
    undoItem->trigger();
    EXPECT_EQ(pixelsOf(*second), secondBefore);
    // Undoing further takes the placed objects away; the panel's preview keeps its history.
    while (undo.canUndo())
        undoItem->trigger();
    EXPECT_TRUE(window->document().objects().empty());
    while (undo.canRedo())
        redoItem->trigger();
    ASSERT_EQ(window->document().objects().size(), 2u);
    EXPECT_EQ(pixelsOf(*second), byHand);
    EXPECT_EQ(pixelsOf(*first), original);
}

TEST_F(FilterPanelWindow, AFilterOverALargePictureShowsProgressAndLeavesThePanelResponsive)
{
    const auto large = place(picture(4000, 3000, QColor(0, 120, 60)), Point(0, 0));
    ASSERT_TRUE(large);
    VekIFController &panel = openPanel();
    choose(child<QComboBox>(panel, "pupFilterTypes"), 21);   // CMYK halftone about the marker
    click(child<QPushButton>(panel, "btnApply"));
    EXPECT_TRUE(panel.isRunning());
    EXPECT_TRUE(child<QProgressBar>(panel, "progIndicator")->isVisible());
    EXPECT_FALSE(child<QPushButton>(panel, "btnApply")->isEnabled());
    // The marker still follows the mouse while the filter runs.
    QTest::mouseClick(&panel.imageView(), Qt::LeftButton, {}, QPoint(30, 40));
    EXPECT_EQ(panel.imageView().currentCenter(), Point(30, 40));
    QTRY_VERIFY_WITH_TIMEOUT(!panel.isRunning(), 60000);
    EXPECT_FALSE(child<QProgressBar>(panel, "progIndicator")->isVisible());
    EXPECT_EQ(panel.imageView().image().size(), QSize(4000, 3000));
    EXPECT_EQ(filterNameOfEntry(panel.filterStack().at(0)), QStringLiteral("CICMYKHalftone"));
}

TEST_F(FilterPanelWindow, CancelStopsALongFilterWithinATenthOfASecond)
{
    QImage pixels(2400, 1800, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x)
            pixels.setPixel(x, y, qRgb((x * 7) & 255, (y * 5) & 255, ((x ^ y) * 3) & 255));
    const auto large = place(pixels, Point(0, 0));
    ASSERT_TRUE(large);
    VekIFController &panel = openPanel();
    const QImage before = panel.imageView().image();
    // Noise reduction with both sliders at their right ends, as a user drags them there.
    choose(child<QComboBox>(panel, "pupFilterTypes"), 2);
    for (const char *slider : {"sldr1", "sldr2"}) {
        child<QSlider>(panel, slider)->setFocus();
        QTest::keyClick(child<QSlider>(panel, slider), Qt::Key_End);
    }
    EXPECT_FLOAT_EQ(panel.sliderValue(0), 0.1f);
    EXPECT_FLOAT_EQ(panel.sliderValue(1), 2);
    QSignalSpy ended(&panel, &VekIFController::runFinished);
    click(child<QPushButton>(panel, "btnApply"));
    auto *progress = child<QProgressBar>(panel, "progIndicator");
    auto *cancel = child<QPushButton>(panel, "btnCancel");
    EXPECT_TRUE(progress->isVisible());
    EXPECT_TRUE(cancel->isVisible());
    // The bar moves while the filter runs.
    QTRY_VERIFY_WITH_TIMEOUT(progress->value() > 50, 60000);
    ASSERT_TRUE(panel.isRunning());
    QElapsedTimer stopping;
    stopping.start();
    click(cancel);
    EXPECT_FALSE(panel.isRunning());
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(child<QPushButton>(panel, "btnApply")->isEnabled());
    ASSERT_TRUE(ended.wait(10000));
    EXPECT_LT(stopping.elapsed(), boundOnThisMachine(100));
    EXPECT_EQ(panel.imageView().image(), before);
    EXPECT_EQ(panel.filterStack().count(), 0);
    EXPECT_EQ(pixelsOf(*large), pixels);
}

TEST_F(FilterPanelWindow, ABlurPutBackGrowsTheObjectByItsMarginAsOneDocumentStep)
{
    const auto object = place(picture(120, 80, QColor(0, 90, 200)), Point(200, 150));
    ASSERT_TRUE(object);
    const Rect bounds = object->bounds();
    const QImage original = pixelsOf(*object);
    VekIFController &panel = openPanel();
    apply(panel, 0);   // Gaussian blur, radius 10: the picture 30 pixels larger on every side
    const QImage blurred = panel.imageView().image();
    ASSERT_EQ(blurred.size(), QSize(180, 140));
    click(child<QPushButton>(panel, "btnReplace"));
    const Rect grown(bounds.origin.x - 30, bounds.origin.y - 30, bounds.size.width + 60, bounds.size.height + 60);
    EXPECT_EQ(object->bounds(), grown);
    EXPECT_EQ(pixelsOf(*object), blurred);
    UndoManager &undo = *window->document().undoManager();
    QTRY_VERIFY(undo.groupingLevel() == 0);
    window->activateWindow();
    QAction *undoItem = menuItem(*window, QStringLiteral("Edit"), QStringLiteral("Undo"));
    QAction *redoItem = menuItem(*window, QStringLiteral("Edit"), QStringLiteral("Redo"));
    undoItem->trigger();   // picture and bounds in one step
    EXPECT_EQ(object->bounds(), bounds);
    EXPECT_EQ(pixelsOf(*object), original);
    while (undo.canUndo())
        undoItem->trigger();
    EXPECT_TRUE(window->document().objects().empty());
    while (undo.canRedo())
        redoItem->trigger();
    ASSERT_EQ(window->document().objects().size(), 1u);
    EXPECT_EQ(object->bounds(), grown);
    EXPECT_EQ(pixelsOf(*object), blurred);
}
