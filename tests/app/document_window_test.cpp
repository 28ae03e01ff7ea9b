// Start-up, untitled documents, saving in both forms, closing with the unsaved-changes
// question, reopening and reverting.
#include "tests/app/shell_fixture.h"

#include "canvas/ui/vek_view.h"
#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "model/vek_object.h"

#include "panels/page_layout_dialog.h"
#include "app/document/window_frame.h"
#include "app/tool_controller.h"

#include <QComboBox>
#include <QFile>
#include <QSpinBox>

namespace {

const auto *const configHome = ::testing::AddGlobalTestEnvironment(new PrivateConfigHome);

void addRectangle(VekDocument &document, const Rect &r)
{
    auto path = VekObjPath::create();
    path->setBezierPath(BezierPath::bezierPathWithRect(r));
    path->setBounds(r);
    document.insertObject(path, 0, false);
    // Each change is its own undo step, as after a user's action.
    QCoreApplication::processEvents();
}

std::vector<PropertyList> objectDictionaries(const VekDocument &document)
{
    std::vector<PropertyList> dicts;
    for (const auto &o : document.objects())
        dicts.push_back(o->propertyListRepresentation());
    return dicts;
}

} // namespace

TEST_F(ShellTest, StartsWithOneUntitledDocumentAndStoresThePreferences)
{
    controller->startUp({});
    ASSERT_EQ(windows().size(), 1u);
    VekDocumentWindow *window = windows().front();
    EXPECT_TRUE(window->filePath().isEmpty());
    EXPECT_EQ(window->displayName(), QStringLiteral("Untitled"));
    EXPECT_FALSE(window->isDocumentEdited());
    EXPECT_TRUE(defaults->dictionaryForKey(QStringLiteral("prefs")).isDictionary());
    EXPECT_EQ(defaults->dictionaryForKey(QStringLiteral("colors")).count(), 16);
    EXPECT_EQ(&shellServices(), controller.get());

    // The preferred page size and margins shape the new document.
    const Size view = controller->preferences().userPrefViewSize();
    EXPECT_EQ(window->document().drawAreaSizePerPage(), view);
    const PrintInfo &info = window->document().printInfo();
    EXPECT_FLOAT_EQ(info.paperSize.width, info.leftMargin + view.width + info.rightMargin);

    controller->docController().createVekUntitledDocument();
    EXPECT_EQ(windows().back()->displayName(), QStringLiteral("Untitled 2"));
}

TEST_F(ShellTest, SavesInBothFormsAndReopensTheSameObjects)
{
    controller->startUp({});
    VekDocumentWindow *window = windows().front();
    addRectangle(window->document(), Rect(10, 20, 30, 40));
    addRectangle(window->document(), Rect(50, 60, 70, 80));
    window->refreshEditedMark();
    EXPECT_TRUE(window->isWindowModified());
    const std::vector<PropertyList> before = objectDictionaries(window->document());

    for (bool textForm : {false, true}) {
        SCOPED_TRACE(textForm ? "text form" : "archive form");
        const QString file = path(textForm ? QStringLiteral("text.vek") : QStringLiteral("archive"));
        dialogs.saveChoices.push_back(DocumentDialogs::SaveChoice{file, textForm});
        ASSERT_TRUE(window->saveDocumentAs());
        const QString saved = textForm ? file : file + QStringLiteral(".vek");
        EXPECT_EQ(window->filePath(), saved);
        EXPECT_EQ(window->displayName(), QFileInfo(saved).fileName());
        EXPECT_FALSE(window->isDocumentEdited());
        QFile stored(saved);
        ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
        EXPECT_EQ(stored.peek(1) == "{", textForm);

        VekDocument reread;
        DocumentError error;
        ASSERT_TRUE(reread.readFromFile(saved, &error)) << error.description.toStdString();
        EXPECT_EQ(objectDictionaries(reread), before);
    }
    EXPECT_EQ(controller->docController().recentDocumentURLs().first(), path(QStringLiteral("text.vek")));

    // Closing and opening again through the application gives the same objects.
    window->close();
    flushDeletes();
    EXPECT_TRUE(windows().empty());
    ASSERT_TRUE(controller->applicationOpenFile(path(QStringLiteral("text.vek"))));
    ASSERT_EQ(windows().size(), 1u);
    EXPECT_EQ(objectDictionaries(windows().front()->document()), before);
    EXPECT_TRUE(dialogs.alerts.isEmpty());
}

