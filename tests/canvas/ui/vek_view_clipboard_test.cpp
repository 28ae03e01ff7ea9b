// Copy, cut, paste and duplicate through the system clipboard, with the offset rule that
// repeats the user's last offset, and drops of colours and files.
#include "tests/canvas/ui/canvas_session.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

namespace {

TEST_F(CanvasSession, CopiedObjectsPasteIntoAnotherDocumentInOrderWithTheirGroups)
{
    const auto a = add(Rect(10, 10, 50, 50));
    const auto b = add(Rect(100, 10, 50, 50));
    const auto c = add(Rect(200, 10, 50, 50));
    doc.groupObjects({a, b});
    view->selectObjects({a, b, c});
    view->copy();
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->hasFormat(VekantoDocumentMimeType));
    EXPECT_TRUE(mime->hasImage());

    VekDocument other;
    other.setDrawAreaSizePerPage({400, 300});
    VekView otherView(other);
    otherView.resize(400, 300);
    otherView.paste();
    other.undoManager()->closeEventGroup();
    ASSERT_EQ(other.objects().size(), 3u);
    EXPECT_EQ(other.undoManager()->undoActionName(), "Paste");
    // Same front-to-back order; the two that shared a group share a new one.
    EXPECT_EQ(other.objects()[0]->bounds().size, c->bounds().size);
    EXPECT_TRUE(other.objects()[0]->groupID().isEmpty());
    EXPECT_FALSE(other.objects()[1]->groupID().isEmpty());
    EXPECT_EQ(other.objects()[1]->groupID(), other.objects()[2]->groupID());
    EXPECT_EQ(otherView.selectedObjects().size(), 3u);
    other.undoManager()->undo();
    EXPECT_TRUE(other.objects().empty());
}

TEST_F(CanvasSession, RepeatedPastesStepOnByTheUsersLastOffset)
{
    const auto a = add(Rect(200, 100, 40, 30));
    view->selectObjects({a});
    view->copy();
    // The mouse is not over the canvas: the first copy goes to the visible origin.
    QCursor::setPos(5000, 5000);
    view->paste();
    doc.undoManager()->closeEventGroup();
    const auto first = doc.objects()[0];
    EXPECT_EQ(first->bounds().origin, (Point{0, 0}));

    // The user puts the copy 50 left of and 20 above the original: the next paste repeats
    // that offset, compared by magnitude (a negative offset is a real one, not "unmoved").
    first->moveBy(150, 80);
    view->paste();
    doc.undoManager()->closeEventGroup();
    EXPECT_EQ(doc.objects()[0]->bounds().origin, (Point{100.5f, 60.5f}));
    view->paste();
    doc.undoManager()->closeEventGroup();
    EXPECT_EQ(doc.objects()[0]->bounds().origin, (Point{51.5f, 41.5f}));
}

TEST_F(CanvasSession, CutIsOneStepAndDuplicateRepeatsTheOffset)
{
    const auto a = add(Rect(20, 20, 40, 30));
    add(Rect(300, 200, 20, 20));
    view->selectObjects({a});
    doc.undoManager()->removeAllActions();
    view->cut();
    doc.undoManager()->closeEventGroup();
    EXPECT_EQ(doc.objects().size(), 1u);
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Cut");
    undo();
    ASSERT_EQ(doc.objects().size(), 2u);

    view->selectObjects({a});
    view->duplicate();
    doc.undoManager()->closeEventGroup();
    const auto copy1 = doc.objects()[0];
    EXPECT_EQ(copy1->bounds().origin, (Point{30, 30}));
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Duplicate");
    copy1->moveBy(20, 0);                  // the user puts the copy 30 right, 10 down
    view->duplicate();
    doc.undoManager()->closeEventGroup();
    EXPECT_EQ(doc.objects()[0]->bounds().origin, (Point{80, 40}));
}

