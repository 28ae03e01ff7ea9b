// File commands as a new user meets them: Export with a whole path typed into the name field
// writes there, and Place Image puts pictures, PDF pages and SVG drawings on the current page
// at their natural size (fitted to a smaller page), undoably.
#include "tests/app/desktop/desktop_driver.h"

#include "model/vek_obj_image.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>

namespace {

// Fills the open file panel's name field with `path` and confirms it with Return.
void typePathAndReturn(QFileDialog &panel, const QString &path)
{
    auto *name = panel.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    ASSERT_TRUE(name);
    name->setFocus();
    name->setText(path);
    QTest::keyClick(name, Qt::Key_Return);
}

struct Placed {
    QString kind;
    Rect bounds;
};

std::vector<Placed> placedObjects(const VekDocument &document)
{
    std::vector<Placed> placed;
    for (const auto &object : document.objects())
        placed.push_back({object->className(), object->bounds()});
    return placed;
}

} // namespace

TEST_F(WindowTest, ExportWritesToAWholePathTypedIntoTheNameField)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    drawRectangle(canvas, {40, 40}, {200, 120});
    // A folder other than the one the panel shows, as a user types /home/me/out.pdf.
    QDir(folder.path()).mkdir(QStringLiteral("elsewhere"));
    const QString target = path(QStringLiteral("elsewhere/out.pdf"));
    bool closed = false;
    answerModal<QFileDialog>([&] { menuItem(window, QStringLiteral("File"), QStringLiteral("Export..."))->trigger(); },
                             [&](QFileDialog &panel) {
                                 auto *format = panel.findChild<QComboBox *>(QStringLiteral("exportFormat"));
                                 ASSERT_TRUE(format);
                                 format->setCurrentText(QStringLiteral("pdf"));
                                 typePathAndReturn(panel, target);
                                 closed = !panel.isVisible();
                                 if (!closed)
                                     panel.reject();
                             });
    EXPECT_TRUE(closed) << "the export panel stayed open";
    EXPECT_GT(QFileInfo(target).size(), 0);

    // Typed key by key, as a user types it: the file list selects each folder on the way and
    // the name completer offers what it knows.
    QFile(target).rename(path(QStringLiteral("elsewhere/old.pdf")));
    const QString typed = path(QStringLiteral("elsewhere/typed.pdf"));
    closed = false;
    answerModal<QFileDialog>([&] { menuItem(window, QStringLiteral("File"), QStringLiteral("Export..."))->trigger(); },
                             [&](QFileDialog &panel) {
                                 auto *name = panel.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                                 ASSERT_TRUE(name);
                                 name->setFocus();
                                 name->selectAll();
                                 QTest::keyClicks(name, typed);
                                 // Return where the typing went: on a busy machine the offscreen
                                 // platform can leave the application's focus on the completer's
                                 // list after it hid.
                                 QTest::keyClick(name, Qt::Key_Return);
                                 closed = QTest::qWaitFor([&] { return !panel.isVisible(); }, 15000);   // the export runs first: slow on a busy machine
                                 if (!closed)
                                     panel.reject();
                             });
    EXPECT_TRUE(closed) << "the export panel stayed open";
    EXPECT_GT(QFileInfo(typed).size(), 0);
}

TEST_F(WindowTest, PlaceImagePutsFilesOnTheCurrentPageAtTheirNaturalSizeUndoably)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    VekDocument &document = window.document();
    const Rect page = window.vekView().rectForPage(1);

    QImage small(40, 30, QImage::Format_RGB32);
    small.fill(Qt::red);
    ASSERT_TRUE(small.save(path(QStringLiteral("small.png"))));
    QImage wide(int(page.width()) * 2, 50, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    ASSERT_TRUE(wide.save(path(QStringLiteral("wide.png"))));
    {
        QPdfWriter pdf(path(QStringLiteral("page.pdf")));
        pdf.setPageSize(QPageSize(QSizeF(100, 60), QPageSize::Point));
        pdf.setPageMargins(QMarginsF());
        QPainter painter(&pdf);
        painter.fillRect(QRectF(0, 0, 50, 50), Qt::green);
    }
    QFile svg(path(QStringLiteral("shape.svg")));
    ASSERT_TRUE(svg.open(QIODevice::WriteOnly));
    svg.write("<svg xmlns='http://www.w3.org/2000/svg' width='120' height='80'>"
              "<rect x='10' y='10' width='100' height='60' fill='orange'/></svg>");
    svg.close();
    QFile broken(path(QStringLiteral("broken.png")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("no picture in here");
    broken.close();

    const auto place = [&](const QString &name) {
        answerModal<QFileDialog>(
            [&] { menuItem(window, QStringLiteral("File"), QStringLiteral("Place Image..."))->trigger(); },
            [&](QFileDialog &panel) { typePathAndReturn(panel, path(name)); });
    };
    const auto centred = [&](const Rect &r) {
        EXPECT_NEAR(r.midX(), page.midX(), 1);
        EXPECT_NEAR(r.midY(), page.midY(), 1);
    };

    place(QStringLiteral("small.png"));
    ASSERT_EQ(document.objects().size(), 1u);
    EXPECT_EQ(document.objects().front()->className(), QStringLiteral("VekObjImage"));
    EXPECT_EQ(document.objects().front()->bounds().size, (Size{40, 30}));
    centred(document.objects().front()->bounds());
    EXPECT_EQ(document.undoManager()->undoActionName(), QStringLiteral("Place Image"));

    place(QStringLiteral("wide.png"));   // wider than the page: fitted, proportions kept
    ASSERT_EQ(document.objects().size(), 2u);
    EXPECT_NEAR(document.objects().front()->bounds().width(), page.width(), 0.5);
    EXPECT_NEAR(document.objects().front()->bounds().height(), 50 * page.width() / wide.width(), 0.5);

    place(QStringLiteral("page.pdf"));
    ASSERT_EQ(document.objects().size(), 3u);
    EXPECT_EQ(document.objects().front()->className(), QStringLiteral("VekObjImage"));
    EXPECT_NEAR(document.objects().front()->bounds().width(), 100, 0.5);
    EXPECT_NEAR(document.objects().front()->bounds().height(), 60, 0.5);

    place(QStringLiteral("shape.svg"));   // the drawing's objects, not a picture of it
    ASSERT_EQ(document.objects().size(), 4u);
    EXPECT_EQ(document.objects().front()->className(), QStringLiteral("VekObjPath"));
    EXPECT_NEAR(document.objects().front()->bounds().width(), 100, 1);
    centred(document.objects().front()->bounds());

    // A file that holds no picture gets an alert naming it and changes nothing.
    QString alert;
    answerModal<QMessageBox>([&] { place(QStringLiteral("broken.png")); },
                             [&](QMessageBox &box) {
                                 alert = box.text();
                                 box.accept();
                             });
    EXPECT_TRUE(alert.contains(QStringLiteral("broken.png")));
    EXPECT_EQ(document.objects().size(), 4u);

    const std::vector<Placed> all = placedObjects(document);
    undoAllThenRedoAll(
        canvas, [&] { EXPECT_TRUE(document.objects().empty()); },
        [&] {
            const std::vector<Placed> again = placedObjects(document);
            ASSERT_EQ(again.size(), all.size());
            for (size_t i = 0; i < all.size(); ++i) {
                EXPECT_EQ(again[i].kind, all[i].kind);
                EXPECT_EQ(again[i].bounds, all[i].bounds);
            }
        });
}