TEST_F(ShellTest, ClosingADocumentWithChangesAsksFirst)
{
    controller->startUp({});
    VekDocumentWindow *window = windows().front();
    addRectangle(window->document(), Rect(0, 0, 10, 10));

    dialogs.closeAnswers = {DocumentDialogs::CloseAnswer::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(windows().size(), 1u);

    // Save, but the save panel is cancelled: the window stays.
    dialogs.closeAnswers = {DocumentDialogs::CloseAnswer::Save};
    EXPECT_FALSE(window->close());

    dialogs.closeAnswers = {DocumentDialogs::CloseAnswer::Save};
    dialogs.saveChoices = {DocumentDialogs::SaveChoice{path(QStringLiteral("kept.vek")), false}};
    EXPECT_TRUE(window->close());
    flushDeletes();
    EXPECT_TRUE(windows().empty());
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("kept.vek"))));

    controller->docController().createVekUntitledDocument();
    addRectangle(windows().front()->document(), Rect(0, 0, 10, 10));
    dialogs.closeAnswers = {DocumentDialogs::CloseAnswer::DontSave};
    EXPECT_TRUE(windows().front()->close());
}

TEST_F(ShellTest, RevertReadsTheSavedFileAgain)
{
    controller->startUp({});
    VekDocumentWindow *window = windows().front();
    addRectangle(window->document(), Rect(0, 0, 10, 10));
    ASSERT_TRUE(window->saveToPath(path(QStringLiteral("revert.vek")), false));
    addRectangle(window->document(), Rect(20, 20, 10, 10));
    ASSERT_EQ(window->document().objects().size(), 2u);

    ActionSender sender;
    EXPECT_TRUE(controller->responderChain().validateAction(QStringLiteral("revertDocumentToSaved"), sender));
    ASSERT_TRUE(window->revertDocumentToSaved());
    EXPECT_EQ(window->document().objects().size(), 1u);
    EXPECT_FALSE(window->isDocumentEdited());
    EXPECT_EQ(window->document().vekView(), static_cast<CanvasServices *>(&window->vekView()));
}

TEST_F(ShellTest, KeepsABackupWhenSavingOverAFile)
{
    controller->preferences().updateUserPreferences(QStringLiteral("prefs"), QStringLiteral("keepBackup"),
                                                    PropertyList::fromInt(1));
    controller->startUp({});
    VekDocumentWindow *window = windows().front();
    ASSERT_TRUE(window->saveToPath(path(QStringLiteral("b.vek")), false));
    addRectangle(window->document(), Rect(0, 0, 10, 10));
    ASSERT_TRUE(window->saveDocument());
    VekDocument backup;
    ASSERT_TRUE(backup.readFromFile(path(QStringLiteral("b~.vek")), nullptr));
    EXPECT_TRUE(backup.objects().empty());
}

TEST_F(ShellTest, ThePageLayoutDialogSetsPaperMarginsAndTheResolutionOfItsScale)
{
    PrintInfo info = PrintInfo::defaults();
    info.paperName = QStringLiteral("custom-size");
    PageLayoutDialog dialog(info);
    dialog.findChild<QComboBox *>(QStringLiteral("paper"))->setCurrentText(QStringLiteral("USLetter"));
    dialog.findChild<QSpinBox *>(QStringLiteral("scale"))->setValue(50);
    const PrintInfo chosen = dialog.printInfo();
    EXPECT_EQ(chosen.paperName, QStringLiteral("na-letter"));
    EXPECT_EQ(chosen.paperSize, (Size{612, 792}));
    EXPECT_FLOAT_EQ(chosen.scalingFactor, 0.5f);

    controller->startUp({});
    VekDocumentWindow *window = windows().front();
    dialogs.pageLayout = chosen;
    ASSERT_TRUE(controller->responderChain().performAction(QStringLiteral("runPageLayout"), ActionSender()));
    EXPECT_EQ(window->document().resolution(), 144);
    EXPECT_EQ(window->document().printInfo().paperName, QStringLiteral("na-letter"));
    // Cancelled: nothing changes.
    dialogs.pageLayout.reset();
    controller->responderChain().performAction(QStringLiteral("runPageLayout"), ActionSender());
    EXPECT_EQ(window->document().resolution(), 144);
}

