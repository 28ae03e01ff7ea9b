// Path objects drawn to PDF at any resolution look as they do in an image: transparency
// layers replay their own drawing commands instead of a picture rescaled by the device's
// resolution.
#include "fakes.h"

#include "model/vek_obj_path.h"
#include "platform/graphics/graphics_context.h"
#include "platform/pdf/pdf_document.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>

namespace {

constexpr int PageSide = 200;

std::vector<std::shared_ptr<VekObjPath>> pageOfPaths()
{
    std::vector<std::shared_ptr<VekObjPath>> objects;
    const struct {
        Rect bounds;
        Color fill, stroke;
        float width;
    } rows[] = {
        {{20, 20, 70, 50}, Color::redColor(), Color::blackColor(), 4},
        {{110, 30, 60, 80}, Color::blueColor(), Color::greenColor().colorWithAlphaComponent(0.5f), 8},
        {{40, 120, 120, 50}, Color::yellowColor(), Color::blueColor(), 2},
    };
    for (const auto &row : rows) {
        auto o = VekObjPath::create();
        BezierPath path = BezierPath::bezierPathWithOvalInRect(row.bounds);
        o->setBezierPath(path);
        o->setBounds(row.bounds);
        o->setFillColor(row.fill);
        o->setDrawsFill(true);
        o->setObjStrokeColor(row.stroke);
        o->setObjLineWidth(row.width);
        objects.push_back(o);
    }
    return objects;
}

// Draws the page: the paths, the first under a shadow (so that it draws through a layer), the
// second with a half-transparent stroke (also a layer).
void drawPage(GraphicsContext &context, const std::vector<std::shared_ptr<VekObjPath>> &objects)
{
    GraphicsContext::Scope scope(context);
    for (size_t i = 0; i < objects.size(); ++i) {
        GraphicsStateSaver saver(context);
        if (i == 0)
            context.setShadow(Shadow{3, -3, 2, Color::blackColor().colorWithAlphaComponent(0.5f)});
        objects[i]->drawInViewIsSelected(nullptr, false);
    }
}

QImage pdfPageAtResolution(int dpi, const std::vector<std::shared_ptr<VekObjPath>> &objects)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("page.pdf");
    {
        QPdfWriter writer(file);
        writer.setResolution(dpi);
        writer.setPageSize(QPageSize(QSizeF(PageSide, PageSide), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        GraphicsContext context(&writer, GraphicsContext::Output::PDF);
        AffineTransform toDevice;
        toDevice.scaleBy(dpi / 72.0);
        context.concat(toDevice);
        drawPage(context, objects);
    }
    auto pdf = PdfDocument::open(file);
    EXPECT_TRUE(pdf);
    if (!pdf)
        return {};
    QImage page = pdf->renderPage(0, 72).convertToFormat(QImage::Format_ARGB32);
    QImage onWhite(page.size(), QImage::Format_ARGB32);
    onWhite.fill(Qt::white);
    QPainter(&onWhite).drawImage(0, 0, page);
    return onWhite;
}

// The share of pixels whose colour differs by more than `tolerance` in any channel.
double differingShare(const QImage &a, const QImage &b, int tolerance)
{
    if (a.size() != b.size())
        return 1.0;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            if (std::abs(p.red() - q.red()) > tolerance || std::abs(p.green() - q.green()) > tolerance
                || std::abs(p.blue() - q.blue()) > tolerance)
                ++differing;
        }
    return double(differing) / (a.width() * a.height());
}

} // namespace

TEST(VekObjPathOutput, PdfAtAnyResolutionMatchesTheImage)
{
    ensureGuiApp();
    const auto objects = pageOfPaths();
    QImage reference(PageSide, PageSide, QImage::Format_ARGB32);
    reference.fill(Qt::white);
    {
        GraphicsContext context(reference);
        drawPage(context, objects);
    }
    for (int dpi : {72, 300}) {
        const QImage page = pdfPageAtResolution(dpi, objects);
        ASSERT_EQ(page.size(), reference.size()) << dpi;
        EXPECT_LT(differingShare(page, reference, 60), 0.03) << dpi << " dpi";
    }
}
