// The image filter panel without a window system: switching objects, filters applied on a
// worker thread and undone in the preview, saved stacks replayed, the centre marker, and
// where the preview goes (the object, a new object, a TIFF file, the clipboard).
#include "model/vek_obj_image.h"
#include "panels/document_dialogs.h"
#include "panels/filters/filter_panel_services.h"
#include "panels/filters/filter_stack.h"
#include "panels/filters/vek_if_controller.h"
#include "panels/filters/vek_if_view.h"
#include "platform/filters/gegl_operation.h"
#include "platform/image/image_file.h"
#include "tests/model/fakes.h"
#include "tests/support/machine_load.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QImage gradientPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 120));
    return image;
}

class ScriptedFilterServices : public FilterPanelServices {
public:
    std::shared_ptr<VekObject> current;
    std::optional<QString> tiffPath;
    bool deleteAnswer = true;
    QStringList revealed;
    struct Made {
        DocumentServices *document;
        QSize pixels;
        Point at;
        Size size;
    };
    std::vector<Made> made;

    std::shared_ptr<VekObject> currentObjectOfMainDocument() const override { return current; }
    bool createObjImageWith(DocumentServices &document, const Image &image, Point at, Size size) override
    {
        made.push_back({&document, image.toQImage().size(), at, size});
        return true;
    }
    std::optional<QString> runTiffSavePanel(QWidget *) override { return tiffPath; }
    bool confirmDeleteFilter(QWidget *) override { return deleteAnswer; }
    void revealFile(const QString &path) override { revealed << path; }
};

class RecordedAlerts : public DocumentDialogs {
public:
    QStringList alerts;
    void showAlert(QWidget *, const QString &title, const QString &message) override
    {
        alerts << title + QLatin1Char('|') + message;
    }
};

class FilterPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureWidgetApp();
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
        setFilterPanelServices(&services);
        setDocumentDialogs(&dialogs);
        first = makeImageObject(gradientPicture(64, 48), Rect(20, 30, 128, 96));
        second = makeImageObject(gradientPicture(32, 32), Rect(200, 30, 32, 32));
        panel = &VekIFController::sharedIFController();
    }
    void TearDown() override
    {
        delete panel;
        setFilterPanelServices(nullptr);
        setDocumentDialogs(nullptr);
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_CONFIG_HOME");
    }
    std::shared_ptr<VekObjImage> makeImageObject(const QImage &picture, const Rect &bounds)
    {
        auto object = VekObjImage::create();
        document.adopt(object);
        object->setBounds(bounds);
        object->setImage(Image(picture));
        document.undo.removeAllActions();
        return object;
    }
    // Applies the type with its sliders at their start and waits for the worker.
    void apply(int type)
    {
        panel->selectFilter(type);
        QSignalSpy finished(panel, &VekIFController::runFinished);
        panel->doEffect();
        ASSERT_TRUE(finished.wait(20000));
    }
    QImage preview() const { return panel->imageView().image(); }
    QStringList stackNames() const
    {
        QStringList names;
        for (const PropertyList &entry : panel->filterStack().elements())
            names << filterNameOfEntry(entry);
        return names;
    }
    QPushButton *button(const char *name) const { return panel->findChild<QPushButton *>(QString::fromLatin1(name)); }

    QTemporaryDir home;
    FakeDocument document;
    ScriptedFilterServices services;
    RecordedAlerts dialogs;
    std::shared_ptr<VekObjImage> first, second;
    VekIFController *panel = nullptr;
};

} // namespace

TEST_F(FilterPanel, FiltersAppliedOffTheMainThreadAreUndoneOneByOneInThePreview)
{
    panel->openIFPanel(first);
    const QImage original = preview();
    EXPECT_EQ(original.size(), QSize(64, 48));
    apply(9);   // invert
    const QImage inverted = preview();
    EXPECT_NE(inverted, original);
    apply(13);  // posterize
    EXPECT_EQ(stackNames(), (QStringList{"CIColorInvert", "CIColorPosterize"}));
    EXPECT_TRUE(button("btnUndo")->isEnabled());

    panel->imageView().undo();
    EXPECT_EQ(preview(), inverted);
    EXPECT_EQ(stackNames(), QStringList{"CIColorInvert"});
    EXPECT_TRUE(button("btnUndo")->isEnabled());
    panel->imageView().undo();
    EXPECT_EQ(preview(), original);
    EXPECT_TRUE(stackNames().isEmpty());
    EXPECT_FALSE(button("btnUndo")->isEnabled());
    // The object itself never changed, and its document has nothing to undo.
    EXPECT_EQ(first->image().toQImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), original);
    EXPECT_FALSE(document.undo.canUndo());
}

