// PdfRewriter::compactContents: the content stream gets shorter, looks the same to Poppler,
// drops only state that changes nothing, and keeps decimal points under a decimal-comma locale.
#include "platform/pdf/pdf_document.h"
#include "platform/pdf/pdf_rewriter.h"
#include "tests/platform/pdf/pdf_fixtures.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <clocale>

namespace {

// A page as Qt's writer draws a filled and stroked shape: numbers with nine decimals, the
// graphics state named again, the fill and the stroke as two groups with the whole path,
// and state set just before a restore.
QByteArray qtStylePage()
{
    const std::string path = "10.123456789 10.000000001 m 90.5 10 l 90.5 60.987654321 l 10 60 l h\n";
    return pdfFromObjects({
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 80] /Contents 4 0 R"
        " /Resources << /ExtGState << /GSa << /CA 1 /ca 1 >> >> >> >>",
        streamObject("", "/GSa gs q /GSa gs 1 0 0 rg\n" + path + "f Q q 0 0 1 RG 2.500000000 w\n" + path
                             + "S 0.5 w Q q 0 1 0 rg 1 0 0 1 0 0 cm Q\n"),
    });
}

// The decompressed content stream of the first page.
QByteArray contents(const QByteArray &pdf)
{
    return pdfToolOutput("qpdf", {"--show-object=4", "--filtered-stream-data"}, pdf);
}

QByteArray compacted(const QByteArray &pdf)
{
    PdfRewriter rewriter;
    EXPECT_TRUE(rewriter.openData(pdf));
    EXPECT_TRUE(rewriter.compactContents());
    return rewriter.writeToData();
}

// Operators of the stream whose name is `name`: lines that are the name or end with it.
int operatorCount(const QByteArray &stream, const QByteArray &name)
{
    int n = 0;
    for (const QByteArray &line : stream.split('\n'))
        n += line == name || line.endsWith(' ' + name);
    return n;
}

} // namespace

TEST(PdfContentCompaction, MergesFillAndStrokeDropsUnusedStateAndShortensNumbers)
{
    ensureGuiApp();
    const QByteArray before = qtStylePage();
    const QByteArray after = compacted(before);
    const QByteArray stream = contents(after);
    EXPECT_LT(stream.size(), contents(before).size());
    EXPECT_TRUE(stream.contains("10.1235 10 m")) << stream.toStdString();
    EXPECT_TRUE(stream.contains("\nB\n"));
    EXPECT_FALSE(stream.contains("\nf\n"));
    EXPECT_EQ(stream.count("gs"), 1);
    EXPECT_FALSE(stream.contains("0.5 w"));
    EXPECT_FALSE(stream.contains("0 1 0 rg"));
    // Poppler draws both alike (edge pixels may differ by antialiasing).
    auto original = PdfDocument::openData(before);
    auto small = PdfDocument::openData(after);
    ASSERT_TRUE(original && small);
    const QImage a = original->renderPage(0, 144).convertToFormat(QImage::Format_RGB32);
    const QImage b = small->renderPage(0, 144).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(a.size(), b.size());
    int different = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            different += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                   std::abs(qBlue(p) - qBlue(q))}) > 48;
        }
    EXPECT_LT(different, a.width() * a.height() / 200) << different;
    EXPECT_EQ(qRgb(255, 0, 0), b.pixel(100, 70));   // the fill
}

// Leaving out state that is replaced before it is used or is already current: each case's
// page keeps the counted operators as given and Poppler draws it pixel for pixel as before.
TEST(PdfContentCompaction, StateThatIsReplacedOrAlreadyCurrentIsLeftOutOnlyWhereNothingChanges)
{
    ensureGuiApp();
    // Qt's way of filling and stroking a shape at once: the pen reset after it.
    std::string oneColour;
    for (int i = 0; i < 6; ++i)
        oneColour += "/CSp cs 1 0 0 scn /GSa gs 0 0 1 SCN 3 w 0 J 10 M 0 j [] 0 d " + std::to_string(5 + 15 * i)
                     + " 10 10 50 re B 0 0 0 SCN 1 w 2 J 2 j [] 0 d\n";
    const struct {
        const char *what;
        std::string stream;
        std::vector<std::pair<QByteArray, int>> counts;
    } cases[] = {
        {"shapes of one colour and line, the pen reset after each", "q /CSp CS " + oneColour + "Q",
         {{"B", 6}, {"scn", 1}, {"SCN", 1}, {"w", 1}, {"J", 1}, {"j", 1}, {"d", 1}, {"cs", 1}, {"gs", 1}}},
        {"a colour replaced before painting goes; one painted with stays, and so does the same one later",
         "1 0 0 rg 0 1 0 rg 10 10 20 20 re f 0 0 1 rg 40 10 20 20 re f 0 0 1 rg 70 10 20 20 re f",
         {{"rg", 2}, {"f", 3}}},
        {"a restore brings back the saved colour: the colour after it is set again",
         "1 0 0 rg q 0 0 1 rg 10 10 20 20 re f Q 0 0 1 rg 40 10 20 20 re f", {{"rg", 3}}},
        {"a graphics state may set the line width: the width after it is set again",
         "4 w 10 10 m 50 50 l S /GSb gs 4 w 10 50 m 50 10 l S", {{"w", 2}, {"gs", 1}}},
        {"a colour space resets the colour: the colour after it is set again",
         "/CSp cs 1 0 0 scn 10 10 20 20 re f /CSq cs 1 0 0 scn 40 10 20 20 re f", {{"cs", 2}, {"scn", 2}}},
        {"a colour space with a colour and no painting before the next goes",
         "/CSq cs 0 1 0 scn /CSp cs 1 0 0 scn 10 10 20 20 re f", {{"cs", 1}, {"scn", 1}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray before = pdfFromObjects({
            "<< /Type /Catalog /Pages 2 0 R >>",
            "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 80] /Contents 4 0 R /Resources <<"
            " /ExtGState << /GSa << /CA 1 /ca 1 >> /GSb << /LW 1 >> >>"
            " /ColorSpace << /CSp /DeviceRGB /CSq /DeviceRGB >> >> >>",
            streamObject("", c.stream + "\n"),
        });
        const QByteArray after = compacted(before);
        const QByteArray stream = contents(after);
        for (const auto &[name, n] : c.counts)
            EXPECT_EQ(operatorCount(stream, name), n) << name.toStdString() << "\n" << stream.toStdString();
        auto original = PdfDocument::openData(before);
        auto small = PdfDocument::openData(after);
        ASSERT_TRUE(original && small);
        EXPECT_EQ(original->renderPage(0, 144), small->renderPage(0, 144));
    }
}

TEST(PdfContentCompaction, NumbersKeepTheirDecimalPointUnderADecimalCommaLocale)
{
    ensureGuiApp();
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.utf8"))
        GTEST_SKIP() << "no decimal-comma locale is installed";
    const QByteArray stream = contents(compacted(qtStylePage()));
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_TRUE(stream.contains("10.1235 10 m")) << stream.toStdString();
    EXPECT_TRUE(stream.contains("2.5 w"));
    EXPECT_FALSE(stream.contains(','));
}
