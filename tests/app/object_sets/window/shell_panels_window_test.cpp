// The shell's panels driven as a user drives them: the object-set palette (picking an item
// and drawing it, dragging a selection into it and an item onto another document, renaming
// and deleting a set) and the memo, which survives a restart.
#include "tests/app/window/window_driver.h"

#include "app/object_sets/object_set_palette.h"
#include "app/tool_controller.h"
#include "canvas/ui/vek_view.h"
#include "tests/support/golden_image.h"
#include "toolkit/ui/drag_session.h"

#include <QClipboard>
#include <QComboBox>
#include <QDrag>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>

namespace {

// Presses the button of the question the next action asks.
void answerQuestion(const QString &button)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, button] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        for (QAbstractButton *b : box->buttons())
            if (b->text() == button) {
                b->click();
                return;
            }
        ADD_FAILURE() << "the question has no button " << button.toStdString();
        box->reject();
    });
    poll->start(20);
}

class ShellPanels : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureWidgetApp();
        qputenv("XDG_DATA_HOME", folder.filePath(QStringLiteral("data")).toLocal8Bit());
        start();
        // A drag goes where the test points it, as the user's pointer would take it.
        setDragPerformer([this](QDrag &drag) {
            QWidget *target = dropTarget;
            QDragEnterEvent enter(dropPoint, Qt::CopyAction, drag.mimeData(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
            if (!enter.isAccepted())
                return Qt::IgnoreAction;
            QDropEvent drop(QPointF(dropPoint), Qt::CopyAction, drag.mimeData(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &drop);
            return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
        });
    }
    void TearDown() override
    {
        setDragPerformer({});
        stop();
    }
    void start()
    {
        defaults = std::make_unique<UserDefaults>(folder.filePath(QStringLiteral("prefs.plist")));
        controller = std::make_unique<VekMainController>(*defaults);
        controller->startUp({});
        palette = visibleTopLevelTitled(QStringLiteral("Tools"));
        ASSERT_TRUE(palette);
    }
    void stop()
    {
        for (VekDocumentWindow *w : controller->docController().documentWindows()) {
            w->document().documentWasSaved();
            w->close();
        }
        flushDeletes();
        controller.reset();
        defaults.reset();
    }
    VekDocumentWindow *activeWindow(const QString &title)
    {
        VekDocumentWindow *window = nullptr;
        [&] { QTRY_VERIFY((window = visibleDocumentWindowTitled(title))); }();
        if (!window)
            return nullptr;
        window->activateWindow();
        waitForExposure(*window);
        return window;
    }
    // Where a page point lies on the window's canvas (100 % zoom).
    static QPoint onCanvas(VekDocumentWindow &window, float x, float y)
    {
        VekView *view = window.findChild<VekView *>();
        const QPoint inWindow = view->viewport()->mapTo(&window, QPoint(0, 0));
        const Point origin = view->convertPointFromWindow(Point{float(inWindow.x()), float(inWindow.y())});
        return QPoint(qRound(x - origin.x), qRound(y - origin.y));
    }
    static QWidget *canvasOf(VekDocumentWindow &window) { return window.findChild<VekView *>()->viewport(); }
    QWidget &shapePanel() const { return controller->toolController().shapePanel(); }
    VekObjMatrix *objectMatrix() const { return shapePanel().findChild<VekObjMatrix *>(); }
    // The object tool chosen on the palette: the shape panel comes up with the sets.
    VekObjMatrix *chooseObjectTool()
    {
        QTest::mouseClick(paletteButton(*palette, QStringLiteral("Object")), Qt::LeftButton);
        [&] { QTRY_VERIFY(shapePanel().isVisible()); }();
        waitForExposure(shapePanel());
        return objectMatrix();
    }
    static void clickCell(VekObjMatrix &matrix, int tag)
    {
        QTest::mouseClick(matrix.viewport(), Qt::LeftButton, {}, matrix.cellRect(tag).center());
    }

    QTemporaryDir folder;
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<VekMainController> controller;
    QWidget *palette = nullptr;
    QWidget *dropTarget = nullptr;
    QPoint dropPoint;
};

TEST_F(ShellPanels, APickedItemIsWhatTheShapeToolDraws)
{
    VekDocumentWindow *window = activeWindow(QStringLiteral("Untitled"));
    ASSERT_TRUE(window);
    VekObjMatrix *matrix = chooseObjectTool();
    ASSERT_TRUE(matrix);
    EXPECT_EQ(matrix->currentSetName(), QStringLiteral("default"));
    clickCell(*matrix, 2);
    ASSERT_EQ(matrix->selectedTag(), 2);
    const BezierPath picked = matrix->selectedObjects().front()->bezierPath();

    drag(canvasOf(*window), onCanvas(*window, 20, 20), {onCanvas(*window, 70, 60), onCanvas(*window, 120, 90)});
    const VekDocument &document = window->document();
    ASSERT_EQ(document.objects().size(), 1u);
    const auto drawn = document.objects().front();
    EXPECT_EQ(drawn->className(), QStringLiteral("VekObjPath"));
    EXPECT_EQ(drawn->bounds(), Rect(20.5f, 20.5f, 100, 70));
    EXPECT_EQ(drawn->bezierPath().elementCount(), picked.elementCount());

    window->document().undoManager()->undo();
    EXPECT_TRUE(document.objects().empty());
    window->document().undoManager()->redo();
    ASSERT_EQ(document.objects().size(), 1u);
    EXPECT_EQ(document.objects().front()->bounds(), Rect(20.5f, 20.5f, 100, 70));
}

TEST_F(ShellPanels, ASelectionGoesIntoThePaletteAndFromThereOntoAnotherDocument)
{
    VekDocumentWindow *first = activeWindow(QStringLiteral("Untitled"));
    ASSERT_TRUE(first);
    VekObjMatrix *matrix = chooseObjectTool();
    clickCell(*matrix, 2);
    drag(canvasOf(*first), onCanvas(*first, 40, 40), {onCanvas(*first, 100, 80), onCanvas(*first, 160, 100)});
    ASSERT_EQ(first->document().objects().size(), 1u);
    const auto drawn = first->document().objects().front();
    const int setSize = int(matrix->store().items(matrix->currentSetName()).size());

    // With the arrow the shape panel goes; Ctrl-dragging the drawing brings it back.
    QTest::mouseClick(paletteButton(*palette, QStringLiteral("Arrow")), Qt::LeftButton);
    ASSERT_FALSE(shapePanel().isVisible());
    dropTarget = matrix->viewport();
    dropPoint = matrix->cellRect(0).center();
    menuItem(*first, QStringLiteral("Edit"), QStringLiteral("Select All"))->trigger();
    QTest::mousePress(canvasOf(*first), Qt::LeftButton, Qt::ControlModifier, onCanvas(*first, 100, 70));
    QTest::mouseRelease(canvasOf(*first), Qt::LeftButton, Qt::ControlModifier, onCanvas(*first, 100, 70));
    EXPECT_TRUE(shapePanel().isVisible());
    const ObjectSetItems &items = matrix->store().items(matrix->currentSetName());
    ASSERT_EQ(int(items.size()), setSize + 1);
    ASSERT_EQ(items.front().objects.size(), 1u);
    EXPECT_EQ(items.front().objects.front()->bounds(), Rect(1, 1, drawn->bounds().width(), drawn->bounds().height()));
    EXPECT_EQ(matrix->selectedTag(), 0);
    EXPECT_EQ(first->document().objects().size(), 1u);   // the drawing stays where it was
    // The set's file holds the new item.
    ObjectSetStore reread(matrix->store().folder());
    reread.readAll();
    EXPECT_EQ(int(reread.items(matrix->currentSetName()).size()), setSize + 1);

    // The new item dragged out of its cell onto a second document.
    menuItem(*first, QStringLiteral("File"), QStringLiteral("New"))->trigger();
    VekDocumentWindow *second = activeWindow(QStringLiteral("Untitled 2"));
    ASSERT_TRUE(second);
    dropTarget = canvasOf(*second);
    dropPoint = onCanvas(*second, 200, 150);
    const QPoint cell = matrix->cellRect(0).center();
    QTest::mousePress(matrix->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseMove(matrix->viewport(), cell + QPoint(20, 20));
    QTest::mouseRelease(matrix->viewport(), Qt::LeftButton, {}, cell + QPoint(20, 20));
    ASSERT_EQ(second->document().objects().size(), 1u);
    const auto placed = second->document().objects().front();
    EXPECT_EQ(placed->bounds().origin, Point(200, 150));
    EXPECT_EQ(placed->bounds().size, drawn->bounds().size);
    EXPECT_EQ(placed->bezierPath().elementCount(), drawn->bezierPath().elementCount());
    second->document().undoManager()->undo();
    EXPECT_TRUE(second->document().objects().empty());
    second->document().undoManager()->redo();
    EXPECT_EQ(second->document().objects().size(), 1u);
}

TEST_F(ShellPanels, ASetIsRenamedByTypingItsNameAndDeletedByItsButton)
{
    ASSERT_TRUE(activeWindow(QStringLiteral("Untitled")));
    VekObjMatrix *matrix = chooseObjectTool();
    auto *setSelection = shapePanel().findChild<QComboBox *>(QStringLiteral("setSelection"));
    ASSERT_TRUE(setSelection && setSelection->lineEdit());
    const QString defaultFile = matrix->store().filePathFor(QStringLiteral("default"));
    ASSERT_TRUE(QFile::exists(defaultFile));

    setSelection->lineEdit()->selectAll();
    QTest::keyClicks(setSelection->lineEdit(), QStringLiteral("Shapes"));
    answerQuestion(QStringLiteral("Rename"));
    QTest::keyClick(setSelection->lineEdit(), Qt::Key_Return);
    QTRY_COMPARE(matrix->currentSetName(), QStringLiteral("Shapes"));
    EXPECT_EQ(setSelection->count(), 1);
    EXPECT_EQ(setSelection->currentText(), QStringLiteral("Shapes"));
    EXPECT_FALSE(QFile::exists(defaultFile));
    EXPECT_TRUE(QFile::exists(matrix->store().filePathFor(QStringLiteral("Shapes"))));
    EXPECT_EQ(controller->preferences().lastStatesForKey(QStringLiteral("selectedSet")).stringValue(),
              QStringLiteral("Shapes"));

    answerQuestion(QStringLiteral("Delete"));
    QTest::mouseClick(shapePanel().findChild<QToolButton *>(QStringLiteral("deleteSet")), Qt::LeftButton);
    // The last set gone, the default set is built again at once.
    QTRY_COMPARE(matrix->currentSetName(), QStringLiteral("default"));
    EXPECT_FALSE(QFile::exists(matrix->store().filePathFor(QStringLiteral("Shapes"))));
    EXPECT_TRUE(QFile::exists(defaultFile));
    EXPECT_EQ(setSelection->currentText(), QStringLiteral("default"));
    EXPECT_EQ(matrix->selectedObjects().size(), 1u);
}

TEST_F(ShellPanels, APatternColourFromADroppedImageFillsAShape)
{
    VekDocumentWindow *window = activeWindow(QStringLiteral("Untitled"));
    ASSERT_TRUE(window);
    VekObjMatrix *matrix = chooseObjectTool();
    clickCell(*matrix, 12);   // the square
    drag(canvasOf(*window), onCanvas(*window, 20, 20), {onCanvas(*window, 70, 60), onCanvas(*window, 120, 90)});
    ASSERT_EQ(window->document().objects().size(), 1u);
    const auto shape = window->document().objects().front();
    QTest::mouseClick(paletteButton(*palette, QStringLiteral("Arrow")), Qt::LeftButton);
    menuItem(*window, QStringLiteral("Edit"), QStringLiteral("Select All"))->trigger();

    menuItem(*window, QStringLiteral("Window"), QStringLiteral("Colors"))->trigger();
    QWidget *panel = nullptr;
    QTRY_VERIFY((panel = visibleTopLevelTitled(QStringLiteral("Colors"))));
    waitForExposure(*panel);
    auto *well = panel->findChild<QLabel *>(QStringLiteral("patternWell"));
    auto *name = panel->findChild<QLineEdit *>(QStringLiteral("patternName"));
    auto *add = panel->findChild<QPushButton *>(QStringLiteral("addPattern"));
    auto *colours = panel->findChild<QListWidget *>(QStringLiteral("colourView"));
    ASSERT_TRUE(well && name && add && colours);

    // A picture file dropped from the file manager onto the well.
    QImage checks(8, 8, QImage::Format_RGB32);
    checks.fill(Qt::white);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            checks.setPixel(x, y, qRgb(255, 0, 0)), checks.setPixel(x + 4, y + 4, qRgb(255, 0, 0));
    const QString file = folder.filePath(QStringLiteral("checks.png"));
    ASSERT_TRUE(checks.save(file));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(well->rect().center(), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(well, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(well->rect().center()), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(well, &drop);
    EXPECT_FALSE(add->isEnabled());
    QTest::keyClicks(name, QStringLiteral("Red checks"));
    ASSERT_TRUE(add->isEnabled());
    QTest::mouseClick(add, Qt::LeftButton);
    ASSERT_EQ(colours->count(), 1);
    EXPECT_EQ(colours->item(0)->text(), QStringLiteral("Red checks"));

    // The new colour dragged from its swatch onto the shape.
    dropTarget = canvasOf(*window);
    dropPoint = onCanvas(*window, 20.5f, 55);
    const QPoint swatch = colours->visualItemRect(colours->item(0)).center();
    QTest::mousePress(colours->viewport(), Qt::LeftButton, {}, swatch);
    // A list starts its drag on the second move.
    QTest::mouseMove(colours->viewport(), swatch + QPoint(15, 15));
    QTest::mouseMove(colours->viewport(), swatch + QPoint(30, 30));
    QTest::mouseRelease(colours->viewport(), Qt::LeftButton, {}, swatch + QPoint(30, 30));
    ASSERT_EQ(shape->fillColor().kind(), Color::Kind::Pattern);
    EXPECT_TRUE(shape->drawsFill());
    window->document().undoManager()->undo();
    EXPECT_NE(shape->fillColor().kind(), Color::Kind::Pattern);
    window->document().undoManager()->redo();
    EXPECT_EQ(shape->fillColor().kind(), Color::Kind::Pattern);

    // The canvas shows the checks inside the square: red and white in equal shares.
    QWidget *canvas = canvasOf(*window);
    canvas->repaint();
    const QImage shown = canvas->grab(QRect(onCanvas(*window, 40, 40), QSize(40, 24))).toImage();
    int red = 0, white = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QColor c = shown.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 60;
            white += c.red() > 200 && c.green() > 200;
        }
    const int all = shown.width() * shown.height();
    EXPECT_GT(red, all / 3);
    EXPECT_GT(white, all / 3);
}

TEST_F(ShellPanels, TheMemoWithAPictureSurvivesARestart)
{
    VekDocumentWindow *window = activeWindow(QStringLiteral("Untitled"));
    ASSERT_TRUE(window);
    menuItem(*window, QStringLiteral("Window"), QStringLiteral("Open Memo Panel"))->trigger();
    QWidget *memo = nullptr;
    QTRY_VERIFY((memo = visibleTopLevelTitled(QStringLiteral("Memo"))));
    auto *text = memo->findChild<QTextEdit *>();
    ASSERT_TRUE(text);
    memo->activateWindow();
    QTRY_VERIFY(memo->isActiveWindow());
    text->setFocus();
    QTest::keyClicks(text, QStringLiteral("Buy milk "));
    QImage picture(12, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QApplication::clipboard()->setImage(picture);
    QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(text, QStringLiteral(" today"));
    ASSERT_EQ(text->toPlainText(), QStringLiteral("Buy milk \uFFFC today"));

    // Quitting saves the memo; the next run shows it again.
    controller->applicationWillTerminate();
    stop();
    start();
    VekDocumentWindow *again = activeWindow(QStringLiteral("Untitled"));
    ASSERT_TRUE(again);
    menuItem(*again, QStringLiteral("Window"), QStringLiteral("Open Memo Panel"))->trigger();
    QTRY_VERIFY((memo = visibleTopLevelTitled(QStringLiteral("Memo"))));
    text = memo->findChild<QTextEdit *>();
    EXPECT_EQ(text->toPlainText(), QStringLiteral("Buy milk \uFFFC today"));
    QImage shown;
    for (auto it = text->document()->begin().begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat())
            shown = qvariant_cast<QImage>(text->document()->resource(
                QTextDocument::ImageResource, QUrl(it.fragment().charFormat().toImageFormat().name())));
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.size(), picture.size());
    EXPECT_EQ(shown.pixelColor(3, 3), QColor(Qt::red));

    // A run that never opens the memo leaves it stored.
    stop();
    start();
    controller->applicationWillTerminate();
    stop();
    UserDefaults reread(folder.filePath(QStringLiteral("prefs.plist")));
    EXPECT_FALSE(reread.objectForKey(QStringLiteral("memo")).dataValue().isEmpty());
    start();
}

} // namespace
