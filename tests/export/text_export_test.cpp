// Text export: the collected text, RTF read back by our reader, plain text in an encoding,
// and a document whose only text is its background PDF's.
#include "export/text_export.h"
#include "platform/text/rtf.h"
#include "tests/export/export_fixture.h"

#include <gtest/gtest.h>

using namespace exportfixture;

TEST(TextExport, RtfHoldsTheTextsInReadingOrderThenTheBackgroundText)
{
    Document fixture;
    QTemporaryDir dir;
    const QString path = dir.filePath("out.rtf");
    ASSERT_EQ(saveTextAs(fixture.doc, path, true, true), TextExportResult::Saved);
    const auto text = attributedStringWithRTF(readAll(path));
    ASSERT_TRUE(text);
    // By top edge: the linking box (y 2), the path (y 120), the anchored box (y 300).
    EXPECT_EQ(text->string(), QStringLiteral("Go to the anchor or example.org\nAlong the path\nHere is the target\n"
                                             "Background words"));
}

TEST(TextExport, RtfReadsBackWithTheRunsOfTheTextBoxes)
{
    Document fixture;
    const AttributedString written = documentText(fixture.doc, false);
    QTemporaryDir dir;
    const QString path = dir.filePath("out.rtf");
    ASSERT_EQ(saveTextAs(fixture.doc, path, true, false), TextExportResult::Saved);
    const auto read = attributedStringWithRTF(readAll(path));
    ASSERT_TRUE(read);
    ASSERT_EQ(read->string(), written.string());
    int links = 0;
    for (const TextRun &run : written.runs()) {
        SCOPED_TRACE(written.string().mid(run.range.location, run.range.length).toStdString());
        TextRange back;
        const TextAttributes &a = read->attributesAt(run.range.location, &back);
        // Anchors stay in the document; every other attribute comes back on the same characters.
        EXPECT_GE(back.end(), run.range.end());
        ASSERT_TRUE(a.font && run.attributes.font);
        EXPECT_EQ(a.font->name, run.attributes.font->name);
        EXPECT_FLOAT_EQ(a.font->size, run.attributes.font->size);
        EXPECT_EQ(a.link, run.attributes.link);
        links += a.link.has_value();
    }
    EXPECT_EQ(links, 2);
}

TEST(TextExport, RtfCarriesTheDocumentsMetadataPaperAndPageColour)
{
    Document fixture;
    fixture.doc.setTitle(QStringLiteral("Garden plan"));
    fixture.doc.setAuthor(QString::fromUtf8("Jürgen"));
    fixture.doc.setKeywords(QStringLiteral(" a , b"));
    fixture.doc.setBackgroundColor(Color::colorWithCalibratedRed(1, 0.5f, 0, 1));
    QTemporaryDir dir;
    const QString path = dir.filePath("out.rtf");
    ASSERT_EQ(saveTextAs(fixture.doc, path, true, false), TextExportResult::Saved);
    const QByteArray rtf = readAll(path);
    EXPECT_TRUE(rtf.contains("{\\title Garden plan}")) << rtf.left(600).toStdString();
    EXPECT_TRUE(rtf.contains("{\\author J\\'fcrgen}"));
    EXPECT_TRUE(rtf.contains("{\\keywords a, b}"));
    EXPECT_TRUE(rtf.contains("{\\creatim\\yr"));
    // A4 with margins of 72 and 90 points; the canvas of two 300 x 200 pages.
    EXPECT_TRUE(rtf.contains("\\paperw11906\\paperh16838\\margl1440\\margr1440\\margt1800\\margb1800"));
    EXPECT_TRUE(rtf.contains("\\vieww6000\\viewh8000"));
    EXPECT_TRUE(rtf.contains("{\\sn fillColor}{\\sv 33023}"));   // 0x0080FF: blue 0, green 128, red 255
    // The text reads back unchanged past the document's attributes.
    EXPECT_TRUE(attributedStringWithRTF(rtf)->string().startsWith("Go to the anchor"));

    fixture.doc.setBackgroundColor(Color::clearColor());
    ASSERT_EQ(saveTextAs(fixture.doc, path, true, false), TextExportResult::Saved);
    EXPECT_FALSE(readAll(path).contains("fillColor"));
}

TEST(TextExport, TextBoxesInPlainTextAndEmptyBoxesAddNoBlankLines)
{
    Document fixture;
    fixture.add(textBox(Rect(20, 5, 50, 10), QString()));
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    ASSERT_EQ(saveTextAs(fixture.doc, path, false, false, "ISO-8859-1"), TextExportResult::Saved);
    EXPECT_EQ(readAll(path), QByteArray("Go to the anchor or example.org\nAlong the path\nHere is the target"));
}

TEST(TextExport, PlainTextInTheChosenEncoding)
{
    ensureGuiApp();
    VekDocument doc;
    auto carrier = pathObject(BezierPath::bezierPathWithRect(Rect(0, 0, 50, 50)), Color::redColor());
    carrier->setAttStringForPath(AttributedString(QString::fromUtf8("Grüße")));
    doc.insertObject(carrier, 0, false);
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    ASSERT_EQ(saveTextAs(doc, path, false, false, "ISO-8859-1"), TextExportResult::Saved);
    EXPECT_EQ(readAll(path), QByteArray("Gr\xFC\xDF" "e"));
    ASSERT_EQ(saveTextAs(doc, path, false, false), TextExportResult::Saved);
    EXPECT_EQ(readAll(path), QString::fromUtf8("Grüße").toUtf8());

    carrier->setAttStringForPath(AttributedString(QString::fromUtf8("日本")));
    QString error;
    EXPECT_EQ(saveTextAs(doc, path, false, false, "ISO-8859-1", &error), TextExportResult::Failed);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readAll(path), QString::fromUtf8("Grüße").toUtf8());   // the old file stays
}

TEST(TextExport, BackgroundTextAloneIsEnoughAndNoTextIsReported)
{
    ensureGuiApp();
    VekDocument doc;
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    EXPECT_EQ(saveTextAs(doc, path, false, true), TextExportResult::NoText);
    EXPECT_FALSE(QFile::exists(path));
    const QByteArray pdf = backgroundPdf();
    doc.setBackgroundPDF(PdfDocument::openData(pdf), pdf);
    EXPECT_EQ(saveTextAs(doc, path, false, false), TextExportResult::NoText);
    ASSERT_EQ(saveTextAs(doc, path, false, true), TextExportResult::Saved);
    EXPECT_TRUE(readAll(path).contains("Background words"));
}
