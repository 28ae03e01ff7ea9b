// The document file: both stored forms round trip every value, page subsets move objects,
// the clipboard form, and damaged or hostile data gives the error or a partial document.
#include "document/vek_document.h"

#include "model/vek_group.h"
#include "model/vek_obj_format.h"
#include "model/vek_obj_image.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"
#include "model/vek_obj_text_layout.h"
#include "platform/foundation/address_space_limit.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/plist_text_format.h"
#include "platform/graphics/graphics_context.h"
#include "platform/text/rtf.h"
#include "tests/model/fakes.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <iostream>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::shared_ptr<VekObject> pathAt(float x, float y, const Color &fill)
{
    auto o = VekObjPath::create();
    o->setBezierPath(BezierPath::bezierPathWithOvalInRect(Rect(x, y, 60, 40)));
    o->setBounds(Rect(x, y, 60, 40));
    o->setFillColor(fill);
    o->setDrawsFill(true);
    o->setObjLineWidth(3);
    return o;
}

// A document of every kind built so far, groups three deep, metadata, header and footer
// cells, shadow and background colour.
std::unique_ptr<VekDocument> richDocument()
{
    auto doc = std::make_unique<VekDocument>();
    doc->setNumberOfPages(3);
    std::vector<std::shared_ptr<VekObject>> objects = {pathAt(20, 20, Color::redColor()),
                                                       pathAt(100, 60, Color::blueColor()),
                                                       pathAt(40, 900, Color::greenColor())};
    auto image = VekObjImage::create();
    QImage pixels(8, 4, QImage::Format_RGB888);
    pixels.fill(Qt::darkCyan);
    image->setImage(Image(pixels));
    image->setBounds(Rect(200, 200, 80, 40));
    objects.push_back(image);
    auto field = VekObjFormat::create();
    field->setBounds(Rect(300, 800, 30, 20));
    objects.push_back(field);
    auto plain = VekObject::create();
    plain->setBounds(Rect(10, 1700, 30, 30));
    objects.push_back(plain);
    for (size_t i = 0; i < objects.size(); ++i)
        doc->insertObject(objects[i], int(i), false);
    doc->groupObjects({objects[0], objects[1]});
    doc->groupObjects({objects[0], objects[3]});
    doc->groupObjects({objects[3], objects[4]});
    doc->setAuthor(QStringLiteral("Ann Author"));
    doc->setTitle(QStringLiteral("Ti\u00fcle"));
    doc->setKeywords(QStringLiteral("one, two"));
    doc->setAddBorder(1);
    PropertyList cells = PropertyList::dictionary();
    cells.insert(QStringLiteral("headerLeft"), PropertyList::fromData(RTFDFromRange(
        AttributedString(QStringLiteral("Header")), TextRange{0, 6})));
    cells.insert(QStringLiteral("footerFont"), PropertyList(QStringLiteral("Helvetica")));
    doc->setBorderInfo(cells);
    doc->setShadowState(1);
    doc->setShadowAngle(135);
    doc->setShadowColor(Color::colorWithCalibratedRed(0.2f, 0.3f, 0.4f, 0.5f));
    doc->setBackgroundColor(Color::colorWithCalibratedRed(1, 1, 0.9f));
    doc->setLinkTextULine(0);
    PrintInfo info = doc->printInfo();
    info.paperName = QStringLiteral("Letter");
    info.paperSize = {612, 792};
    info.leftMargin = 20;
    doc->setPrintInfo(info);
    doc->setResolution(144);
    return doc;
}

QImage drawn(VekDocument &doc)
{
    QImage pixels(400, 1800, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::white);
    GraphicsContext context(pixels);
    GraphicsContext::Scope scope(context);
    for (auto it = doc.objects().rbegin(); it != doc.objects().rend(); ++it)
        (*it)->drawInViewIsSelected(nullptr, false);
    return pixels;
}