TEST_F(FilterPanel, TheSameObjectKeepsTheHistoryAndAnotherForgetsIt)
{
    panel->openIFPanel(first);
    apply(9);
    panel->setCurrentObject(first);
    EXPECT_EQ(stackNames(), QStringList{"CIColorInvert"});
    EXPECT_TRUE(panel->imageView().undoManager().canUndo());

    panel->setCurrentObject(second);
    EXPECT_TRUE(stackNames().isEmpty());
    EXPECT_FALSE(button("btnUndo")->isEnabled());
    // An undo step of the first picture would bring it into the second one's preview.
    EXPECT_FALSE(panel->imageView().undoManager().canUndo());
    panel->imageView().undo();
    EXPECT_EQ(preview().size(), QSize(32, 32));
}

TEST_F(FilterPanel, AResultArrivingAfterTheObjectChangedIsDropped)
{
    panel->openIFPanel(first);
    panel->selectFilter(0);
    QSignalSpy finished(panel, &VekIFController::runFinished);
    panel->doEffect();
    panel->setCurrentObject(second);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(preview().size(), QSize(32, 32));
    EXPECT_TRUE(stackNames().isEmpty());
}

TEST_F(FilterPanel, ASavedStackReplaysAsOneUndoStepAndRecordsWhatRan)
{
    panel->openIFPanel(first);
    apply(9);
    apply(29);
    const QImage filtered = preview();
    auto *name = panel->filterStackWindow().findChild<QLineEdit *>(QStringLiteral("filterName"));
    name->setText(QStringLiteral("Soft"));
    panel->saveFilter();
    auto *saved = panel->filterStackWindow().findChild<QComboBox *>(QStringLiteral("pupSavedFilters"));
    ASSERT_EQ(saved->count(), 1);

    panel->setCurrentObject(second);
    apply(11);   // sepia, applied by hand before the replay
    const QImage beforeReplay = preview();
    QSignalSpy finished(panel, &VekIFController::runFinished);
    panel->useSavedFilter();
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_NE(preview(), beforeReplay);
    EXPECT_EQ(stackNames(), (QStringList{"CISepiaTone", "CIColorInvert", "CIPixellate"}));
    // One step takes the whole replay back, and only the replay.
    panel->imageView().undo();
    EXPECT_EQ(preview(), beforeReplay);
    EXPECT_EQ(stackNames(), QStringList{"CISepiaTone"});
    EXPECT_TRUE(panel->imageView().undoManager().canUndo());

    // Replayed on the first picture, the stack gives the same picture as by hand.
    panel->setCurrentObject(first);
    panel->useSavedFilter();
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(preview(), filtered);
}

TEST_F(FilterPanel, SavedParametersAreKeptWithinTheSlidersRanges)
{
    panel->openIFPanel(first);
    PropertyList parameters = PropertyList::dictionary();
    parameters.insert(QStringLiteral("inputRadius"), PropertyList::fromDouble(5000));
    parameters.insert(QStringLiteral("inputIntensity"), PropertyList::fromDouble(std::nan("")));
    ASSERT_TRUE(panel->resetParameterOutletsFor(4, parameters));
    EXPECT_FLOAT_EQ(panel->sliderValue(0), 100);
    EXPECT_FLOAT_EQ(panel->sliderValue(1), 0.5f);
    EXPECT_FALSE(panel->resetParameterOutletsFor(37));
    EXPECT_FALSE(panel->resetParameterOutletsFor(-1));
    // Types without sliders leave all three disabled.
    ASSERT_TRUE(panel->resetParameterOutletsFor(19));
    for (const char *slider : {"sldr1", "sldr2", "sldr3"})
        EXPECT_FALSE(panel->findChild<QWidget *>(QString::fromLatin1(slider))->isEnabled());
    EXPECT_FALSE(panel->imageView().showsCenter());
    // A centre type without a saved centre shows the marker in the middle.
    ASSERT_TRUE(panel->resetParameterOutletsFor(29, PropertyList::dictionary()));
    EXPECT_TRUE(panel->imageView().showsCenter());
}

TEST_F(FilterPanel, TheMarkerFollowsAPressInsideTheViewAndItsDrag)
{
    VekIFView view;
    view.resize(300, 200);
    view.setShowCenter(true);
    EXPECT_EQ(view.currentCenter(), Point(150, 100));
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(40, 50));
    EXPECT_EQ(view.currentCenter(), Point(40, 50));
    QTest::mouseMove(&view, QPoint(500, 400));   // a drag may leave the view
    EXPECT_EQ(view.currentCenter(), Point(500, 400));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(500, 400));
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(320, 50));
    EXPECT_EQ(view.currentCenter(), Point(500, 400));
}