TEST_F(CanvasSession, DropsRecolourTheSelectedObjectAndMakeImagesFromFiles)
{
    const auto a = add(Rect(20, 20, 40, 30));
    QMimeData colour;
    colour.setColorData(QColor(Qt::green));
    EXPECT_FALSE(view->dropMimeData(colour, {30, 30}, false));   // not selected
    view->selectObjects({a});
    EXPECT_TRUE(view->dropMimeData(colour, {30, 30}, false));
    EXPECT_EQ(a->fillColor(), Color::colorWithCalibratedRed(0, 1, 0));

    QTemporaryDir dir;
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    const QString file = dir.filePath(QStringLiteral("p.png"));
    ASSERT_TRUE(picture.save(file));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(file), QUrl::fromLocalFile(file)});
    EXPECT_TRUE(view->dropMimeData(files, {100, 100}, false));
    ASSERT_EQ(doc.objects().size(), 3u);
    EXPECT_EQ(doc.objects()[1]->bounds(), Rect(100, 100, 30, 20));
    EXPECT_EQ(doc.objects()[0]->bounds(), Rect(100, 110, 30, 20));
    EXPECT_EQ(doc.objects()[0]->className(), "VekObjImage");

    // A picture larger than the canvas is fitted against the side it fills.
    QImage wide(800, 100, QImage::Format_RGB32);
    wide.fill(Qt::red);
    EXPECT_TRUE(view->makeNewImageObjectFromImage(wide, {50, 50}));
    EXPECT_EQ(doc.objects()[0]->bounds(), Rect(0, 50, 400, 50));
}

} // namespace

namespace {

TEST_F(CanvasSession, MenuCommandsReachTheCanvasThroughItsResponder)
{
    const auto a = add(Rect(10, 10, 50, 50));
    const auto b = add(Rect(100, 10, 50, 50));
    ActionSender sender;
    EXPECT_TRUE(view->respondsToAction(QStringLiteral("group")));
    EXPECT_FALSE(view->respondsToAction(QStringLiteral("saveDocument")));
    EXPECT_FALSE(view->validateAction(QStringLiteral("copy"), sender));   // nothing selected

    view->selectObjects({a, b});
    ASSERT_TRUE(view->validateAction(QStringLiteral("group"), sender));
    EXPECT_TRUE(view->performAction(QStringLiteral("group"), sender));
    doc.undoManager()->closeEventGroup();
    EXPECT_FALSE(a->groupID().isEmpty());
    EXPECT_EQ(a->groupID(), b->groupID());
    EXPECT_TRUE(view->performAction(QStringLiteral("alignTop"), sender));
    undo();
    undo();
    EXPECT_TRUE(a->groupID().isEmpty());

    view->performAction(QStringLiteral("snapsToGrid"), sender);
    EXPECT_TRUE(view->snapsToGrid());
    view->validateAction(QStringLiteral("snapsToGrid"), sender);
    EXPECT_EQ(sender.state, 1);
}

} // namespace

namespace {

TEST_F(CanvasSession, PastedTextBecomesATextBoxOrRunsAlongASelectedPath)
{
    QCursor::setPos(5000, 5000);
    QGuiApplication::clipboard()->setText(QStringLiteral("Hello there"));
    view->paste();
    doc.undoManager()->closeEventGroup();
    ASSERT_EQ(doc.objects().size(), 1u);
    EXPECT_EQ(doc.objects()[0]->className(), "VekObjText");
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Paste");

    QMimeData text;
    text.setText(QStringLiteral("along"));
    const auto path = add(Rect(100, 150, 200, 40));
    view->selectObjects({path});
    EXPECT_TRUE(view->dropMimeData(text, {150, 170}, false));
    EXPECT_EQ(doc.objects().size(), 2u);
    ASSERT_TRUE(path->attStringForPath());
    EXPECT_EQ(path->attStringForPath()->string(), "along");
}

} // namespace