TEST_F(ShellTest, SwitchingDocumentsPutsTheSelectionAsideUntilTheWindowIsMainAgain)
{
    controller->startUp({});
    VekDocumentWindow *first = windows().front();
    addRectangle(first->document(), Rect(0, 0, 10, 10));
    first->vekView().selectObject(first->document().objects().front());
    controller->toolController().selectTool(2);
    // A creation tool starts from an empty selection.
    EXPECT_TRUE(first->vekView().selectedObjects().empty());
    controller->toolController().selectArrowTool();

    VekDocumentWindow *second = controller->docController().createVekUntitledDocument();
    controller->docController().windowBecameMain(first);
    controller->toolController().selectTool(5);
    first->vekView().selectObject(first->document().objects().front());
    controller->docController().windowBecameMain(second);
    EXPECT_TRUE(first->vekView().selectedObjects().empty());
    EXPECT_EQ(controller->toolController().selectedTool(), 0);
    controller->docController().windowBecameMain(first);
    EXPECT_EQ(first->vekView().selectedObjects().size(), 1u);
    EXPECT_EQ(controller->docController().currentVekDocument(), first);
}

TEST(WindowFrame, TextFormIsBottomUpAndOffScreenFramesAreRefused)
{
    const QRect screen(0, 0, 1280, 1024);
    const QRect frame(100, 50, 600, 400);
    const QString text = windowFrameString(frame, screen);
    EXPECT_EQ(text, QStringLiteral("100 574 600 400 0 0 1280 1024"));
    EXPECT_EQ(windowFrameFromString(text, screen), frame);
    EXPECT_EQ(windowFrameFromString(QStringLiteral("100 574 10 400"), screen), std::nullopt);
    EXPECT_EQ(windowFrameFromString(QStringLiteral("5000 574 600 400"), screen), std::nullopt);
    EXPECT_EQ(windowFrameFromString(QStringLiteral("{{1, 2}, {3, 4}}"), screen), std::nullopt);
}

TEST(WindowFrame, NewWindowsCascadeWithinTheFreeAreaOfTheScreen)
{
    const QRect screen(0, 0, 1600, 1000);
    struct Case {
        QRect frame;
        QList<QRect> others;
        QRect expected;
    };
    const Case cases[] = {
        // Unplaced (at 0, 0): clear of the title bar and the palette's column.
        {QRect(0, 0, 900, 800), {}, QRect(48, 40, 900, 800)},
        // A step down and right from the window in the same place, then from that one too.
        {QRect(48, 40, 900, 800), {QRect(48, 40, 900, 800)}, QRect(76, 68, 900, 800)},
        {QRect(48, 40, 900, 800), {QRect(48, 40, 900, 800), QRect(76, 68, 900, 800)}, QRect(104, 96, 900, 800)},
        // Larger than the free area: fitted; stepping then gives up a step of its size.
        {QRect(0, 0, 3000, 2000), {}, QRect(48, 40, 1544, 952)},
        {QRect(48, 40, 1544, 952), {QRect(48, 40, 1544, 952)}, QRect(76, 68, 1516, 924)},
        // A stored frame on the screen, away from the others, stays where it is.
        {QRect(300, 200, 600, 400), {QRect(48, 40, 900, 800)}, QRect(300, 200, 600, 400)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(cascadedWindowFrame(c.frame, c.others, screen), c.expected) << c.expected.x() << "," << c.expected.y();
}

TEST_F(ShellTest, ExportPartPutsTheCanvasIntoGrabbingAnArea)
{
    controller->startUp({});
    VekView &view = windows().front()->vekView();
    ASSERT_TRUE(controller->responderChain().performAction(QStringLiteral("exportPart"), ActionSender()));
    EXPECT_TRUE(view.grabArea().isActive());
    EXPECT_EQ(view.cursorKindAtPoint(view.visibleRect().origin), CursorKind::Crosshair);
    view.endGrabEvent();
    EXPECT_FALSE(view.grabArea().isActive());
}
