// The text tab and the page preview as a user works them: the word count follows typing into
// a text box drawn with the text tool, the font typed in is listed with its place, and a
// double-click on the place edits it on the canvas; the page preview opens from the menu.
#include "tests/panels/docinfo/window/doc_info_fixture.h"

#include "panels/docinfo/page_preview_panel.h"
#include "panels/docinfo/text_statistics_tab.h"

#include <QLabel>
#include <QListWidget>
#include <QTimer>

namespace {

const auto *const configHome = ::testing::AddGlobalTestEnvironment(new PrivateConfigHome);

// A press at `from`, moves and the release at `to`, from a timer inside the canvas's own loop.
void drag(QWidget *target, QPoint from, QPoint to)
{
    bool released = false;
    QTimer::singleShot(0, target, [&] {
        QTest::mouseMove(target, (from + to) / 2);
        QTest::mouseMove(target, to);
        QTest::mouseRelease(target, Qt::LeftButton, {}, to);
        released = true;
    });
    QTest::mousePress(target, Qt::LeftButton, {}, from);
    VEK_WAIT_FOR(released);
}

} // namespace

TEST_F(DocInfoWindowTest, TheWordCountFollowsTypingAndAFontPlaceIsEditedOnTheCanvas)
{
    openPanel();
    panel().selectTab(QStringLiteral("txt"));
    TextStatisticsTab &text = *panel().textTab;
    EXPECT_EQ(text.txWordCount->text(), QStringLiteral(" -"));

    choose(QStringLiteral("Tools"), QStringLiteral("Text"));
    window->activateWindow();
    VEK_WAIT_FOR(QApplication::activeWindow() == window);
    QWidget *canvas = view().viewport();
    drag(canvas, QPoint(200, 200), QPoint(500, 300));
    VEK_WAIT_FOR(view().editingObject());
    QTest::keyClicks(&view(), QStringLiteral("one two"));
    VEK_WAIT_FOR((text.txWordCount->text()) == (QStringLiteral("2")));
    QTest::keyClicks(&view(), QStringLiteral(" three"));
    VEK_WAIT_FOR((text.txWordCount->text()) == (QStringLiteral("3")));

    view().endEditing();
    view().clearSelection();
    text.updateFontInfo();
    ASSERT_EQ(text.tblFontInfo->count(), 1);
    text.tblFontInfo->setCurrentRow(0);
    ASSERT_EQ(text.tblFontSubInfo->count(), 1);
    EXPECT_EQ(text.tblFontSubInfo->item(0)->text(), QStringLiteral("one two three"));
    text.tblFontSubInfo->setCurrentRow(0);
    text.showObjectWithSelectedText();
    ASSERT_TRUE(view().editingObject());
    EXPECT_EQ(view().editingObject(), document().objects().front());
}

TEST_F(DocInfoWindowTest, ThePagePreviewOpensFromTheMenuAndClosesWithTheDocument)
{
    openPanel();
    ASSERT_FALSE(panel().previewPanel->isVisible());
    choose(QStringLiteral("Window"), QStringLiteral("Open Page Preview"));
    VEK_WAIT_FOR(panel().previewPanel->isVisible());
    const QImage &image = panel().previewPanel->image();
    ASSERT_FALSE(image.isNull());
    const PrintInfo &info = document().printInfo();
    EXPECT_NEAR(double(image.width()) / image.height(), double(info.paperSize.width) / info.paperSize.height, 0.02);
    choose(QStringLiteral("Window"), QStringLiteral("Close Page Preview"));
    EXPECT_FALSE(panel().previewPanel->isVisible());
}