// Three linked text boxes (a shape between the first two) holding a text that overflows the
// first and the second, with an anchor, a link to it and a link to a web page.
std::unique_ptr<VekDocument> linkedTextDocument()
{
    auto doc = std::make_unique<VekDocument>();
    doc->setNumberOfPages(2);
    std::vector<std::shared_ptr<VekObjText>> boxes;
    for (int i = 0; i < 3; ++i) {
        auto box = VekObjText::create();
        box->setBounds(Rect(40, 60 + 250 * float(i), 180, 70));
        box->setContents(AttributedString());
        boxes.push_back(box);
    }
    doc->insertObject(boxes[0], 0, false);
    doc->insertObject(pathAt(300, 60, Color::redColor()), 1, false);
    doc->insertObject(boxes[1], 2, false);
    doc->insertObject(boxes[2], 3, false);
    boxes[0]->setGroupWithNext(true);
    boxes[1]->setGroupWithNext(true);

    TextAttributes body;
    body.font = Font{QStringLiteral("DejaVuSerif"), 12};
    QString words;
    for (int i = 0; i < 60; ++i)
        words += QStringLiteral("word%1 ").arg(i);
    AttributedString text(QStringLiteral("See the target. ") + words + QStringLiteral("Here is the target."), body);
    TextAttributes toAnchor;
    toAnchor.link = QStringLiteral("#target");
    text.addAttributes(toAnchor, {8, 6});
    TextAttributes web;
    web.link = QStringLiteral("https://example.org/");
    web.foregroundColor = Color::blueColor();
    text.addAttributes(web, {16, 6});
    TextAttributes anchor;
    anchor.anchor = QStringLiteral("#target");
    text.addAttributes(anchor, {text.length() - 7, 6});
    boxes[0]->setContents(text);
    boxes[0]->controlConnection();
    boxes[1]->controlConnection();
    return doc;
}

std::vector<std::shared_ptr<VekObjText>> textBoxes(const VekDocument &doc)
{
    std::vector<std::shared_ptr<VekObjText>> boxes;
    for (const auto &o : doc.objects())
        if (auto box = std::dynamic_pointer_cast<VekObjText>(o))
            boxes.push_back(box);
    return boxes;
}

// Each line of a box: its characters and where it stands.
std::vector<std::pair<TextRange, Rect>> linesOf(VekObjText &box)
{
    TextBoxLayout layout(box, box.contents().text(), box.bounds().size);
    std::vector<std::pair<TextRange, Rect>> lines;
    for (const LineFragment &f : layout.layoutManager().lineFragments())
        lines.emplace_back(f.characters, f.rect);
    return lines;
}

} // namespace

TEST(DocumentFileFormat, LinkedTextBoxesKeepTheirRunsAnchorsLinksAndLayout)
{
    ensureGuiApp();
    const auto original = linkedTextDocument();
    const auto boxes = textBoxes(*original);
    ASSERT_EQ(boxes.size(), 3u);
    ASSERT_FALSE(boxes[2]->contents().text().isEmpty());   // the text reaches the last box
    QTemporaryDir dir;
    for (bool textForm : {false, true}) {
        SCOPED_TRACE(textForm ? "text form" : "archive");
        const QString path = dir.filePath(textForm ? "text.vek" : "archive.vek");
        DocumentError error;
        ASSERT_TRUE(original->writeToFile(path, textForm, &error)) << error.description.toStdString();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        VekDocument back;
        ASSERT_TRUE(back.readFromData(file.readAll(), &error)) << error.description.toStdString();
        EXPECT_FALSE(back.undoManager()->canUndo());
        const auto read = textBoxes(back);
        ASSERT_EQ(read.size(), 3u);
        for (size_t i = 0; i < read.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(read[i]->contents().text(), boxes[i]->contents().text());
            EXPECT_EQ(read[i]->groupWithNext(), boxes[i]->groupWithNext());
            EXPECT_EQ(read[i]->anchorInfoToSave(), boxes[i]->anchorInfoToSave());
            EXPECT_EQ(read[i]->anchorInfo(), boxes[i]->anchorInfo());
            EXPECT_EQ(read[i]->linkInfo(), boxes[i]->linkInfo());
            EXPECT_EQ(linesOf(*read[i]), linesOf(*boxes[i]));
        }
        EXPECT_EQ(read[0]->connectedTextObject(), read[1]);
        EXPECT_EQ(read[1]->preceedingConnectedTextObject(), read[0]);
        // The chain read back is already in balance: flowing it again moves nothing.
        read[0]->controlConnection();
        read[1]->controlConnection();
        for (size_t i = 0; i < read.size(); ++i)
            EXPECT_EQ(read[i]->contents().text(), boxes[i]->contents().text()) << i;
        EXPECT_EQ(drawn(back), drawn(*original));
    }
}

