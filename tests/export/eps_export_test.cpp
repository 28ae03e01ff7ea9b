// EPS through Ghostscript and the simple PostScript writer, opened by Ghostscript.
#include "export/eps_export.h"
#include "tests/export/export_fixture.h"

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

TEST(EpsExport, SimpleWriterShowsTheTextOfTextBoxesRunByRunFromTheirTopLeft)
{
    Document fixture;
    QTemporaryDir dir;
    const QString path = dir.filePath("simple.eps");
    ASSERT_TRUE(savePathsAsEps(fixture.doc, path, Rect(), fixture.doc.objects()));
    const QByteArray eps = readAll(path);
    // The anchored box stands at (20, 300) of the two 200-point pages: 100 points up.
    const qsizetype plain = eps.indexOf("20.000000 100.000000 m\n(Here is the ) show\n");
    EXPECT_GE(plain, 0) << eps.toStdString();
    EXPECT_GT(eps.indexOf("(target) show\n", plain), plain);
    EXPECT_TRUE(eps.contains("/Helvetica findfont\n12 scalefont setfont"));
    EXPECT_TRUE(eps.contains("(example.org) show\n"));
    int code = -1;
    renderedByGhostscript(path, &code);
    EXPECT_EQ(code, 0);
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
    EXPECT_EQ(commands.count(" m\n"), 2);
    EXPECT_TRUE(commands.contains("10.000000 100.000000 m\n(one) show\n")) << commands.toStdString();
    EXPECT_TRUE(commands.contains("10.000000 88.000000 m\n(two \\(2\\)) show\n"));
}
