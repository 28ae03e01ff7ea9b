// The save-pages and text export panels offscreen, the writing of chosen pages, and the
// grabbed-area export run through its panel.
#include "app/document/document_shell_services.h"
#include "app/document/export_panel.h"
#include "app/document/save_pages_panel.h"
#include "app/document/text_export_panel.h"
#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// Five pages of 100 x 100 points, each with a square whose width is its page number x 10.
void fillFivePages(VekDocument &document)
{
    document.setDrawAreaSizePerPage({100, 100});
    document.setNumberOfPages(5);
    for (int page = 1; page <= 5; ++page) {
        auto square = VekObjPath::create();
        const Rect r(10, 10 + 100 * float(page - 1), 10 * float(page), 10);
        square->setBezierPath(BezierPath::bezierPathWithRect(r));
        square->setBounds(r);
        document.insertObject(square, 0, false);
    }
}

// The widths of the squares of a saved document, page by page.
std::vector<int> squareWidthsByPage(const QString &path)
{
    VekDocument saved;
    EXPECT_TRUE(saved.readFromFile(path, nullptr));
    std::vector<int> widths(size_t(saved.numberOfPages()), 0);
    for (const auto &object : saved.objects()) {
        const int page = int(object->bounds().minY()) / 100;
        if (page >= 0 && page < int(widths.size()))
            widths[size_t(page)] = int(object->bounds().width());
    }
    return widths;
}

// Accepts the modal export panel that opens next, with the format chosen and the name typed.
void acceptNextExportWith(const QString &format, const QString &path)
{
    QTimer::singleShot(0, [format, path] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        dialog->findChild<QComboBox *>("exportFormat")->setCurrentText(format);
        dialog->findChild<QLineEdit *>("fileNameEdit")->setText(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

} // namespace

TEST(SavePages, ThePageListChoosesAndOrdersThePages)
{
    ensureWidgetApp();
    struct Case {
        const char *list;
        SavePagesResult result;
        std::vector<int> widths;
    };
    const Case cases[] = {
        {"2,9,1", SavePagesResult::Saved, {20, 10}},
        {"3,abc", SavePagesResult::Saved, {30}},
        // A repeated page gives a page more; its objects are written once.
        {"4,4", SavePagesResult::Saved, {40, 0}},
        {"0,2", SavePagesResult::ImproperPages, {}},
        {"9", SavePagesResult::ImproperPages, {}},
        {"", SavePagesResult::ImproperPages, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.list);
        VekDocument document;
        fillFivePages(document);
        QTemporaryDir dir;
        const QString path = dir.filePath("pages.vek");
        EXPECT_EQ(savePagesOfDocument(document, c.list, path), c.result);
        if (c.result == SavePagesResult::Saved)
            EXPECT_EQ(squareWidthsByPage(path), c.widths);
        else
            EXPECT_FALSE(QFile::exists(path));
    }
}

// The pages are stored as readable text when the preferences ask for it, else as an archive.
TEST(SavePages, TheStoredFormFollowsTheReadableTextPreference)
{
    ensureWidgetApp();
    struct Shell : DocumentShellServices {
        bool formatted = false;
        bool saveFormatted() const override { return formatted; }
    } shell;
    setDocumentShellServices(&shell);
    for (const bool formatted : {false, true}) {
        shell.formatted = formatted;
        VekDocument document;
        fillFivePages(document);
        QTemporaryDir dir;
        const QString path = dir.filePath("pages.vek");
        ASSERT_EQ(savePagesOfDocument(document, "2,1", path), SavePagesResult::Saved);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().startsWith("{"), formatted);
        EXPECT_EQ(squareWidthsByPage(path), (std::vector<int>{20, 10}));
    }
    setDocumentShellServices(nullptr);
}

TEST(SavePages, PanelProposesAnExtractAndKeepsTheVekExtension)
{
    ensureWidgetApp();
    SavePagesPanel panel(nullptr, "plan.vek");
    auto *name = panel.findChild<QLineEdit *>("fileNameEdit");
    ASSERT_TRUE(name && panel.findChild<QLineEdit *>("savePages"));
    EXPECT_EQ(name->text(), "plan_extract.vek");
    panel.selectFile("/tmp/part.txt");
    EXPECT_EQ(panel.chosenPath(), "/tmp/part.txt.vek");
}

TEST(TextExportPanel, TheFormChoosesTheExtensionAndTheEncoding)
{
    ensureWidgetApp();
    TextExportPanel panel(nullptr, "plan.vek", false);
    auto *name = panel.findChild<QLineEdit *>("fileNameEdit");
    auto *plain = panel.findChild<QRadioButton *>("plainText");
    auto *encoding = panel.findChild<QComboBox *>("textEncoding");
    ASSERT_TRUE(name && plain && encoding);
    EXPECT_EQ(name->text(), "plan.rtf");
    EXPECT_TRUE(panel.rtf());
    EXPECT_FALSE(encoding->isEnabled());
    EXPECT_FALSE(panel.findChild<QCheckBox *>("savePDFtxt")->isEnabled());
    plain->setChecked(true);
    EXPECT_EQ(name->text(), "plan.txt");
    EXPECT_TRUE(encoding->isEnabled());
    EXPECT_EQ(panel.encoding(), "UTF-8");
    encoding->setCurrentIndex(encoding->findData(QByteArray("ISO-8859-1")));
    EXPECT_EQ(panel.encoding(), "ISO-8859-1");
    // A name typed with .txt while RTF is chosen keeps it and gets .rtf.
    panel.findChild<QRadioButton *>("rtfText")->setChecked(true);
    panel.selectFile("/tmp/notes.txt");
    EXPECT_EQ(panel.chosenPath(), "/tmp/notes.txt.rtf");
}

TEST(SaveSelectedPart, WritesTheAreaInTheChosenFormat)
{
    ensureWidgetApp();
    VekDocument document;
    fillFivePages(document);
    QTemporaryDir dir;
    const QString path = dir.filePath("area.pdf");
    acceptNextExportWith("pdf", path);
    ASSERT_TRUE(saveSelectedPart(nullptr, document, "plan.vek", Rect(0, 100, 60, 40), {}));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));
    // Cancelled, nothing is written.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(saveSelectedPart(nullptr, document, "plan.vek", Rect(0, 100, 60, 40), {}));
}