TEST(DocumentFileFormat, BothFormsRoundTripEveryValueAndDrawTheSame)
{
    ensureGuiApp();
    const auto original = richDocument();
    const PropertyList written = original->vekDocumentDictionaryForObjects(original->objects(), std::vector<int>{1, 2, 3}, true);
    for (bool textForm : {false, true}) {
        SCOPED_TRACE(textForm ? "text form" : "archive");
        const QByteArray data = original->dataOfDocument(textForm);
        EXPECT_EQ(data.startsWith('{'), textForm);
        VekDocument back;
        DocumentError error;
        ASSERT_TRUE(back.readFromData(data, &error)) << error.description.toStdString();
        EXPECT_FALSE(back.isDocumentEdited());
        EXPECT_FALSE(back.undoManager()->canUndo());
        ASSERT_EQ(back.objects().size(), original->objects().size());
        for (size_t i = 0; i < back.objects().size(); ++i)
            EXPECT_EQ(back.objects()[i]->propertyListRepresentation(), original->objects()[i]->propertyListRepresentation())
                << i;
        EXPECT_EQ(back.groupBaseDictionary(), original->groupBaseDictionary());
        EXPECT_EQ(back.objectsOfGroup(QStringLiteral("g2")).size(), 4u);
        EXPECT_EQ(back.author(), original->author());
        EXPECT_EQ(back.title(), original->title());
        EXPECT_EQ(back.numberOfPages(), 3);
        EXPECT_EQ(back.resolution(), 144);
        EXPECT_EQ(back.printInfo(), original->printInfo());
        EXPECT_EQ(back.drawAreaSizePerPage(), original->drawAreaSizePerPage());
        EXPECT_EQ(back.linkTextULine(), 0);
        EXPECT_EQ(back.addBorder(), 1);
        EXPECT_EQ(back.borderInfo(), original->borderInfo());
        EXPECT_TRUE(back.shadowState());
        EXPECT_EQ(back.shadowAngle(), 135.0f);
        EXPECT_EQ(back.shadowColor(), original->shadowColor());
        EXPECT_EQ(back.backgroundColor(), original->backgroundColor());
        EXPECT_EQ(drawn(back), drawn(*original));
        // What it writes again is what was read.
        const PropertyList again = back.vekDocumentDictionaryForObjects(back.objects(), std::vector<int>{1, 2, 3}, true);
        EXPECT_EQ(again.value(QStringLiteral("objects")), written.value(QStringLiteral("objects")));
    }
}

// The text form holds header and footer cells as RTF a person can read; files that hold
// them as RTFD data (hexadecimal digits), as the text form did before, still read.
TEST(DocumentFileFormat, TheTextFormHoldsHeaderAndFooterCellsAsReadableRtf)
{
    ensureGuiApp();
    const auto original = richDocument();
    TextAttributes bold;
    bold.font = Font{QStringLiteral("Helvetica-Bold"), 11};
    PropertyList cells = original->borderInfo();
    const AttributedString rich(QStringLiteral("Seite #VPAGE – Entwurf"), bold);
    cells.insert(QStringLiteral("ftMd"), PropertyList::fromData(RTFDFromRange(rich, {0, rich.length()})));
    original->setBorderInfo(cells);

    const QByteArray text = original->dataOfDocument(true);
    const PropertyList stored = propertyListFromText(text).value(QStringLiteral("borderinfo")).value(QStringLiteral("contents"));
    for (const char *key : {"headerLeft", "ftMd"}) {
        SCOPED_TRACE(key);
        ASSERT_TRUE(stored.value(QLatin1String(key)).isString());
        EXPECT_TRUE(stored.value(QLatin1String(key)).stringValue().startsWith(QStringLiteral("{\\rtf")));
    }
    EXPECT_TRUE(text.contains("Header"));
    EXPECT_TRUE(text.contains("Seite #VPAGE"));
    EXPECT_EQ(stored.value(QStringLiteral("footerFont")).stringValue(), QStringLiteral("Helvetica"));

    const QByteArray earlier = textPropertyListData(
        original->vekDocumentDictionaryForObjects(original->objects(), std::vector<int>{1, 2, 3}, true));
    ASSERT_FALSE(earlier.contains("Seite"));   // hexadecimal digits
    for (const QByteArray &data : {text, earlier}) {
        VekDocument back;
        ASSERT_TRUE(back.readFromData(data, nullptr));
        EXPECT_EQ(back.borderInfo(), original->borderInfo());
        const auto footer = attributedStringWithRTFD(back.borderInfo().value(QStringLiteral("ftMd")).dataValue());
        ASSERT_TRUE(footer);
        EXPECT_EQ(footer->string(), rich.string());
        EXPECT_EQ(footer->attributesAt(0).font, bold.font);
    }
}

