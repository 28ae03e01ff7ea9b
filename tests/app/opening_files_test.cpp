// Every kind of file opens as its document or gives an alert naming the file and the reason;
// damaged files never crash.
#include "tests/app/shell_fixture.h"

#include "document/vek_document.h"
#include "model/vek_object.h"
#include "platform/foundation/archiving.h"
#include "platform/geometry/bezier_path.h"
#include "platform/foundation/plist_text_format.h"
#include "platform/foundation/plist_xml_format.h"
#include "platform/pdf/pdf_document.h"
#include "platform/pdf/pdf_rewriter.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray pdfWithOnePage()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QSizeF(200, 100), QPageSize::Point));
    writer.setPageMargins(QMarginsF());
    QPainter painter(&writer);
    painter.fillRect(QRect(0, 0, 100, 100), Qt::red);
    painter.end();
    return buffer.data();
}

QByteArray encrypted(const QByteArray &pdf, const QByteArray &userPassword)
{
    PdfRewriter rewriter;
    EXPECT_TRUE(rewriter.openData(pdf));
    rewriter.setEncryption(userPassword, "owner");
    return rewriter.writeToData();
}

QByteArray pngOfSize(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

} // namespace

TEST_F(ShellTest, ImagesAndPdfFilesBecomeTheBackgroundOfANewDocument)
{
    writeFile(path(QStringLiteral("picture.png")), pngOfSize(120, 80));
    ASSERT_TRUE(controller->applicationOpenFile(path(QStringLiteral("picture.png"))));
    ASSERT_EQ(windows().size(), 1u);
    EXPECT_TRUE(windows().back()->document().backgroundImage().isValid());
    EXPECT_EQ(windows().back()->document().drawAreaSizePerPage(), (Size{120, 80}));

    writeFile(path(QStringLiteral("page.pdf")), pdfWithOnePage());
    ASSERT_TRUE(controller->applicationOpenFile(path(QStringLiteral("page.pdf"))));
    ASSERT_EQ(windows().size(), 2u);
    EXPECT_EQ(windows().back()->document().numberOfPagesOfBackgroundPDF(), 1);
    EXPECT_TRUE(windows().back()->filePath().isEmpty());

    // Without its extension a PDF is known by its content.
    writeFile(path(QStringLiteral("noextension")), pdfWithOnePage());
    EXPECT_TRUE(controller->applicationOpenFile(path(QStringLiteral("noextension"))));
    EXPECT_EQ(dialogs.passwordPrompts, 0);
    EXPECT_TRUE(dialogs.alerts.isEmpty()) << dialogs.alerts.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ShellTest, EncryptedPdfAsksForThePasswordOnlyWhileLocked)
{
    const QByteArray plain = pdfWithOnePage();
    // An owner password alone: opens without a question.
    writeFile(path(QStringLiteral("owner.pdf")), encrypted(plain, ""));
    EXPECT_TRUE(controller->applicationOpenFile(path(QStringLiteral("owner.pdf"))));
    EXPECT_EQ(dialogs.passwordPrompts, 0);

    writeFile(path(QStringLiteral("user.pdf")), encrypted(plain, "secret"));
    struct Case {
        const char *name;
        std::deque<std::optional<QString>> passwords;
        std::deque<bool> reenter;
        bool opens;
        int prompts;
        bool alert;
    };
    const std::vector<Case> cases = {
        {"cancelled", {std::nullopt}, {}, false, 1, false},
        {"empty", {QString()}, {}, false, 1, false},
        {"wrong then given up", {QStringLiteral("x")}, {false}, false, 1, false},
        {"five wrong", {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                        QStringLiteral("5"), QStringLiteral("6")},
         {true, true, true, true, true, true}, false, 5, true},
        {"wrong then right", {QStringLiteral("x"), QStringLiteral("secret")}, {true}, true, 2, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.passwordPrompts = 0;
        dialogs.alerts.clear();
        dialogs.passwords = c.passwords;
        dialogs.reenterAnswers = c.reenter;
        const size_t before = windows().size();
        EXPECT_EQ(controller->applicationOpenFile(path(QStringLiteral("user.pdf"))), c.opens);
        EXPECT_EQ(windows().size(), before + (c.opens ? 1 : 0));
        EXPECT_EQ(dialogs.passwordPrompts, c.prompts);
        EXPECT_EQ(dialogs.alerts.size(), c.alert ? 1 : 0);
    }

    // The opened document saves the decrypted pages: it reads again without a password.
    VekDocumentWindow *window = windows().back();
    ASSERT_TRUE(window->saveToPath(path(QStringLiteral("decrypted.vek")), false));
    VekDocument reread;
    ASSERT_TRUE(reread.readFromFile(path(QStringLiteral("decrypted.vek")), nullptr));
    EXPECT_EQ(reread.numberOfPagesOfBackgroundPDF(), 1);
}

TEST_F(ShellTest, TheTextlessPdfImportMakesADocumentWithoutMargins)
{
    writeFile(path(QStringLiteral("page.pdf")), pdfWithOnePage());
    dialogs.openPanelFiles = {path(QStringLiteral("page.pdf"))};
    ASSERT_TRUE(controller->performAction(QStringLiteral("importPDFimageOnly"), ActionSender()));
    ASSERT_EQ(windows().size(), 1u);
    const PrintInfo &info = windows().front()->document().printInfo();
    EXPECT_EQ(info.leftMargin, 0);
    EXPECT_EQ(info.topMargin, 0);
    EXPECT_EQ(windows().front()->document().numberOfPagesOfBackgroundPDF(), 1);
}

TEST_F(ShellTest, UnreadableFilesGiveAnAlertNamingTheFile)
{
    struct Case {
        const char *file;
        QByteArray bytes;
        const char *reasonPart;
    };
    const std::vector<Case> cases = {
        {"damaged.vek", QByteArray("{ objects = ( { class = VekObjPath; bounds = "), ""},
        {"binary.vek", QByteArrayLiteral("\x04\x0bstreamtyped\x81\xe8\x03\x84\x01"), ""},
        {"empty.vek", QByteArray(), ""},
        {"broken.pdf", QByteArray("%PDF-1.4\nnothing else"), ""},
        {"broken.png", QByteArrayLiteral("\x89PNG\r\n\x1a\n garbage"), ""},
        {"notes.txt", QByteArray("hello"), "kind"},
        {"drawing.svg", QByteArray("<svg/>"), ""},
        {"letter.rtf", QByteArray("plain words"), "RTF"},
        {"bad.qomt", QByteArray("{ QMObjectInfo = ( "), ""},
        {"list.qomt", QByteArray("( 1, 2 )"), ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        dialogs.alerts.clear();
        writeFile(path(QString::fromLatin1(c.file)), c.bytes);
        EXPECT_FALSE(controller->applicationOpenFile(path(QString::fromLatin1(c.file))));
        ASSERT_EQ(dialogs.alerts.size(), 1);
        EXPECT_TRUE(dialogs.alerts.first().contains(QString::fromLatin1(c.file)));
        EXPECT_FALSE(dialogs.alerts.first().section(QLatin1Char('|'), 1).isEmpty());
        EXPECT_TRUE(dialogs.alerts.first().contains(QString::fromLatin1(c.reasonPart)));
    }
    EXPECT_TRUE(windows().empty());
    dialogs.alerts.clear();
    EXPECT_FALSE(controller->applicationOpenFile(path(QStringLiteral("missing.vek"))));
    EXPECT_EQ(dialogs.alerts.size(), 1);
}

TEST_F(ShellTest, PredecessorDocumentsOpenFromTextAndXml)
{
    PropertyList page = PropertyList::dictionary();
    PropertyList entry = PropertyList::array();
    entry.append(PropertyList::fromData(archivedDataWithRootObject(BezierPath::bezierPathWithRect(Rect(0, 0, 100, 50))).value.value()));
    entry.append(PropertyList(QStringLiteral("{{10, 700}, {100, 50}}")));
    entry.append(PropertyList::dictionary());
    entry.append(PropertyList::fromData(QByteArray()));
    page.insert(QStringLiteral("a"), entry);
    PropertyList wrong = PropertyList::array();   // entries of the wrong shape are passed over
    wrong.append(PropertyList(QStringLiteral("x")));
    page.insert(QStringLiteral("b"), wrong);
    page.insert(QStringLiteral("c"), PropertyList::fromInt(3));
    PropertyList objects = PropertyList::dictionary();
    objects.insert(QStringLiteral("numPages"), PropertyList::fromInt(2));
    objects.insert(QStringLiteral("2"), page);
    PropertyList background = PropertyList::dictionary();
    background.insert(QStringLiteral("viewW"), PropertyList::fromFloat(500));
    background.insert(QStringLiteral("viewH"), PropertyList::fromFloat(842));
    background.insert(QStringLiteral("optShadow"), PropertyList::fromInt(1));
    background.insert(QStringLiteral("shadowA"), PropertyList::fromFloat(45));
    PropertyList contents = PropertyList::dictionary();
    contents.insert(QStringLiteral("QMBGInfo"), background);
    contents.insert(QStringLiteral("QMObjectInfo"), objects);
    contents.insert(QStringLiteral("printInfo"), PropertyList(QStringLiteral("not a dictionary")));

    writeFile(path(QStringLiteral("old.qomt")), textPropertyListData(contents));
    writeFile(path(QStringLiteral("oldxml.qomt")), xmlPropertyListData(contents));
    for (const char *file : {"old.qomt", "oldxml.qomt"}) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(controller->applicationOpenFile(path(QString::fromLatin1(file))));
        VekDocument &document = windows().back()->document();
        EXPECT_EQ(document.numberOfPages(), 2);
        EXPECT_EQ(document.drawAreaSizePerPage(), (Size{500, 842}));
        EXPECT_FLOAT_EQ(document.shadowAngle(), 315);
        ASSERT_EQ(document.objects().size(), 1u);
        // Page 2, y up from the page's bottom: 842 + 842 - 700 - 50.
        EXPECT_EQ(document.objects().front()->bounds(), Rect(10, 934, 100, 50));
        EXPECT_TRUE(windows().back()->filePath().isEmpty());
        EXPECT_EQ(windows().back()->displayName(), QString::fromLatin1(file));
    }
    EXPECT_TRUE(dialogs.alerts.isEmpty());
}

TEST_F(ShellTest, AnSvgFileOpensAsTheObjectsOfANewDocument)
{
    writeFile(path(QStringLiteral("shapes.svg")),
              QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200\" height=\"100\">"
                         "<rect x=\"10\" y=\"10\" width=\"50\" height=\"30\" fill=\"red\"/>"
                         "<circle cx=\"120\" cy=\"50\" r=\"20\"/></svg>"));
    EXPECT_TRUE(controller->applicationOpenFile(path(QStringLiteral("shapes.svg"))));
    ASSERT_EQ(windows().size(), 1u);
    EXPECT_EQ(windows().back()->document().objects().size(), 2u);

    // An RTF file becomes one text box at the top left of a new document.
    writeFile(path(QStringLiteral("letter.rtf")), QByteArray("{\\rtf1\\ansi Dear reader}"));
    EXPECT_TRUE(controller->applicationOpenFile(path(QStringLiteral("letter.rtf"))));
    ASSERT_EQ(windows().size(), 2u);
    const auto &objects = windows().back()->document().objects();
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0]->className(), "VekObjText");
    EXPECT_EQ(objects[0]->bounds().origin, (Point{0, 0}));
    EXPECT_TRUE(dialogs.alerts.isEmpty());
}

TEST_F(ShellTest, AnSvgImportThatCutsTextOpensAndSaysWhatWasLeftOut)
{
    // More text than the import keeps: the drawing opens, and an alert names the file and the cut.
    const QByteArray text(1000000 + 50, 'a');
    writeFile(path(QStringLiteral("long.svg")),
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200\" height=\"100\">"
              "<rect width=\"10\" height=\"10\"/><text x=\"5\" y=\"20\">" + text + "</text></svg>");
    EXPECT_TRUE(controller->applicationOpenFile(path(QStringLiteral("long.svg"))));
    ASSERT_EQ(windows().size(), 1u);
    ASSERT_EQ(dialogs.alerts.size(), 1);
    EXPECT_TRUE(dialogs.alerts[0].contains(QStringLiteral("\"long.svg\"")));
    EXPECT_TRUE(dialogs.alerts[0].contains(QStringLiteral("50 more characters were left out")));
}
