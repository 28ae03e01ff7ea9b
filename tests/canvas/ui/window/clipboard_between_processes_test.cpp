// The clipboard between two Vekanto processes on one X server: another process copies three
// objects, this one pastes them as the same objects in the same order, placed by the paste
// rule, with the picture offered beside them for other programs.
#include "canvas/ui/vek_view.h"

#include "document/vek_document.h"
#include "model/vek_object.h"
#include "tests/support/golden_image.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QCursor>
#include <QMimeData>
#include <QProcess>

namespace {

// Runs the copying process; it serves the clipboard until it is told to stop.
class CopyingProcess {
public:
    CopyingProcess()
    {
        m_process.start(QStringLiteral(VEK_CLIPBOARD_SOURCE), QStringList());
        m_process.waitForStarted(10000);
        while (m_process.state() == QProcess::Running && !m_process.canReadLine())
            m_process.waitForReadyRead(10000);
        m_copied = m_process.readLine().trimmed() == "copied";
    }
    ~CopyingProcess()
    {
        m_process.write("done\n");
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
    }
    bool copied() const { return m_copied; }

private:
    QProcess m_process;
    bool m_copied = false;
};

TEST(ClipboardBetweenProcesses, ThreeCopiedObjectsPasteAsTheSameObjectsPlacedByTheRule)
{
    ensureWidgetApp();
    CopyingProcess other;
    ASSERT_TRUE(other.copied());

    const QMimeData *offered = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(offered);
    EXPECT_TRUE(offered->hasFormat(VekantoDocumentMimeType));
    EXPECT_TRUE(offered->hasImage());

    VekDocument doc;
    doc.setDrawAreaSizePerPage({400, 300});
    VekView view(doc);
    view.setFrameShape(QFrame::NoFrame);
    view.resize(400, 300);
    view.move(0, 0);
    view.show();
    waitForExposure(view);
    // The mouse away from the canvas: the paste goes to the visible origin.
    QCursor::setPos(1270, 1010);
    QCoreApplication::processEvents();

    view.paste();
    ASSERT_EQ(doc.objects().size(), 3u);
    // Front to back as copied; the back-most (the first selected) at the visible origin and
    // the others where they lay beside it.
    const Point origin = view.visibleRect().origin;
    const Rect expected[] = {Rect(150, 110, 30, 70), Rect(70, 40, 50, 50), Rect(0, 0, 60, 30)};
    for (size_t i = 0; i < 3; ++i) {
        const Rect b = doc.objects()[i]->bounds();
        EXPECT_EQ(Rect(b.origin.x - origin.x, b.origin.y - origin.y, b.width(), b.height()), expected[i]) << i;
        EXPECT_EQ(doc.objects()[i]->className(), "VekObjPath");
    }
    EXPECT_EQ(doc.objects()[0]->fillColor(), Color::greenColor());
    EXPECT_EQ(doc.objects()[2]->fillColor(), Color::redColor());
    EXPECT_EQ(view.selectedObjects().size(), 3u);
    EXPECT_EQ(view.selectedObjects().front(), doc.objects()[2]);
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Paste");
}

} // namespace
