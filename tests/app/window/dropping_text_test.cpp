// Text a user drops on the canvas: text files become text boxes, and text dropped on a
// selected path runs along it; each is one undo step.
#include "tests/app/window/window_driver.h"

#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

namespace {

// A drag that enters the canvas at the point and is dropped there.
void dropOn(CanvasDriver &canvas, QMimeData *mime, Point at)
{
    const QPoint p = canvas.at(at.x, at.y);
    QDragEnterEvent enter(p, Qt::CopyAction, mime, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas.canvas(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(p), Qt::CopyAction, mime, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas.canvas(), &drop);
    QCoreApplication::processEvents();
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST_F(WindowTest, DroppedTextFilesBecomeTextBoxes)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    QDir(folder.path()).mkdir(QStringLiteral("letter.rtfd"));
    write(path(QStringLiteral("letter.rtfd/TXT.rtf")), "{\\rtf1\\ansi Folder text}");
    write(path(QStringLiteral("note.txt")), "Plain words");
    write(path(QStringLiteral("memo.RTF")), "{\\rtf1\\ansi Rich words}");
    write(path(QStringLiteral("page.html")), "<html><body><p>Web <b>words</b></p></body></html>");
    const std::vector<std::pair<QString, QString>> cases = {{QStringLiteral("note.txt"), QStringLiteral("Plain words")},
                                                            {QStringLiteral("memo.RTF"), QStringLiteral("Rich words")},
                                                            {QStringLiteral("page.html"), QStringLiteral("Web words")},
                                                            {QStringLiteral("letter.rtfd"), QStringLiteral("Folder text")}};
    for (const auto &[file, text] : cases) {
        SCOPED_TRACE(file.toStdString());
        auto *mime = new QMimeData;
        mime->setUrls({QUrl::fromLocalFile(path(file))});
        dropOn(canvas, mime, {60, 80});
        ASSERT_EQ(window.document().objects().size(), 1u);
        const auto *box = dynamic_cast<VekObjText *>(window.document().objects().front().get());
        ASSERT_TRUE(box);
        EXPECT_EQ(box->contents().string().trimmed(), text);
        window.document().undoManager()->undo();
        EXPECT_TRUE(window.document().objects().empty());
        delete mime;
    }
}

TEST_F(WindowTest, TextDroppedOnASelectedPathRunsAlongItAndUndoes)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    chooseTool(QStringLiteral("Object"));
    canvas.drag({40, 40}, {240, 140});
    chooseTool(QStringLiteral("Arrow"));
    ASSERT_EQ(window.document().objects().size(), 1u);
    auto *path = dynamic_cast<VekObjPath *>(window.document().objects().front().get());
    ASSERT_TRUE(path);
    ASSERT_FALSE(path->attStringForPath());
    canvas.view.selectObjectExclusively(window.document().objects().front());
    QCoreApplication::processEvents();
    auto *mime = new QMimeData;
    mime->setText(QStringLiteral("along the edge"));
    dropOn(canvas, mime, {140, 90});
    ASSERT_TRUE(path->attStringForPath());
    EXPECT_EQ(path->attStringForPath()->string(), QStringLiteral("along the edge"));
    ASSERT_TRUE(window.document().undoManager()->canUndo());
    window.document().undoManager()->undo();
    EXPECT_FALSE(path->attStringForPath());
    window.document().undoManager()->redo();
    ASSERT_TRUE(path->attStringForPath());
    delete mime;
}
