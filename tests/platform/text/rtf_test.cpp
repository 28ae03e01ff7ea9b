// RTF and RTFD: round trips through our writer and reader, hand-written files of the
// dialect, and damaged input.
#include "platform/text/font_registry.h"
#include "platform/text/rtf.h"
#include "tests/support/gui_app.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

namespace {

QByteArray fixture(const char *name)
{
    QFile f(QStringLiteral(VEK_TEST_DATA_DIR "/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

TextAttributes base(const char *font = "Helvetica", float size = 12)
{
    TextAttributes a;
    a.font = Font{font, size};
    a.paragraphStyle = ParagraphStyle{};
    return a;
}

// A text using every attribute the writer knows, in two paragraphs with their own styles.
AttributedString richText()
{
    AttributedString s(QStringLiteral("Plain bold\tlink under\u00A0\u20AC\u4E2D{x}\\ \U0001F600\nSecond line"),
                       base());
    TextAttributes bold = base("Helvetica-Bold", 14.5f);
    bold.foregroundColor = Color::colorWithDeviceRed(0.2f, 0.4f, 0.6f);
    bold.backgroundColor = Color::colorWithCalibratedWhite(0.5f, 0.25f);
    s.setAttributes(bold, {6, 4});
    TextAttributes link = base("Times-Italic", 9);
    link.link = QStringLiteral("https://example.org/x?y=\"1\"");
    link.underlineStyle = UnderlineStyleSingle;
    link.underlineColor = Color::colorWithDeviceCyan(1, 0, 0, 0);
    s.setAttributes(link, {11, 4});
    TextAttributes under = base("DejaVuSans", 12);
    under.underlineStyle = UnderlineStyleDouble;
    under.strikethroughStyle = UnderlineStyleThick;
    under.strikethroughColor = Color::redColor();
    under.strokeWidth = -3;
    under.strokeColor = Color::blueColor();
    under.kerning = 1.5f;
    under.baselineOffset = -2.5f;
    under.obliqueness = 0.25f;
    s.setAttributes(under, {16, 5});

    ParagraphStyle first;
    first.alignment = TextAlignment::Justified;
    first.headIndent = 18;
    first.firstLineHeadIndent = 36;
    first.tailIndent = -12;
    first.paragraphSpacingBefore = 3;
    first.paragraphSpacing = 6.5f;
    first.lineHeightMultiple = 1.5f;
    first.minimumLineHeight = 10;
    first.maximumLineHeight = 30;
    first.lineSpacing = 2;
    first.hyphenationFactor = 0.9f;
    first.tabStops = {{TextTabType::Left, 28}, {TextTabType::Right, 100}, {TextTabType::Center, 150.5f},
                      {TextTabType::Decimal, 200}};
    ParagraphStyle second;
    second.alignment = TextAlignment::Center;
    second.tailIndent = 300;
    int split = int(s.string().indexOf(u'\n')) + 1;
    s.modifyAttributes({0, split}, [&](TextAttributes &a) { a.paragraphStyle = first; });
    s.modifyAttributes({split, s.length() - split}, [&](TextAttributes &a) { a.paragraphStyle = second; });
    return s;
}

QByteArray pngBytes()
{
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

// Describes the first difference of two texts, for readable failures.
std::string firstDifference(const AttributedString &a, const AttributedString &b)
{
    if (a.string() != b.string())
        return "text: " + a.string().toStdString() + " | " + b.string().toStdString();
    for (int i = 0; i < a.length(); ++i) {
        if (a.attributesAt(i) == b.attributesAt(i))
            continue;
        for (int k = 0; k < TextAttributeCount; ++k)
            if (!a.attributesAt(i).sameValue(TextAttribute(k), b.attributesAt(i)))
                return "attribute " + std::to_string(k) + " at " + std::to_string(i);
    }
    return "runs";
}

} // namespace

TEST(Rtf, WriterAndReaderRoundTrip)
{
    AttributedString text = richText();
    QByteArray rtf = RTFFromRange(text, {0, text.length()});
    auto back = attributedStringWithRTF(rtf);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, text) << firstDifference(*back, text) << "\n" << rtf.toStdString();
    // A part of the text gives just that part.
    auto part = attributedStringWithRTF(RTFFromRange(text, {6, 9}));
    ASSERT_TRUE(part.has_value());
    EXPECT_EQ(*part, text.substring({6, 9})) << firstDifference(*part, text.substring({6, 9}));
}

TEST(Rtf, ReadsTheDialect)
{
    auto text = attributedStringWithRTF(fixture("dialect.rtf"));
    ASSERT_TRUE(text.has_value());
    const QString &s = text->string();
    EXPECT_EQ(s, QStringLiteral("Price\tTotal\t3 \u20AC\u00E9t\u00E9\nRed italic and link done\n"
                                "updownstrikeunderoutline kern"));

    const TextAttributes &total = text->attributesAt(int(s.indexOf(u"Total")));
    EXPECT_EQ(total.font->name, "Helvetica-Bold");
    EXPECT_EQ(total.font->size, 12.0f);
    EXPECT_FALSE(total.foregroundColor.has_value());
    const ParagraphStyle &p1 = *total.paragraphStyle;
    EXPECT_EQ(p1.alignment, TextAlignment::Natural);
    ASSERT_EQ(p1.tabStops.size(), 4);
    EXPECT_EQ(p1.tabStops[0], (TextTab{TextTabType::Left, 28.3f}));
    EXPECT_EQ(p1.tabStops[1], (TextTab{TextTabType::Right, 144}));
    EXPECT_EQ(p1.tabStops[2], (TextTab{TextTabType::Center, 216}));
    EXPECT_EQ(p1.tabStops[3], (TextTab{TextTabType::Decimal, 250}));

    const TextAttributes &red = text->attributesAt(int(s.indexOf(u"Red")));
    EXPECT_EQ(red.foregroundColor, Color::colorWithCalibratedRed(1, 0, 0));
    const ParagraphStyle &p2 = *red.paragraphStyle;
    EXPECT_EQ(p2.alignment, TextAlignment::Center);
    EXPECT_EQ(p2.headIndent, 36.0f);
    EXPECT_EQ(p2.firstLineHeadIndent, 18.0f);
    EXPECT_EQ(p2.tailIndent, -18.0f);
    EXPECT_EQ(p2.paragraphSpacingBefore, 6.0f);
    EXPECT_EQ(p2.paragraphSpacing, 12.0f);
    EXPECT_EQ(text->attributesAt(int(s.indexOf(u"italic"))).font->name, "Times-Italic");

    int link = int(s.indexOf(u"link"));
    EXPECT_EQ(text->longestEffectiveRange(TextAttribute::Link, link), (TextRange{link, 4}));
    EXPECT_EQ(text->attributesAt(link).link, QStringLiteral("https://example.org/a?b=1"));
    EXPECT_EQ(text->attributesAt(link).underlineStyle, UnderlineStyleSingle);
    EXPECT_EQ(text->attributesAt(link).foregroundColor, Color::colorWithCalibratedRed(0, 0, 1));
    // The field's group ends its underline and colour.
    EXPECT_FALSE(text->attributesAt(link + 5).underlineStyle.has_value());
    EXPECT_EQ(text->attributesAt(link + 5).foregroundColor, Color::colorWithCalibratedRed(1, 0, 0));

    auto at = [&](const char16_t *word) { return text->attributesAt(int(s.indexOf(QString::fromUtf16(word)))); };
    EXPECT_EQ(at(u"up").baselineOffset, 3.0f);
    EXPECT_EQ(at(u"up").font->size, 18.0f);
    EXPECT_EQ(at(u"down").baselineOffset, -2.0f);
    EXPECT_EQ(at(u"strike").strikethroughStyle, UnderlineStyleSingle);
    EXPECT_EQ(at(u"under").underlineColor, Color::colorWithCalibratedRed(1, 0, 0));
    EXPECT_EQ(at(u"outline").strokeWidth, 3.0f);
    EXPECT_EQ(at(u"outline").strokeColor, Color::colorWithCalibratedRed(1, 0, 0));
    EXPECT_FALSE(at(u" kern").strokeWidth.has_value());
    EXPECT_EQ(at(u"kern").kerning, 0.5f);
    EXPECT_EQ(at(u"up").paragraphStyle->lineHeightMultiple, 2.0f);
    EXPECT_EQ(at(u"up").paragraphStyle->alignment, TextAlignment::Right);
}

TEST(Rtf, BoldAndItalicFindTheFacesOfTheFamilyOrOfItsStandIn)
{
    // Font tables name families; a family that is not installed draws with the family
    // fontconfig puts in its place (a metric-compatible one: Liberation where it is
    // installed, else URW), which must keep the traits too.
    struct Case {
        const char *family;
        QStringList standIns;   // the families the faces may be drawn with
    };
    for (const Case &c : {Case{"Times New Roman", {"Liberation Serif", "Nimbus Roman"}},
                          Case{"Arial", {"Liberation Sans", "Nimbus Sans"}}, Case{"DejaVu Serif", {"DejaVu Serif"}},
                          Case{"Helvetica", {"Nimbus Sans"}}}) {
        const QString standIn = fontFace(QString::fromLatin1(c.family)).family;
        EXPECT_TRUE(c.standIns.contains(standIn)) << c.family << " " << standIn.toStdString();
        const QByteArray rtf = QByteArray("{\\rtf1\\ansi{\\fonttbl\\f0\\fnil ") + c.family
                               + ";}\\f0\\fs24 plain \\b bold\\b0 \\i italic\\i0 \\b\\i both}";
        const auto text = attributedStringWithRTF(rtf);
        ASSERT_TRUE(text.has_value()) << c.family;
        for (const auto &[word, bold, italic] : {std::tuple{u"bold", true, false}, std::tuple{u"italic", false, true},
                                                  std::tuple{u"both", true, true}}) {
            const QString name = text->attributesAt(int(text->string().indexOf(word))).font->name;
            const FontFace face = fontFace(name);
            EXPECT_EQ(face.bold, bold) << c.family << " " << name.toStdString();
            EXPECT_EQ(face.italic, italic) << c.family << " " << name.toStdString();
            EXPECT_EQ(face.family, standIn) << c.family << " " << name.toStdString();
        }
    }
}

TEST(Rtf, ReadsTheMacCodePageAndUnicodeFallbacks)
{
    auto text = attributedStringWithRTF(fixture("macroman.rtf"));
    ASSERT_TRUE(text.has_value());
    // \uc1 skips the one fallback byte after \u.
    EXPECT_EQ(text->string(), QStringLiteral("Caf\u00E9 \u2014 end"));
    EXPECT_EQ(text->attributesAt(0).font->size, 10.0f);
}

TEST(Rtf, NotRtfGivesNothing)
{
    EXPECT_FALSE(attributedStringWithRTF("plain text").has_value());
    EXPECT_FALSE(attributedStringWithRTF("").has_value());
}

TEST(Rtf, DamagedInputReadsWhatItCan)
{
    struct Case {
        QByteArray rtf;
        QString expected;   // null: only "does not crash"
    };
    QByteArray deep = "{\\rtf1 a" + QByteArray(200000, '{') + "b" + QByteArray(200000, '}') + "c}";
    QByteArray wide = "{\\rtf1 {\\colortbl" + QByteArray(100000, ';') + "}{\\fonttbl" + QByteArray(100000, ';') + "}x}";
    const Case cases[] = {
        {"{\\rtf1 Hello {\\b bold", QStringLiteral("Hello bold")},
        {"{\\rtf1 abc}}}}} def", QStringLiteral("abc def")},
        {"{\\rtf1 \\fs999999999999999999999 big \\u99999999999 \\uc99999 x}", QString()},
        {"{\\rtf1 \\fs-5 a\\'", QStringLiteral("a")},
        {"{\\rtf1 \\'zz\\'4", QString()},
        {"{\\rtf1 \\u-1\\u-65536\\u65536 z}", QString()},
        {"{\\rtf1 {\\field{\\*\\fldinst{HYPERLINK}}{\\fldrslt t}}}", QStringLiteral("t")},
        {"{\\rtf1 {\\*\\unknowndest hidden}shown}", QStringLiteral("shown")},
        {"{\\rtf1 {{\\NeXTGraphic missing.png}\\'ac}}", QString(QChar(AttachmentCharacter))},
        {"{\\rtf1 \\" + QByteArray(1000, 'a') + "12 x}", QStringLiteral("x")},
        {"{\\rtf1 \\tx1\\tx1\\tx-5\\tx99999999999 \\sl-1\\slmult1 \\li-999999999\\par}", QStringLiteral("\n")},
        {deep, QStringLiteral("abc")},
        {wide, QStringLiteral("x")},
    };
    for (const auto &c : cases) {
        auto text = attributedStringWithRTF(c.rtf);
        ASSERT_TRUE(text.has_value()) << c.rtf.left(60).toStdString();
        if (!c.expected.isNull()) {
            EXPECT_EQ(text->string(), c.expected) << c.rtf.left(60).toStdString();
        }
    }
}

TEST(Rtfd, FlatRoundTripWithAnImage)
{
    ensureGuiApp();
    AttributedString text(QStringLiteral("Before  after"), base());
    TextAttributes pic = base();
    pic.attachment = TextAttachment{QStringLiteral("picture.png"), pngBytes()};
    text.insert(7, AttributedString(QString(QChar(AttachmentCharacter)), pic));

    QByteArray flat = RTFDFromRange(text, {0, text.length()});
    ASSERT_TRUE(flat.startsWith("rtfd"));
    auto back = attributedStringWithRTFD(flat);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, text) << firstDifference(*back, text);
    EXPECT_EQ(QImage::fromData(back->attributesAt(7).attachment->contents).size(), QSize(3, 2));

    // Plain RTF leaves the attachment out.
    EXPECT_EQ(attributedStringWithRTF(RTFFromRange(text, {0, text.length()}))->string(), "Before  after");

    // Every cut of the blob gives a text or nothing, never a crash.
    for (int cut = 0; cut < flat.size(); cut += 7) {
        auto damaged = attributedStringWithRTFD(flat.left(cut));
        EXPECT_TRUE(!damaged || damaged->length() <= text.length());
    }
}

TEST(Rtfd, FolderRoundTripKeepsDuplicateNamesApart)
{
    AttributedString text(QStringLiteral("ab"), base());
    TextAttributes one = base(), two = base();
    one.attachment = TextAttachment{QStringLiteral("TXT.rtf"), "first"};
    two.attachment = TextAttachment{QStringLiteral("TXT.rtf"), "second"};
    text.insert(1, AttributedString(QString(QChar(AttachmentCharacter)), one));
    text.insert(2, AttributedString(QString(QChar(AttachmentCharacter)), two));
    QTemporaryDir dir;
    ASSERT_TRUE(writeRTFDDirectory(text, dir.path()));
    auto back = readRTFDDirectory(dir.path());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->string(), text.string());
    EXPECT_EQ(back->attributesAt(1).attachment->contents, "first");
    EXPECT_EQ(back->attributesAt(2).attachment->contents, "second");
    EXPECT_NE(back->attributesAt(1).attachment->fileName, back->attributesAt(2).attachment->fileName);
    EXPECT_FALSE(readRTFDDirectory(dir.path() + "/nothing").has_value());
}

TEST(Rtfd, FolderAttachmentsNamedDotOrDotDotGetSafeNames)
{
    AttributedString text(QStringLiteral("ab"), base());
    for (const char *name : {".", ".."}) {
        TextAttributes a = base();
        a.attachment = TextAttachment{QString::fromLatin1(name), QByteArray(name) + " data"};
        text.insert(1, AttributedString(QString(QChar(AttachmentCharacter)), a));
    }
    QTemporaryDir parent;
    const QString folder = parent.filePath("doc.rtfd");
    ASSERT_TRUE(writeRTFDDirectory(text, folder));
    auto back = readRTFDDirectory(folder);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->attributesAt(1).attachment->contents, ".. data");
    EXPECT_EQ(back->attributesAt(2).attachment->contents, ". data");
    // Writing again replaces the folder whole and leaves nothing beside it.
    ASSERT_TRUE(writeRTFDDirectory(AttributedString(QStringLiteral("new"), base()), folder));
    EXPECT_EQ(readRTFDDirectory(folder)->string(), "new");
    EXPECT_EQ(QDir(parent.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"doc.rtfd"});
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"TXT.rtf"});
}