TEST(DocumentFileFormat, SavingPagesTwoAndFourMovesTheirObjectsUp)
{
    VekDocument doc;
    doc.setNumberOfPages(5);
    const float h = doc.drawAreaSizePerPage().height;
    std::vector<std::shared_ptr<VekObject>> onPage;
    for (int page = 1; page <= 5; ++page) {
        auto o = VekObject::create();
        o->setBounds(Rect(10, float(page - 1) * h + 50, 20, 20));
        onPage.push_back(o);
        doc.insertObject(o, page - 1, false);
    }
    doc.groupObjects({onPage[3], onPage[0]});   // the page-4 object keeps its group when moved
    auto everywhere = VekObject::create();
    everywhere->setBounds(Rect(0, 0, 10, 10));
    everywhere->setRepeatType(3);
    doc.insertObject(everywhere, 0, false);

    const PropertyList dict = doc.vekDocumentDictionaryForObjects(doc.objects(), std::vector<int>{2, 4}, false);
    const auto objects = VekDocument::objectsFromVekDocumentDictionary(dict);
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[0]->repeatType(), 3);
    EXPECT_FLOAT_EQ(objects[1]->bounds().origin.y, 50);            // page 2 -> page 1
    EXPECT_FLOAT_EQ(objects[2]->bounds().origin.y, h + 50);        // page 4 -> page 2
    EXPECT_EQ(objects[2]->groupID(), QStringLiteral("g0"));
    EXPECT_EQ(dict.value(QStringLiteral("pages")).intValue(), 2);

    // The clipboard form holds the four keys only.
    const PropertyList clip = doc.vekDocumentDictionaryForObjects({onPage[0]}, std::nullopt, false);
    EXPECT_EQ(clip.keys(), QStringList({"objects", "resolution", "linkTextInfo", "drawInfo"}));
}

TEST(DocumentFileFormat, DamagedAndHostileDataGiveTheErrorOrAPartialDocument)
{
    ensureGuiApp();
    const QByteArray good = richDocument()->dataOfDocument(true);
    struct Case {
        const char *name;
        QByteArray data;
        bool reads;
    };
    QByteArray unknownClass = good;
    unknownClass.replace("VekObjPath", "NSWindowXX");
    QByteArray wrongTypes = "{ objects = 7; pages = \"-5\"; groups = (1, 2); background = \"x\"; metainfo = 3; "
                            "resolution = 1e99; drawAreaSize = \"{nan, 1e40}\"; lastCrntPage = 99999999; }";
    QByteArray hugeCount = "{ pages = 2147483647; objects = ({ class = VekObject; bounds = \"{{1e30, 0}, {1, 1}}\"; }); }";
    const Case cases[] = {
        {"one brace", "{", false},
        {"nothing", QByteArray(), false},
        {"garbage", QByteArray(300, '\x84'), false},
        {"truncated archive", richDocument()->dataOfDocument(false).left(400), false},
        {"a list, not a dictionary", "(1, 2, 3)", false},
        {"unknown classes", unknownClass, true},
        {"wrong types", wrongTypes, true},
        {"huge numbers", hugeCount, true},
    };
    for (const Case &c : cases) {
        VekDocument doc;
        DocumentError error;
        const bool read = doc.readFromData(c.data, &error);
        EXPECT_EQ(read, c.reads) << c.name;
        if (!read) {
            EXPECT_EQ(error.domain, QStringLiteral("VekantoErrorDomain")) << c.name;
            EXPECT_EQ(error.code, 1) << c.name;
            EXPECT_EQ(error.description, QStringLiteral("Vekanto document data could not be read.")) << c.name;
        }
        EXPECT_GE(doc.numberOfPages(), 1) << c.name;
        EXPECT_LE(doc.numberOfPages(), 100000) << c.name;
    }
    VekDocument partial;
    ASSERT_TRUE(partial.readFromData(unknownClass, nullptr));
    EXPECT_EQ(partial.objects().size(), 3u);   // the three paths are left out
}

