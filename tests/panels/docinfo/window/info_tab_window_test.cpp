// The info tab as a user edits it: metadata typed into the panel reach the window's title and
// the exported PDF, and undo and redo take them back and forth.
#include "tests/panels/docinfo/window/doc_info_fixture.h"

#include "export/pdf_export.h"
#include "panels/docinfo/info_tab.h"
#include "panels/picker/colour_pick.h"
#include "tests/support/colour_swatch.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>

namespace {

const auto *const configHome = ::testing::AddGlobalTestEnvironment(new PrivateConfigHome);

QString windowTitleShown(const QWidget &window)
{
    return window.windowTitle().remove(QStringLiteral("[*]"));
}

} // namespace

TEST_F(DocInfoWindowTest, MetadataReachTheWindowTitleAndTheExportedPdfAndUndoAll)
{
    openPanel();
    InfoTab &info = *panel().infoTab;
    ASSERT_TRUE(info.txTitle->isEnabled());

    typeInto(info.txTitle, QStringLiteral("Quarterly Plan"));
    endPass();
    typeInto(info.txAuthor, QStringLiteral("Ada Byron"));
    endPass();
    typeInto(info.txKeywords, QStringLiteral("plan, money"));
    endPass();
    EXPECT_EQ(windowTitleShown(*window), QStringLiteral("Untitled [Quarterly Plan]"));
    EXPECT_EQ(document().author(), QStringLiteral("Ada Byron"));

    const QString pdf = path(QStringLiteral("plan.pdf"));
    QString error;
    ASSERT_TRUE(saveAsPdf(document(), pdf, ExportSelection{}, 0, window->displayName(), &error))
        << error.toStdString();
    const QString pdfInfo = run(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(pdfInfo.contains(QRegularExpression(QStringLiteral("Title:\\s+Quarterly Plan")))) << pdfInfo.toStdString();
    EXPECT_TRUE(pdfInfo.contains(QRegularExpression(QStringLiteral("Author:\\s+Ada Byron")))) << pdfInfo.toStdString();
    EXPECT_TRUE(pdfInfo.contains(QRegularExpression(QStringLiteral("Keywords:\\s+plan, money")))) << pdfInfo.toStdString();

    // A drawing option, then undo of everything and redo of everything.
    const bool smooth = document().smoothFonts();
    info.optSmoothFonts->click();
    endPass();
    EXPECT_NE(document().smoothFonts(), smooth);
    for (int step = 0; step < 4; ++step)
        undo();
    EXPECT_EQ(document().smoothFonts(), smooth);
    EXPECT_EQ(document().title(), QString());
    EXPECT_EQ(document().author(), QString());
    EXPECT_EQ(document().keywords(), QString());
    EXPECT_EQ(windowTitleShown(*window), QStringLiteral("Untitled"));
    EXPECT_EQ(info.txTitle->text(), QString());
    for (int step = 0; step < 4; ++step)
        redo();
    EXPECT_EQ(document().title(), QStringLiteral("Quarterly Plan"));
    EXPECT_EQ(document().author(), QStringLiteral("Ada Byron"));
    EXPECT_EQ(document().keywords(), QStringLiteral("plan, money"));
    EXPECT_NE(document().smoothFonts(), smooth);
    EXPECT_EQ(windowTitleShown(*window), QStringLiteral("Untitled [Quarterly Plan]"));
    EXPECT_EQ(info.txAuthor->text(), QStringLiteral("Ada Byron"));
}

TEST_F(DocInfoWindowTest, FollowsTheMainWindowAndBlanksWithoutOne)
{
    openPanel();
    typeInto(panel().infoTab->txTitle, QStringLiteral("First"));
    choose(QStringLiteral("File"), QStringLiteral("New"));
    VEK_WAIT_FOR((controller->docController().documentWindows().size()) == (size_t(2)));
    VekDocumentWindow *second = controller->docController().documentWindows().back();
    second->activateWindow();
    VEK_WAIT_FOR(panel().currentDocument() == &second->document());
    EXPECT_EQ(panel().infoTab->txTitle->text(), QString());

    for (VekDocumentWindow *w : controller->docController().documentWindows()) {
        w->document().documentWasSaved();
        w->close();
    }
    flushDeletes();
    VEK_WAIT_FOR(!panel().isVisible());
    EXPECT_FALSE(panel().currentDocument());
    EXPECT_FALSE(panel().infoTab->txTitle->isEnabled());
}

TEST_F(DocInfoWindowTest, TheBackgroundColourIsPickedFromTheScreenAndUndoes)
{
    openPanel();
    InfoTab &info = *panel().infoTab;
    const QColor known(200, 40, 120);
    QWidget swatch;
    showColourSwatch(swatch, known, QRect(900, 700, 100, 100));
    const Color before = document().backgroundColor();

    info.btnColorPickBG->click();
    EXPECT_TRUE(info.btnColorPickBG->isChecked());
    ASSERT_EQ(pickColorOwner(), &info);
    QWidget *picker = fullWindow();
    waitForExposure(*picker);
    QTest::mouseClick(picker, Qt::LeftButton, Qt::NoModifier, picker->mapFromGlobal(QPoint(950, 750)));
    endPass();
    EXPECT_EQ(pickColorOwner(), nullptr);
    EXPECT_FALSE(info.btnColorPickBG->isChecked());
    const Color picked = document().backgroundColor();
    EXPECT_NEAR(picked.redComponent(), known.redF(), 0.01);
    EXPECT_NEAR(picked.greenComponent(), known.greenF(), 0.01);
    EXPECT_NEAR(picked.blueComponent(), known.blueF(), 0.01);
    undo();
    EXPECT_EQ(document().backgroundColor(), before);
    redo();
    EXPECT_EQ(document().backgroundColor(), picked);
}