TEST(Rtfd, FolderReadingFollowsNoSymbolicLinks)
{
    QTemporaryDir parent;
    QFile secret(parent.filePath("secret.txt"));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("outside the folder");
    secret.close();
    const QDir folder(parent.filePath("doc.rtfd"));
    ASSERT_TRUE(folder.mkpath("."));
    QFile rtf(folder.filePath("TXT.rtf"));
    ASSERT_TRUE(rtf.open(QIODevice::WriteOnly));
    rtf.write("{\\rtf1\\ansi a{{\\NeXTGraphic link.txt \\width40 \\height40}\254}b}");
    rtf.close();
    ASSERT_TRUE(QFile::link(secret.fileName(), folder.filePath("link.txt")));
    auto contentsOfAttachments = [&folder] {
        QByteArrayList found;
        auto text = readRTFDDirectory(folder.path());
        for (int i = 0; text && i < text->length(); ++i)
            if (const auto &attachment = text->attributesAt(i).attachment)
                found << attachment->contents;
        return found;
    };
    EXPECT_FALSE(contentsOfAttachments().contains("outside the folder"));
    // The same name as a file of the folder's own is read.
    QFile::remove(folder.filePath("link.txt"));
    ASSERT_TRUE(QFile::copy(secret.fileName(), folder.filePath("link.txt")));
    EXPECT_TRUE(contentsOfAttachments().contains("outside the folder"));

    // A text file that is itself a link is not read either.
    const QDir linked(parent.filePath("linked.rtfd"));
    ASSERT_TRUE(linked.mkpath("."));
    ASSERT_TRUE(QFile::link(rtf.fileName(), linked.filePath("TXT.rtf")));
    EXPECT_FALSE(readRTFDDirectory(linked.path()).has_value());
}

