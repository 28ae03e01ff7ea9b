// The page loop: backgrounds, objects back to front, repetition on pages and clip paths,
// drawn without a window.
#include "canvas/document_renderer.h"
#include "canvas/offscreen_canvas.h"

#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/recording_paint_device.h"
#include "platform/pdf/pdf_document.h"
#include "tests/platform/pdf/pdf_fixtures.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

namespace {

constexpr float PageWidth = 200, PageHeight = 100;

std::shared_ptr<VekObject> filledRect(const Rect &r, const Color &color)
{
    auto o = VekObjPath::create();
    o->setBezierPath(BezierPath::bezierPathWithRect(r));
    o->setBounds(r);
    o->setFillColor(color);
    o->setDrawsFill(true);
    o->setDrawsStroke(false);
    return o;
}

std::shared_ptr<VekObjPath> clipOval(const Rect &r, int clipType)
{
    auto o = VekObjPath::create();
    o->setBezierPath(BezierPath::bezierPathWithOvalInRect(r));
    o->setBounds(r);
    o->setDrawsStroke(false);
    o->simplySetAsClip(clipType, nullptr);
    return o;
}

struct TwoPages {
    TwoPages()
    {
        doc.setDrawAreaSizePerPage({PageWidth, PageHeight});
        doc.setNumberOfPages(2);
    }
    void add(const std::shared_ptr<VekObject> &object) { doc.insertObject(object, 0, false); }
    QImage render(RenderRequest request = {})
    {
        QImage pixels(int(PageWidth), int(2 * PageHeight), QImage::Format_ARGB32);
        pixels.fill(Qt::white);
        GraphicsContext context(pixels);
        GraphicsContext::Scope scope(context);
        OffscreenCanvas canvas(doc);
        if (request.dirty == Rect())
            request.dirty = canvas.bounds();
        drawDocumentPages(doc, canvas, request);
        return pixels;
    }
    VekDocument doc;
};

QColor at(const QImage &image, int x, int y) { return image.pixelColor(x, y); }

} // namespace

TEST(DocumentRenderer, BackgroundColourObjectsAndRepetition)
{
    ensureGuiApp();
    TwoPages t;
    t.doc.setBackgroundColor(Color::yellowColor());
    t.add(filledRect(Rect(10, 10, 30, 30), Color::redColor()));
    auto everyPage = filledRect(Rect(100, 10, 30, 30), Color::blueColor());
    everyPage->setRepeatType(3);
    t.add(everyPage);

    const QImage page = t.render();
    EXPECT_EQ(at(page, 5, 5), QColor(Qt::yellow));
    EXPECT_EQ(at(page, 20, 20), QColor(Qt::red));
    EXPECT_EQ(at(page, 20, 120), QColor(Qt::yellow));   // an ordinary object stays on its page
    EXPECT_EQ(at(page, 110, 20), QColor(Qt::blue));
    EXPECT_EQ(at(page, 110, 120), QColor(Qt::blue));    // the repeating one is on page 2 too

    RenderRequest copy;
    copy.drawingToCopy = true;
    EXPECT_EQ(at(t.render(copy), 5, 5), QColor(Qt::white));
}

TEST(DocumentRenderer, ClipPathsShowTheObjectInFrontInsideOrOutside)
{
    ensureGuiApp();
    for (int clipType : {1, 2}) {
        TwoPages t;
        t.add(clipOval(Rect(20, 20, 60, 60), clipType));       // behind
        t.add(filledRect(Rect(10, 10, 80, 80), Color::blueColor()));   // in front, clipped
        const QImage page = t.render();
        const QColor centre = at(page, 50, 50), corner = at(page, 12, 12);
        if (clipType == 1) {
            EXPECT_EQ(centre, QColor(Qt::blue));
            EXPECT_EQ(corner, QColor(Qt::white));
        } else {
            EXPECT_EQ(centre, QColor(Qt::white));
            EXPECT_EQ(corner, QColor(Qt::blue));
        }
    }
}

TEST(DocumentRenderer, EachPageShowsTheBackgroundPdfPageItsListNames)
{
    ensureGuiApp();
    // Page 1 of the PDF is red, page 2 green.
    auto page = [](const char *colour) {
        return std::string("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] /Contents ") + colour + " >>";
    };
    const QByteArray data = pdfFromObjects({"<< /Type /Catalog /Pages 2 0 R >>",
                                            "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>", page("5 0 R"),
                                            page("6 0 R"), streamObject("", "1 0 0 rg 0 0 200 100 re f"),
                                            streamObject("", "0 1 0 rg 0 0 200 100 re f")});
    TwoPages t;
    t.doc.setBackgroundPDF(PdfDocument::openData(data), data);
    t.doc.moveBgPDFPage(0, 1);   // document page 1 shows PDF page 2
    const QImage pixels = t.render();
    EXPECT_EQ(at(pixels, 100, 50).green(), 255);
    EXPECT_EQ(at(pixels, 100, 50).red(), 0);
    EXPECT_EQ(at(pixels, 100, 150).red(), 255);
    RenderRequest hidden;
    hidden.backgroundHidden = true;
    EXPECT_EQ(at(t.render(hidden), 100, 50), QColor(Qt::white));
}

TEST(DocumentRenderer, AnObjectOverAPageEdgeStaysInFrontOnTheNextPage)
{
    ensureGuiApp();
    TwoPages t;
    t.add(filledRect(Rect(20, 110, 60, 60), Color::blueColor()));   // behind, on page 2
    t.add(filledRect(Rect(40, 60, 60, 80), Color::redColor()));     // in front, pages 1 and 2
    // The whole canvas, and a dirty rectangle on page 2 only, show the same stacking.
    for (const Rect &dirty : {Rect(), Rect(0, 100, PageWidth, PageHeight)}) {
        RenderRequest request;
        request.dirty = dirty;
        const QImage pixels = t.render(request);
        EXPECT_EQ(at(pixels, 60, 120), QColor(Qt::red));
        EXPECT_EQ(at(pixels, 30, 120), QColor(Qt::blue));
    }
}