TEST_F(FilterPanel, ThePreviewGoesBackIntoTheObjectAsOneUndoStep)
{
    panel->openIFPanel(first);
    const QImage original = preview();
    apply(9);
    panel->useImage(VekIFController::ReplaceImage);
    document.undo.closeEventGroup();
    const auto pictureOf = [](const VekObjImage &o) {
        return o.image().toQImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    EXPECT_EQ(pictureOf(*first), preview());
    document.undo.undo();
    EXPECT_EQ(pictureOf(*first), original);
    EXPECT_FALSE(document.undo.canUndo());
    document.undo.redo();
    EXPECT_EQ(pictureOf(*first), preview());
}

TEST_F(FilterPanel, AnObjectThatLeftItsDocumentIsNeverWritten)
{
    panel->openIFPanel(first);
    const Image before = first->image();
    apply(9);
    document.list.erase(document.list.begin());   // deleted, alive in the undo history
    EXPECT_FALSE(panel->isCurrentReferentAlive());
    panel->useImage(VekIFController::ReplaceImage);
    EXPECT_TRUE(first->image().isSameImage(before));
    EXPECT_FALSE(button("btnReplace")->isEnabled() && panel->isCurrentReferentAlive());
    // A new object beside it still needs only its document and canvas.
    panel->useImage(VekIFController::NewImageObject);
    ASSERT_EQ(services.made.size(), 1u);
    EXPECT_EQ(services.made[0].at, Point(30, 40));
    EXPECT_EQ(services.made[0].size, Size(128, 96));
    EXPECT_EQ(services.made[0].pixels, QSize(64, 48));
}

TEST_F(FilterPanel, ThePreviewGoesIntoATiffFileAndOntoTheClipboard)
{
    panel->openIFPanel(first);
    apply(9);
    services.tiffPath = home.filePath(QStringLiteral("image.tif"));
    panel->useImage(VekIFController::TiffFile);
    EXPECT_EQ(services.revealed, QStringList{*services.tiffPath});
    EXPECT_EQ(readImageFile(*services.tiffPath).toQImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
              preview());
    services.tiffPath = home.filePath(QStringLiteral("no/such/folder/image.tif"));
    panel->useImage(VekIFController::TiffFile);
    EXPECT_EQ(dialogs.alerts, QStringList{"|Sorry, failed to save."});

    panel->useImage(VekIFController::Clipboard);
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    for (const char *kind : {"image/tiff", "image/png"})
        EXPECT_EQ(readImageData(data->data(QString::fromLatin1(kind))).toQImage().convertToFormat(
                      QImage::Format_ARGB32_Premultiplied),
                  preview())
            << kind;
}

TEST_F(FilterPanel, ResetGoesBackToTheObjectsPictureOrOnToTheCurrentImageObject)
{
    panel->resetImage();
    EXPECT_EQ(dialogs.alerts, QStringList{"|No image can be associated with the filter function."});
    panel->openIFPanel(first);
    const QImage original = preview();
    apply(9);
    panel->resetImage();
    EXPECT_EQ(preview(), original);
    EXPECT_TRUE(stackNames().isEmpty());
    EXPECT_FALSE(panel->imageView().undoManager().canUndo());
    services.current = second;
    panel->resetImage();
    EXPECT_EQ(preview().size(), QSize(32, 32));
}

TEST_F(FilterPanel, ABlurGrowsThePictureAndTheObjectsBoundsAsOneUndoStep)
{
    panel->openIFPanel(first);
    const QImage original = preview();
    const Rect bounds = first->bounds();   // 128 x 96 for 64 x 48 pixels: 2 points a pixel
    apply(0);   // Gaussian blur, radius 10: 30 pixels more on every side
    const QImage blurred = preview();
    ASSERT_EQ(blurred.size(), QSize(64 + 60, 48 + 60));
    // The picture sits in the middle of its grown extent, the margin fades out.
    EXPECT_EQ(qAlpha(blurred.pixel(0, 0)), 0);
    EXPECT_GT(qAlpha(blurred.pixel(25, 54)), 0);

    panel->useImage(VekIFController::ReplaceImage);
    document.undo.closeEventGroup();
    const auto pictureOf = [](const VekObjImage &o) {
        return o.image().toQImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    const Rect grown(bounds.origin.x - 60, bounds.origin.y - 60, bounds.size.width + 120, bounds.size.height + 120);
    EXPECT_EQ(pictureOf(*first), blurred);
    EXPECT_EQ(first->bounds(), grown);
    // Undo all, redo all: exactly the states before and after.
    while (document.undo.canUndo())
        document.undo.undo();
    EXPECT_EQ(pictureOf(*first), original);
    EXPECT_EQ(first->bounds(), bounds);
    while (document.undo.canRedo())
        document.undo.redo();
    EXPECT_EQ(pictureOf(*first), blurred);
    EXPECT_EQ(first->bounds(), grown);

    // A second blur grows it by its own margin only; a new object keeps the same scale.
    apply(0);
    panel->useImage(VekIFController::ReplaceImage);
    document.undo.closeEventGroup();
    EXPECT_EQ(first->bounds(), Rect(grown.origin.x - 60, grown.origin.y - 60, grown.size.width + 120,
                                    grown.size.height + 120));
    document.undo.undo();
    EXPECT_EQ(first->bounds(), grown);
    EXPECT_EQ(pictureOf(*first), blurred);
    panel->useImage(VekIFController::NewImageObject);
    ASSERT_EQ(services.made.size(), 1u);
    EXPECT_EQ(services.made[0].pixels, QSize(184, 168));
    EXPECT_EQ(services.made[0].at, Point(grown.origin.x - 60 + 10, grown.origin.y - 60 + 10));
    EXPECT_EQ(services.made[0].size, Size(grown.size.width + 120, grown.size.height + 120));
}

TEST_F(FilterPanel, ALongRunShowsItsProgressAndCancelsAtOnce)
{
    QImage large(2400, 1800, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < large.height(); ++y)
        for (int x = 0; x < large.width(); ++x)
            large.setPixel(x, y, qRgb((x * 7) & 255, (y * 5) & 255, ((x ^ y) * 3) & 255));
    const auto photo = makeImageObject(large, Rect(0, 0, 600, 450));
    panel->openIFPanel(photo);
    const QImage before = preview();
    auto *progress = panel->findChild<QProgressBar *>(QStringLiteral("progIndicator"));
    // Threaded: cancelled again and again, at different points of the run.
    for (int attempt = 0; attempt < 3; ++attempt) {
        SCOPED_TRACE(attempt);
        panel->selectFilter(2);   // noise reduction at its sliders' ends
        panel->setSliderValue(0, 0.1f);
        panel->setSliderValue(1, 2);
        QSignalSpy finished(panel, &VekIFController::runFinished);
        panel->doEffect();
        ASSERT_TRUE(panel->isRunning());
        EXPECT_TRUE(progress->isVisible() || !panel->isVisible());
        EXPECT_TRUE(button("btnCancel")->isVisibleTo(panel));
        EXPECT_FALSE(button("btnApply")->isEnabled());
        // The bar moves on while the filter runs.
        QTRY_VERIFY_WITH_TIMEOUT(progress->value() > 20 * attempt, 60000);
        ASSERT_TRUE(panel->isRunning());
        QElapsedTimer stopping;
        stopping.start();
        panel->cancelEffect();
        // The panel is ready at once; the worker ends within a tile of the filter.
        EXPECT_FALSE(panel->isRunning());
        EXPECT_TRUE(button("btnApply")->isEnabled());
        EXPECT_FALSE(button("btnCancel")->isVisibleTo(panel));
        ASSERT_TRUE(finished.wait(10000));
        EXPECT_LT(stopping.elapsed(), boundOnThisMachine(100));
        EXPECT_EQ(preview(), before);
        EXPECT_TRUE(stackNames().isEmpty());
        EXPECT_FALSE(panel->imageView().undoManager().canUndo());
        EXPECT_TRUE(dialogs.alerts.isEmpty());
    }
    // A quick run after the cancels goes through as usual.
    apply(9);
    EXPECT_EQ(stackNames(), QStringList{"CIColorInvert"});
}

TEST_F(FilterPanel, TheEngineStartsWithTheFirstFilterThatNeedsItOffTheWindowsThread)
{
    if (geglStarted())
        GTEST_SKIP() << "an earlier test of this process started the engine (CTest runs each test alone)";
    panel->openIFPanel(first);
    apply(9);    // invert: a kernel of our own
    apply(29);   // pixellate
    EXPECT_FALSE(geglStarted());
    apply(1);    // median: the engine's
    EXPECT_TRUE(geglStarted());
    EXPECT_FALSE(geglStartedOnThisThread());
    EXPECT_EQ(stackNames(), (QStringList{"CIColorInvert", "CIPixellate", "CIMedianFilter"}));
}
