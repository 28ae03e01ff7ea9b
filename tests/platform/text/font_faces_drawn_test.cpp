// The face fontconfig resolves for a name is the face drawn: in images (slanted pixels for
// italic and oblique faces, upright ones otherwise) and embedded in PDF under its own name,
// for every style of the URW base-35 families, DejaVu and Liberation.
#include "platform/graphics/graphics_context.h"
#include "platform/pdf/pdf_output.h"
#include "platform/text/font_registry.h"
#include "platform/text/text_drawing.h"
#include "tests/support/gui_app.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Face {
    QString family;
    bool bold;
    bool italic;
    QString name;   // the PostScript name the family gives for the traits
};

// Every style of the families; families not installed on this machine are left out.
std::vector<Face> facesToCheck()
{
    const QStringList families = {
        "Helvetica", "Helvetica Narrow", "Times", "Courier", "Palatino", "New Century Schoolbook", "Bookman",
        "Avant Garde", "DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono", "Liberation Sans", "Liberation Serif",
        "Liberation Mono"};
    std::vector<Face> faces;
    for (const QString &family : families) {
        for (const bool bold : {false, true})
            for (const bool italic : {false, true}) {
                const QString name = fontNameWithTraits(family, bold, italic);
                if (fontExists(name))
                    faces.push_back({family, bold, italic, name});
            }
    }
    return faces;
}

QString describe(const Face &face)
{
    return face.family + (face.bold ? " bold" : "") + (face.italic ? " italic" : "") + " (" + face.name + ")";
}

// How far the ink of an upright bar ("I") leans: the middle of its top quarter right of the
// middle of its bottom quarter, as a share of its height.
double leanOf(const Font &font)
{
    QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        GraphicsContext context(&image, GraphicsContext::Output::Bitmap);
        GraphicsContext::Scope scope(context);
        TextAttributes a;
        a.font = font;
        drawAttributedStringAtPoint(AttributedString(QStringLiteral("I"), a), {60, 20});
    }
    std::vector<double> middles;   // per row with ink
    for (int y = 0; y < image.height(); ++y) {
        double sum = 0, weight = 0;
        for (int x = 0; x < image.width(); ++x) {
            const double ink = 255 - qGray(image.pixel(x, y));
            sum += ink * x;
            weight += ink;
        }
        if (weight > 0)
            middles.push_back(sum / weight);
    }
    if (middles.size() < 8)
        return 0;
    const size_t quarter = middles.size() / 4;
    double top = 0, bottom = 0;
    for (size_t i = 0; i < quarter; ++i) {
        top += middles[i];
        bottom += middles[middles.size() - 1 - i];
    }
    return (top - bottom) / double(quarter) / double(middles.size());
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

class FontFacesDrawn : public ::testing::Test {
protected:
    void SetUp() override { ensureGuiApp(); }
};

TEST_F(FontFacesDrawn, TheFaceLaidOutIsTheFileFontconfigResolves)
{
    for (const Face &face : facesToCheck()) {
        SCOPED_TRACE(describe(face).toStdString());
        const FontFace resolved = fontFace(face.name);
        EXPECT_EQ(resolved.bold, face.bold);
        EXPECT_EQ(resolved.italic, face.italic);
        QFile file(resolved.file);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QRawFont fromFile;
        fromFile.loadFromData(file.readAll(), 12, QFont::PreferNoHinting);
        const QRawFont laidOut = QRawFont::fromFont(qFont(Font{face.name, 12}));
        ASSERT_FALSE(fromFile.fontTable("name").isEmpty());
        EXPECT_EQ(laidOut.fontTable("name"), fromFile.fontTable("name"));
    }
}

TEST_F(FontFacesDrawn, ItalicAndObliqueFacesLeanInImagesAndOthersStandUpright)
{
    for (const Face &face : facesToCheck()) {
        SCOPED_TRACE(describe(face).toStdString());
        const double lean = leanOf(Font{face.name, 100});
        if (face.italic)
            EXPECT_GT(lean, 0.08);
        else
            EXPECT_LT(std::abs(lean), 0.03);
    }
}

TEST_F(FontFacesDrawn, PdfEmbedsEveryFaceUnderItsOwnName)
{
    const std::vector<Face> faces = facesToCheck();
    PdfOutput output(Size(600, 20 * float(faces.size()) + 40));
    {
        GraphicsContext::Scope scope(output.context());
        float y = 20;
        for (const Face &face : faces) {
            TextAttributes a;
            a.font = Font{face.name, 12};
            drawAttributedStringAtPoint(AttributedString(describe(face), a), {20, y});
            y += 20;
        }
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("faces.pdf");
    QString error;
    ASSERT_TRUE(output.finishToFile(path, &error)) << error.toStdString();
    // pdffonts: a line per font after two header lines, the name first ("ABCDEF+NimbusSans-
    // Italic" for a subset) and "yes" in the column "emb" (the fifth from the end).
    QStringList embedded;
    for (const QString &line : run("pdffonts", {path}).split('\n', Qt::SkipEmptyParts).mid(2)) {
        const QStringList columns = line.split(' ', Qt::SkipEmptyParts);
        if (columns.size() > 5 && columns[columns.size() - 5] == "yes")
            embedded << columns[0].section('+', -1);
    }
    for (const Face &face : faces)
        EXPECT_TRUE(embedded.contains(fontFace(face.name).postScriptName))
            << describe(face).toStdString() << " not in " << embedded.join(", ").toStdString();
}

} // namespace
