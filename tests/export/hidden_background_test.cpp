// A background the document's window hides is left out of every output: PDF of the whole
// document and of an area, EPS, bitmaps and the previews.
#include "canvas/offscreen_images.h"
#include "export/eps_export.h"
#include "export/export_dispatch.h"
#include "export/pdf_export.h"
#include "export/preview_data.h"
#include "tests/export/export_fixture.h"
#include "tests/model/fakes.h"

#include <gtest/gtest.h>

#include <functional>

using namespace exportfixture;

namespace {

// The background PDF's band along the bottom of each page.
bool showsYellow(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) < 80)
                return true;
        }
    return false;
}

QImage ghostscriptPicture(const QString &eps)
{
    QTemporaryDir dir;
    run("gs", {"-dBATCH", "-dNOPAUSE", "-dSAFER", "-dQUIET", "-dEPSCrop", "-sDEVICE=png16m", "-r72",
               "-sOutputFile=" + dir.filePath("eps.png"), eps});
    return QImage(dir.filePath("eps.png")).convertToFormat(QImage::Format_RGB32);
}

struct Output {
    const char *name;
    // Writes the output into the folder and answers its first page as a picture, and its
    // text when it has text.
    std::function<std::pair<QImage, QString>(VekDocument &, Written &)> make;
};

std::pair<QImage, QString> pdfPage(Written &out)
{
    return {out.page(1), run("pdftotext", {"-f", "1", "-l", "1", out.path, "-"})};
}

const std::vector<Output> &outputs()
{
    static const std::vector<Output> all = {
        {"whole PDF",
         [](VekDocument &doc, Written &out) {
             EXPECT_TRUE(saveAsPdf(doc, out.path, {}, 0, "plan.vek"));
             return pdfPage(out);
         }},
        {"area PDF",
         [](VekDocument &doc, Written &out) {
             EXPECT_TRUE(saveAsPdf(doc, out.path, {Rect(0, 10, 300, 190), {}, false}, 0, "plan.vek"));
             return pdfPage(out);
         }},
        {"EPS",
         [](VekDocument &doc, Written &out) {
             const QString eps = out.dir.filePath("out.eps");
             EXPECT_TRUE(saveAsEps(doc, eps, {Rect(0, 10, 300, 190), {}, false}));
             return std::pair{ghostscriptPicture(eps), QString()};
         }},
        {"PNG",
         [](VekDocument &doc, Written &out) {
             ExportRequest request;
             request.path = out.dir.filePath("out.png");
             request.format = "png";
             EXPECT_TRUE(saveArea(doc, request));
             return std::pair{QImage(request.path).convertToFormat(QImage::Format_RGB32), QString()};
         }},
        {"page preview",
         [](VekDocument &doc, Written &) {
             return std::pair{previewOfPage(doc, 1, false, 1, "plan.vek").convertToFormat(QImage::Format_RGB32),
                              QString()};
         }},
        {"saved thumbnail",
         [](VekDocument &doc, Written &) {
             return std::pair{QImage::fromData(createPngDataForQuickLookThumbnail(doc)).convertToFormat(QImage::Format_RGB32),
                              QString()};
         }},
        {"saved PDF preview",
         [](VekDocument &doc, Written &out) {
             QFile file(out.path);
             EXPECT_TRUE(file.open(QIODevice::WriteOnly));
             file.write(VekPDFRepresentation(doc));
             file.close();
             return pdfPage(out);
         }},
    };
    return all;
}

} // namespace

TEST(HiddenBackground, EveryOutputLeavesTheHiddenBackgroundOutAndShowsItOtherwise)
{
    for (const Output &output : outputs())
        for (const bool hidden : {false, true}) {
            SCOPED_TRACE(std::string(output.name) + (hidden ? ", hidden" : ", shown"));
            Document fixture;
            FakeCanvas window;
            window.hidesBackground = hidden;
            fixture.doc.setVekView(&window);
            Written out;
            const auto [picture, text] = output.make(fixture.doc, out);
            fixture.doc.setVekView(nullptr);
            ASSERT_FALSE(picture.isNull());
            EXPECT_EQ(showsYellow(picture), !hidden);
            if (hidden) {
                EXPECT_FALSE(text.contains("Background words")) << text.toStdString();
            } else if (!text.isEmpty()) {
                EXPECT_TRUE(text.contains("Background words")) << text.toStdString();
            }
            // The objects stay.
            EXPECT_FALSE(redArea(picture).isEmpty());
        }
}
