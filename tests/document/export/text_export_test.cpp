// Text export: the collected text, RTF read back by our reader, plain text in an encoding,
// and a document whose only text is its background PDF's.
#include "document/export/text_export.h"
#include "platform/text/rtf.h"
#include "tests/document/export/export_fixture.h"

#include <gtest/gtest.h>

using namespace exportfixture;

TEST(TextExport, RtfHoldsThePathTextThenTheBackgroundText)
{
    Document fixture;
    QTemporaryDir dir;
    const QString path = dir.filePath("out.rtf");
    ASSERT_EQ(saveTextAs(fixture.doc, path, true, true), TextExportResult::Saved);
    const auto text = attributedStringWithRTF(readAll(path));
    ASSERT_TRUE(text);
    const QString chars = text->string();
    EXPECT_TRUE(chars.startsWith("Along the path\n")) << chars.toStdString();
    EXPECT_TRUE(chars.contains("Background words"));
    EXPECT_EQ(text->attributesAt(0).font->name, QStringLiteral("DejaVuSans"));
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
