// EPS through Ghostscript and the simple PostScript writer, opened by Ghostscript.
#include "export/eps_export.h"
#include "tests/export/export_fixture.h"

#include "model/vek_obj_format.h"
#include "model/vek_obj_grid.h"
#include "platform/text/rtf.h"
#include "platform/text/text_drawing.h"

#include <gtest/gtest.h>

using namespace exportfixture;

namespace {

// Ghostscript renders the EPS; the exit code, and the picture it made.
QImage renderedByGhostscript(const QString &eps, int *exitCode)
{
    QTemporaryDir dir;
    const QString png = dir.filePath("eps.png");
    run("gs", {"-dBATCH", "-dNOPAUSE", "-dSAFER", "-dQUIET", "-dEPSCrop", "-sDEVICE=png16m", "-r72",
               "-sOutputFile=" + png, eps},
        exitCode);
    return QImage(png).convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(EpsExport, ThroughGhostscriptGivesAnEpsGhostscriptOpens)
{
    Document fixture;
    QTemporaryDir dir;
    const QString path = dir.filePath("out.eps");
    QString error;
    ASSERT_TRUE(saveAsEps(fixture.doc, path, {Rect(0, 0, 150, 100), {}, false}, &error)) << error.toStdString();
    EXPECT_TRUE(readAll(path).startsWith("%!PS-Adobe-3.0 EPSF-3.0"));
    int code = -1;
    const QImage picture = renderedByGhostscript(path, &code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(picture.size(), QSize(150, 100));
    EXPECT_GT(qRed(picture.pixel(50, 50)), 200);
    EXPECT_LT(qGreen(picture.pixel(50, 50)), 60);
}

TEST(EpsExport, SimpleWriterPutsARectangleCoveringTheAreaOnTheBoundingBox)
{
    Document fixture;
    auto square = pathObject(BezierPath::bezierPathWithRect(Rect(10, 20, 100, 50)), Color::redColor());
    QTemporaryDir dir;
    const QString path = dir.filePath("simple.eps");
    ASSERT_TRUE(savePathsAsEps(fixture.doc, path, Rect(10, 20, 100, 50), {square}));
    const QByteArray eps = readAll(path);
    EXPECT_TRUE(eps.contains("%%BoundingBox: 0 0 100 50\n"));
    EXPECT_TRUE(eps.contains("0.000000 50.000000 m\n")) << eps.toStdString();
    EXPECT_TRUE(eps.contains("100.000000 0.000000 l\n"));
    EXPECT_TRUE(eps.contains("1.000000 0.000000 0.000000 rgb\nfill\ngrestore\n"));
    EXPECT_TRUE(eps.endsWith("%%EOF\n"));
    int code = -1;
    const QImage picture = renderedByGhostscript(path, &code);
    EXPECT_EQ(code, 0);
    EXPECT_GT(qRed(picture.pixel(50, 25)), 200);

    EXPECT_FALSE(savePathsAsEps(fixture.doc, dir.filePath("none.eps"), Rect(), {}));
    EXPECT_FALSE(QFile::exists(dir.filePath("none.eps")));
}

// The text Ghostscript finds in an EPS file.
QString textOfEps(const QString &eps)
{
    return run("gs", {"-dBATCH", "-dNOPAUSE", "-dSAFER", "-dQUIET", "-sDEVICE=txtwrite", "-sOutputFile=-", eps});
}

// Text boxes come out line by line as laid out, accented letters as themselves; tables
// show their cells and fields their value on each page.
TEST(EpsExport, SimpleWriterShowsTextAsLaidOutWithTablesAndFields)
{
    Document fixture;
    auto wrapped = textBox(Rect(20, 230, 120, 60), QString::fromUtf8("Crème brûlée for a naïve café guest"));
    fixture.add(wrapped);
    auto table = VekObjGrid::create();
    table->setBounds(Rect(150, 300, 120, 40));
    table->setupOnCurrentCondition();
    PropertyList cells = PropertyList::dictionary();
    PropertyList cell = PropertyList::dictionary();
    const AttributedString cellText(QStringLiteral("Tablecell"), textFont());
    cell.insert("text", PropertyList::fromData(RTFFromRange(cellText, {0, cellText.length()})));
    cells.insert(table->cellIDOfColumn(0, 0), cell);
    table->setCells(cells, false);
    fixture.add(table);
    auto field = VekObjFormat::create();
    field->setExample(AttributedString(QStringLiteral("1"), textFont()));
    field->setFormat(QStringLiteral("Folio %d"));
    field->setBounds(Rect(10, 185, 60, 14));
    field->setRepeatType(3);
    fixture.add(field);

    QTemporaryDir dir;
    const QString path = dir.filePath("simple.eps");
    ASSERT_TRUE(savePathsAsEps(fixture.doc, path, Rect(), fixture.doc.objects()));
    const QByteArray eps = readAll(path);
    EXPECT_TRUE(eps.contains("/Helvetica findfont latin1\n12 scalefont setfont")) << eps.toStdString();
    // The narrow box wraps: several lines, each starting at its left edge inside the box,
    // one below the other (EPS y grows upwards; the box spans y 110..170 of the 400 points).
    QList<double> lineTops;
    static const QRegularExpression shown("([\\d.]+) ([\\d.]+) m\n\\(([^)]*)\\) show");
    for (auto it = shown.globalMatch(QString::fromLatin1(eps)); it.hasNext();) {
        const auto m = it.next();
        const double x = m.captured(1).toDouble(), y = m.captured(2).toDouble();
        if (x >= 20 && x < 140 && y > 110 && y < 170)
            lineTops << y;
    }
    ASSERT_GE(lineTops.size(), 3) << eps.toStdString();
    for (qsizetype i = 1; i < lineTops.size(); ++i)
        EXPECT_LT(lineTops[i], lineTops[i - 1]);

    int code = -1;
    renderedByGhostscript(path, &code);
    EXPECT_EQ(code, 0);
    const QString text = textOfEps(path);
    for (const char *word : {"Crème", "brûlée", "naïve", "café", "Tablecell", "Folio 1", "Folio 2", "Here is the", "target"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << word << "\n" << text.toStdString();
}

// A table comes out of the simple writer as the Ghostscript form (made from the PDF) draws
// it: the grid with its outer border, and cell text wrapped at the cell's width.
TEST(EpsExport, SimpleWriterDrawsTablesAsTheGhostscriptFormDoes)
{
    ensureGuiApp();
    VekDocument doc;   // the table alone on white
    doc.setPrintInfo(PrintInfo::defaults());
    doc.setDrawAreaSizePerPage({300, 200});
    auto table = VekObjGrid::create();
    table->setBounds(Rect(40, 40, 200, 80));
    table->setupOnCurrentCondition();   // 2 x 2 cells of 100 x 40
    table->setGridColor(Color::blackColor());
    const QString words = QStringLiteral("Words that wrap inside the narrow cell");
    const AttributedString cellText(words, textFont());
    PropertyList cell = PropertyList::dictionary();
    cell.insert("text", PropertyList::fromData(RTFFromRange(cellText, {0, cellText.length()})));
    PropertyList cells = PropertyList::dictionary();
    cells.insert(table->cellIDOfColumn(0, 0), cell);
    table->setCells(cells, false);
    doc.insertObject(table, 0, false);

    QTemporaryDir dir;
    const Rect area(0, 0, 300, 160);
    const QString simple = dir.filePath("simple.eps"), ghostscript = dir.filePath("gs.eps");
    ASSERT_TRUE(savePathsAsEps(doc, simple, area, {table}));
    QString error;
    ASSERT_TRUE(saveAsEps(doc, ghostscript, {area, {}, false}, &error)) << error.toStdString();

    // The cell's text: several lines, each within the cell (x 40..140), one below the other.
    const QByteArray eps = readAll(simple);
    QList<double> lineHeights;
    static const QRegularExpression shown("([\\d.]+) ([\\d.]+) m\n\\(([^)]*)\\) show");
    for (auto it = shown.globalMatch(QString::fromLatin1(eps)); it.hasNext();) {
        const auto m = it.next();
        EXPECT_GE(m.captured(1).toDouble(), 40) << m.captured(3).toStdString();
        EXPECT_LT(m.captured(1).toDouble() + attributedStringSize(AttributedString(m.captured(3), textFont())).width, 140)
            << m.captured(3).toStdString();
        lineHeights << m.captured(2).toDouble();
    }
    ASSERT_GE(lineHeights.size(), 2) << eps.toStdString();
    for (qsizetype i = 1; i < lineHeights.size(); ++i)
        EXPECT_LT(lineHeights[i], lineHeights[i - 1]);
    EXPECT_TRUE(textOfEps(simple).simplified().contains(words)) << textOfEps(simple).toStdString();

    // The outer border and the inner lines are where the Ghostscript form has them.
    int code = -1;
    const QImage fromSimple = renderedByGhostscript(simple, &code);
    ASSERT_EQ(code, 0);
    const QImage fromPdf = renderedByGhostscript(ghostscript, &code);
    ASSERT_EQ(code, 0);
    // Ghostscript's form is cropped to what it draws, the table: its top left is the table's.
    const auto darkAround = [](const QImage &image, QPoint at) {
        int darkest = 255;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (image.valid(at.x() + dx, at.y() + dy))
                    darkest = std::min(darkest, qGray(image.pixel(at.x() + dx, at.y() + dy)));
        return darkest < 128;
    };
    const QPoint topLeft(40, 40);
    // Points on the outer border and the inner lines, from the table's top left.
    const QPoint onLines[] = {{0, 60}, {200, 60}, {150, 0}, {150, 80}, {100, 60}, {150, 40}};
    for (const QPoint &at : onLines) {
        EXPECT_TRUE(darkAround(fromPdf, at)) << at.x() << "," << at.y();
        EXPECT_TRUE(darkAround(fromSimple, topLeft + at)) << at.x() << "," << at.y();
    }
    EXPECT_FALSE(darkAround(fromPdf, {150, 60}));   // inside an empty cell
    EXPECT_FALSE(darkAround(fromSimple, topLeft + QPoint(150, 60)));
}

TEST(EpsExport, SimpleWriterTextIsEscapedOnceLatin1AndCleanJis)
{
    ensureGuiApp();
    // Escapes once; Latin-1 letters as octal bytes; beyond Latin-1 a question mark.
    EXPECT_EQ(SimpleEps::latin1StringBody(QString::fromUtf8("a(b)\\c é€")), QByteArray("a\\(b\\)\\\\c \\351?"));
    // JIS text: only octal escapes (7-bit file), starting with the escape into JIS X 0208
    // and ending back in ASCII.
    const QByteArray jis = SimpleEps::jisStringBody(QString::fromUtf8("日本"));
    EXPECT_TRUE(jis.startsWith("\\033\\044\\102")) << jis.toStdString();
    EXPECT_TRUE(jis.endsWith("\\033\\050\\102"));
    for (char c : jis)
        EXPECT_TRUE(c == '\\' || (c >= '0' && c <= '7'));

    struct Case {
        const char *font;
        const char *postScript;
    };
    for (const Case &c : {Case{"Courier-Bold", "Courier-Bold"}, Case{"DejaVuSans-BoldOblique", "Helvetica-BoldOblique"},
                          Case{"DejaVuSansMono-Bold", "Courier-Bold"}, Case{"NimbusRoman-Bold", "Times-Bold"},
                          Case{"NimbusRoman-Regular", "Times-Roman"}, Case{"DejaVuSerif", "Helvetica"}})
        EXPECT_EQ(SimpleEps::postScriptFontName(c.font), QString(c.postScript)) << c.font;

    TextAttributes a;
    a.font = Font{QStringLiteral("Helvetica"), 12};
    const QByteArray commands = SimpleEps::textCommands(AttributedString("one\ntwo (2)", a), 10, 100);
    EXPECT_TRUE(commands.contains("/Helvetica findfont latin1\n12 scalefont setfont")) << commands.toStdString();
    EXPECT_EQ(commands.count(" m\n"), 2);
    EXPECT_TRUE(commands.contains("10.000000 100.000000 m\n(one) show\n")) << commands.toStdString();
    EXPECT_TRUE(commands.contains("10.000000 88.000000 m\n(two \\(2\\)) show\n"));
}