// A document whose object list holds one text box and then `references` references to it,
// as a crafted archive holds them: two or three bytes each.
QByteArray documentRepeatingOneObject(qsizetype references, PropertyList *objectDictionary = nullptr)
{
    VekDocument doc;
    auto box = VekObjText::create();
    box->setBounds(Rect(20, 20, 200, 80));
    box->setContents(AttributedString(QStringLiteral("Repeated by reference").repeated(20), TextAttributes{}));
    doc.insertObject(box, 0, false);
    PropertyList dictionary = doc.vekDocumentDictionaryForObjects(doc.objects(), std::vector<int>{1}, true);
    const PropertyList object = dictionary.value(QStringLiteral("objects")).at(0);
    PropertyList objects = PropertyList::array();
    for (qsizetype i = 0; i <= references; ++i)
        objects.append(object);
    dictionary.insert(QStringLiteral("objects"), objects);
    if (objectDictionary)
        *objectDictionary = object;
    return *archivedDataWithRootObject(dictionary).value;
}

TEST(DocumentFileFormat, ObjectsPastTheReadingBoundsAreLeftOutWithANote)
{
    ensureGuiApp();
    PropertyList object;
    const QByteArray data = documentRepeatingOneObject(999, &object);
    const PropertyList dictionary = VekDocument::vekDocumentDictionaryFromData(data, nullptr);
    ASSERT_EQ(dictionary.value(QStringLiteral("objects")).count(), 1000);

    QStringList notes;
    EXPECT_EQ(VekDocument::objectsFromVekDocumentDictionary(dictionary, &notes).size(), 1000u);
    EXPECT_TRUE(notes.isEmpty());

    DocumentReadingLimits fewObjects;
    fewObjects.objects = 300;
    EXPECT_EQ(VekDocument::objectsFromVekDocumentDictionary(dictionary, &notes, fewObjects).size(), 300u);
    EXPECT_EQ(notes, QStringList{QStringLiteral("The document holds more objects than can be opened (at most 300). "
                                                "700 of its 1000 objects were left out.")});

    // Each reference counts as the whole object it repeats: a budget of ten and a half
    // objects' bytes takes ten.
    notes.clear();
    const qint64 oneObject = qint64(archivedDataWithRootObject(object).value->size());
    DocumentReadingLimits fewBytes;
    fewBytes.objectBytes = 10 * oneObject + oneObject / 2;
    const auto objects = VekDocument::objectsFromVekDocumentDictionary(dictionary, &notes, fewBytes);
    EXPECT_GE(objects.size(), 1u);
    EXPECT_LE(objects.size(), 10u);
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes.front().startsWith(QStringLiteral("The document's objects hold more data than can be opened")))
        << notes.front().toStdString();

    // The document says what was left out; a document within the bounds says nothing.
    VekDocument bounded;
    ASSERT_TRUE(bounded.readFromData(documentRepeatingOneObject(5), nullptr));
    EXPECT_EQ(bounded.objects().size(), 6u);
    EXPECT_TRUE(bounded.readingNotes().isEmpty());
}

