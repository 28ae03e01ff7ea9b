// A PNG export is written while it is drawn, band by band: the file holds the same pixels as
// the whole canvas image, the whole image is never held, and a failed export leaves the
// file that was there.
#include "canvas/offscreen_images.h"
#include "export/export_dispatch.h"
#include "tests/export/export_fixture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>

#include <sys/resource.h>

using namespace exportfixture;

namespace {

ExportRequest pngRequest(const QString &path)
{
    ExportRequest r;
    r.path = path;
    r.format = QStringLiteral("png");
    return r;
}

long peakResidentKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

TEST(PngBandExport, HoldsThePixelsOfTheWholeImage)
{
    Document fixture;
    // Semi-transparent shapes across the bands' edges and the page's.
    for (int i = 0; i < 12; ++i)
        fixture.doc.insertObject(pathObject(BezierPath::bezierPathWithOvalInRect(Rect(float(i * 25 - 40), float(i * 30), 120, 90)),
                                            Color::colorWithCalibratedRed(0.1f * float(i % 10), 0.5f, 0.8f, 0.7f)),
                                 0, false);
    QTemporaryDir dir;
    const QString path = dir.filePath("out.png");
    QString error;
    ASSERT_TRUE(saveArea(fixture.doc, pngRequest(path), &error)) << error.toStdString();
    const QImage written(path);
    const QImage whole = imageWithinRect(fixture.doc, {}).bitmap().toQImage();
    ASSERT_FALSE(written.isNull());
    const QImage a = written.convertToFormat(QImage::Format_ARGB32), b = whole.convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(a.size(), b.size());
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int shift : {0, 8, 16, 24})
                largest = std::max(largest, std::abs(int((p >> shift) & 0xff) - int((q >> shift) & 0xff)));
            if (largest > 2) {
                ADD_FAILURE() << x << "," << y << " " << std::hex << p << " " << q;
                return;
            }
        }
}

// A 6,000 x 6,000 point page is 144 MB as one image; drawn in bands the export's peak stays
// far below that.
TEST(PngBandExport, ABigPageIsNeverHeldWhole)
{
    ensureGuiApp();
    VekDocument doc;
    doc.setDrawAreaSizePerPage({6000, 6000});
    doc.insertObject(pathObject(BezierPath::bezierPathWithOvalInRect(Rect(100, 100, 5800, 5800)),
                                Color::colorWithCalibratedRed(0.2f, 0.4f, 0.6f, 0.7f)),
                     0, false);
    QTemporaryDir dir;
    const long before = peakResidentKb();
    ASSERT_TRUE(saveArea(doc, pngRequest(dir.filePath("big.png"))));
    EXPECT_LT((peakResidentKb() - before) / 1024, 60) << "MB more at the peak";
    EXPECT_EQ(QImageReader(dir.filePath("big.png")).size(), QSize(6000, 6000));
}

TEST(PngBandExport, AFailedExportLeavesTheFileThatWasThere)
{
    ensureGuiApp();
    VekDocument doc;
    doc.setDrawAreaSizePerPage({100000, 100000});   // beyond what an image may hold
    QTemporaryDir dir;
    const QString path = dir.filePath("kept.png");
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("earlier");
    kept.close();
    QString error;
    EXPECT_FALSE(saveArea(doc, pngRequest(path), &error));
    EXPECT_FALSE(error.isEmpty());
    QFile again(path);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray("earlier"));
}
