// Commands a user reaches from the menus: the open panel offers every kind of file the
// program opens, a file that cannot be opened gets an alert whose text names it and says
// what is wrong, and the plain-path conversion and the page background are menu items.
#include "tests/app/window/window_driver.h"

#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_points.h"
#include "panels/colour_panel.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

TEST_F(WindowTest, TheOpenPanelOffersEveryKindOfFileTheProgramOpens)
{
    VekDocumentWindow &window = start();
    QStringList filters;
    answerModal<QFileDialog>([&] { menuItem(window, QStringLiteral("File"), QStringLiteral("Open..."))->trigger(); },
                             [&](QFileDialog &panel) {
                                 filters = panel.nameFilters();
                                 panel.reject();
                             });
    ASSERT_FALSE(filters.isEmpty());
    for (const char *pattern : {"*.vek", "*.svg", "*.pdf", "*.png", "*.jpg", "*.tif", "*.rtf", "*.rtfd", "*.qomt"})
        EXPECT_TRUE(filters.first().contains(QString::fromLatin1(pattern))) << pattern;
    EXPECT_TRUE(filters.last().contains(QStringLiteral("(*)")));
}

TEST_F(WindowTest, AFileThatCannotBeOpenedGetsAnAlertNamingItInPlainWords)
{
    start();
    struct Case {
        const char *file;
        QByteArray bytes;
        const char *says;
    };
    const std::vector<Case> cases = {
        {"cut-short.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\"><rect x=\"1", "damaged"},
        {"broken.png", QByteArray("\x89PNG\r\n\x1a\n garbage", 17), "damaged"},
        {"broken.pdf", "%PDF-1.4\nnothing else", "damaged"},
        {"bad.qomt", "{ QMObjectInfo = ( ", "damaged"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        QFile file(path(QString::fromLatin1(c.file)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
        file.close();
        QString text;
        answerModal<QMessageBox>([&] { controller->applicationOpenFile(file.fileName()); },
                                 [&](QMessageBox &alert) {
                                     text = alert.text();
                                     alert.accept();
                                 });
        EXPECT_TRUE(text.contains(QString::fromLatin1(c.file))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromLatin1(c.says))) << text.toStdString();
        for (const char *jargon : {"Unable to read", "closing", "nothing that can be drawn"})
            EXPECT_FALSE(text.contains(QString::fromLatin1(jargon))) << text.toStdString();
    }
}

TEST_F(WindowTest, ConvertToPlainPathIsAMenuCommandThatUndoes)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    chooseTool(QStringLiteral("Point pen"));
    canvas.drag({20, 130}, {140, 180});
    canvas.drag({140, 180}, {260, 130});
    chooseTool(QStringLiteral("Arrow"));
    ASSERT_EQ(window.document().objects().size(), 1u);
    const std::shared_ptr<VekObject> drawn = window.document().objects().front();
    ASSERT_TRUE(dynamic_cast<VekObjPoints *>(drawn.get()));
    canvas.view.selectObjectExclusively(drawn);
    QAction *convert = menuItem(window, QStringLiteral("Arrange"), QStringLiteral("Convert to Plain Path"));
    ASSERT_TRUE(convert);
    convert->trigger();
    QCoreApplication::processEvents();
    ASSERT_EQ(window.document().objects().size(), 1u);
    EXPECT_EQ(window.document().objects().front()->className(), QStringLiteral("VekObjPath"));
    window.document().undoManager()->undo();
    ASSERT_EQ(window.document().objects().size(), 1u);
    EXPECT_EQ(window.document().objects().front(), drawn);
    window.document().undoManager()->redo();
    EXPECT_EQ(window.document().objects().front()->className(), QStringLiteral("VekObjPath"));
}

TEST_F(WindowTest, BackgroundColorOpensTheColourPanelForThePageBackground)
{
    VekDocumentWindow &window = start();
    QAction *item = menuItem(window, QStringLiteral("Page"), QStringLiteral("Background Color..."));
    ASSERT_TRUE(item);
    item->trigger();
    ColourPanel &panel = ColourPanel::sharedColorPanel();
    QTRY_VERIFY(panel.isVisible());
    panel.pickColor(Color::colorWithDeviceRed(1, 0.5f, 0, 1));
    const Color background = window.document().backgroundColor();
    EXPECT_EQ(background.colorSpaceName(), CalibratedRGBColorSpace);
    EXPECT_NEAR(background.redComponent(), 1, 0.01);
    EXPECT_NEAR(background.greenComponent(), 0.5, 0.01);
    EXPECT_TRUE(window.document().isDocumentEdited());
    panel.close();
}