// An input under 1 MB opens and saves again in under 10 s and 1 GB: a list of one text box
// and 479,999 references to it, two bytes each. Runs in a child process, whose processor
// time (the machine may be shared) and peak memory are measured.
TEST(DocumentFileFormat, OneObjectRepeatedByReferenceOpensAndSavesWithinBounds)
{
    ensureGuiApp();
    const QByteArray data = documentRepeatingOneObject(479999);
    ASSERT_LT(data.size(), 1024 * 1024);
    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        limitAddressSpace(rlim_t(3) << 30);   // a fault fails the test, not the machine
        const auto processorMs = [] {
            rusage self{};
            getrusage(RUSAGE_SELF, &self);
            return qint64(self.ru_utime.tv_sec + self.ru_stime.tv_sec) * 1000
                 + (self.ru_utime.tv_usec + self.ru_stime.tv_usec) / 1000;
        };
        const qint64 start = processorMs();
        VekDocument document;
        const bool read = document.readFromData(data, nullptr);
        const qint64 opened = processorMs();
        const qint64 savedBytes = document.dataOfDocument(false).size();
        const QByteArray report = QByteArray::number(read) + ' ' + QByteArray::number(qint64(document.objects().size()))
                                  + ' ' + QByteArray::number(opened - start) + ' ' + QByteArray::number(processorMs() - opened)
                                  + ' ' + QByteArray::number(savedBytes) + ' '
                                  + QByteArray::number(document.readingNotes().size());
        [[maybe_unused]] const auto written = write(channel[1], report.constData(), size_t(report.size()));
        _exit(0);
    }
    close(channel[1]);
    QByteArray report;
    char buffer[256];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, n);
    close(channel[0]);
    int status = 0;
    rusage usage{};
    ASSERT_EQ(wait4(child, &status, 0, &usage), child);
    const QList<QByteArray> fields = report.split(' ');
    ASSERT_EQ(fields.size(), 6) << report.constData();
    EXPECT_EQ(fields[0], "1");
    EXPECT_GT(fields[1].toLongLong(), 1000);
    EXPECT_LT(fields[1].toLongLong(), 480000);
    EXPECT_EQ(fields[5], "1");   // the note on what was left out
    // The sanitizers slow everything several times and add their own memory.
    const qint64 timeBoundMs = AddressSpaceLimitApplies ? 10000 : 60000;
    EXPECT_LT(fields[2].toLongLong(), timeBoundMs) << "opening, ms";
    EXPECT_LT(fields[3].toLongLong(), timeBoundMs) << "saving, ms";
    EXPECT_LT(fields[4].toLongLong(), 64 * 1024 * 1024) << "saved bytes";
    if (AddressSpaceLimitApplies) {
        EXPECT_LT(qint64(usage.ru_maxrss) * 1024, qint64(1) << 30) << usage.ru_maxrss / 1024 << " MB peak";
    }
    std::cout << "open " << fields[2].constData() << " ms, save " << fields[3].constData() << " ms, "
              << usage.ru_maxrss / 1024 << " MB peak\n";
}

TEST(DocumentFileFormat, SavingIsAtomic)
{
    ensureGuiApp();
    QTemporaryDir dir;
    const QString path = dir.filePath("doc.vek");
    auto doc = richDocument();
    DocumentError error;
    ASSERT_TRUE(doc->writeToFile(path, false, &error));
    VekDocument back;
    ASSERT_TRUE(back.readFromFile(path, &error));
    EXPECT_EQ(back.objects().size(), doc->objects().size());
    // A place that cannot be written is reported, and nothing is left behind.
    EXPECT_FALSE(doc->writeToFile(dir.path(), false, &error));
    EXPECT_FALSE(error.description.isEmpty());
    EXPECT_FALSE(doc->writeToFile(dir.filePath("missing/doc.vek"), true, &error));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"doc.vek"});
}

TEST(DocumentFileFormat, AHiddenBackgroundIsSavedOnlyWhenTheUserIncludesIt)
{
    ensureGuiApp();
    VekDocument doc;
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    doc.setBackgroundImage(Image(picture), QByteArray("image bytes"), {100, 100});
    FakeCanvas canvas;
    doc.setVekView(&canvas);
    int asked = 0;
    bool include = false;
    doc.setHiddenBackgroundQuestion([&] { ++asked; return include; });
    const auto background = [&doc] {
        return doc.vekDocumentDictionaryForObjects(doc.objects(), std::vector<int>{1}, true)
            .value(QStringLiteral("background"));
    };

    EXPECT_TRUE(background().contains(QStringLiteral("imgdata")));   // shown: no question
    EXPECT_EQ(asked, 0);
    canvas.hidesBackground = true;
    EXPECT_FALSE(background().contains(QStringLiteral("imgdata")));
    include = true;
    EXPECT_TRUE(background().contains(QStringLiteral("imgdata")));
    EXPECT_EQ(asked, 2);
    doc.setVekView(nullptr);
}