TEST(Rtf, ParagraphDefaultTabIntervalIsRead)
{
    auto text = attributedStringWithRTF("{\\rtf1\\ansi{\\fonttbl\\f0\\fnil Helvetica;}\\f0\\fs24"
                                        "\\pard\\pardeftab720\\ql one\\par\\pard two}");
    ASSERT_TRUE(text.has_value());
    EXPECT_FLOAT_EQ(text->attributesAt(0).paragraphStyle.value_or(ParagraphStyle{}).defaultTabInterval, 36.0f);
    // \pard resets it: the second paragraph falls back to the document's default (none here).
    EXPECT_FLOAT_EQ(text->attributesAt(5).paragraphStyle.value_or(ParagraphStyle{}).defaultTabInterval, 0.0f);
}

TEST(Rtf, WriterStatesASharedParagraphStyleOnce)
{
    ParagraphStyle style;
    style.tabStops = {{TextTabType::Left, 36}, {TextTabType::Right, 200}};
    style.defaultTabInterval = 36;
    style.paragraphSpacing = 6;
    TextAttributes attrs;
    attrs.font = Font{"Helvetica", 12};
    attrs.paragraphStyle = style;
    QString body;
    for (int i = 0; i < 100; ++i)
        body += QStringLiteral("line %1\tcell\n").arg(i);
    const AttributedString text(body, attrs);
    const QByteArray rtf = RTFFromRange(text, {0, text.length()});
    EXPECT_EQ(rtf.count("\\pard"), 1) << rtf.left(400).toStdString();
    EXPECT_EQ(rtf.count("\\tx"), 2);
    auto back = attributedStringWithRTF(rtf);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->attributesAt(back->length() - 3).paragraphStyle, style);
}

TEST(Rtf, MinimumLineHeightIsWrittenInTheStandardForm)
{
    ParagraphStyle style;
    style.minimumLineHeight = 21;   // \sl420
    TextAttributes attrs;
    attrs.font = Font{"Helvetica", 12};
    attrs.paragraphStyle = style;
    const AttributedString text(QStringLiteral("tall lines\n"), attrs);
    const QByteArray rtf = RTFFromRange(text, {0, text.length()});
    EXPECT_TRUE(rtf.contains("\\sl420\\slmult0")) << rtf.toStdString();
    EXPECT_FALSE(rtf.contains("\\slminimum"));
    auto back = attributedStringWithRTF(rtf);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->attributesAt(0).paragraphStyle, style);
}
