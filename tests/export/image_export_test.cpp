// Bitmap and icon exports through the dispatch, read back by Qt's readers and OpenJPEG.
#include "export/export_dispatch.h"
#include "platform/image/icns_file.h"
#include "platform/image/image_file.h"
#include "tests/export/export_fixture.h"

#include <gtest/gtest.h>

#include <QImageReader>

using namespace exportfixture;

namespace {

ExportRequest request(const QString &path, const QString &format)
{
    ExportRequest r;
    r.path = path;
    r.format = format;
    r.displayName = "plan.vek";
    return r;
}

} // namespace

TEST(ImageExport, EachFormatReadsBackAtTheCanvasSizeAndTheDocumentResolution)
{
    struct Case {
        const char *format;
        int resolution;
        bool opaque;
    };
    for (const Case &c : {Case{"png", 72, false}, Case{"png", 144, false}, Case{"jpg", 72, true},
                          Case{"jp2", 72, true}, Case{"tiff", 144, false}}) {
        SCOPED_TRACE(c.format);
        Document fixture;
        fixture.doc.setResolution(c.resolution);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.") + c.format);
        QString error;
        ASSERT_TRUE(saveArea(fixture.doc, request(path, c.format), &error)) << error.toStdString();
        QString why;
        const Image image = readImageFile(path, &why);
        ASSERT_TRUE(image.isValid()) << why.toStdString();
        const BitmapRep bitmap = image.bitmap();
        EXPECT_EQ(bitmap.pixelsWide(), 300);   // the whole canvas, one pixel a point
        EXPECT_EQ(bitmap.pixelsHigh(), 400);
        if (c.resolution != 72 && QByteArray(c.format) != "jp2") {
            EXPECT_NEAR(image.size().width, 150, 0.5);   // 300 pixels at 144 dpi
            EXPECT_NEAR(image.size().height, 200, 0.5);
        }
        const QImage pixels = bitmap.toQImage().convertToFormat(QImage::Format_ARGB32);
        const QRgb inside = pixels.pixel(50, 50);
        EXPECT_GT(qRed(inside), 200);
        EXPECT_LT(qGreen(inside), 60);
        if (c.opaque) {
            EXPECT_EQ(qAlpha(pixels.pixel(290, 5)), 255);
        }
    }
}

TEST(ImageExport, CmykDocumentWritesACmykTiff)
{
    Document fixture;
    fixture.doc.setUseCMYK(1);
    QTemporaryDir dir;
    const QString path = dir.filePath("out.tiff");
    ASSERT_TRUE(saveArea(fixture.doc, request(path, "tiff")));
    const Image image = readImageFile(path);
    ASSERT_TRUE(image.isValid());
    EXPECT_TRUE(image.bitmap().isCMYK());
}

TEST(ImageExport, SelectionAloneIsTrimmedToItsPixels)
{
    Document fixture;
    std::shared_ptr<VekObject> red;
    for (const auto &object : fixture.doc.objects())
        if (object->bounds() == Rect(20, 20, 80, 60))
            red = object;
    ASSERT_TRUE(red);
    QTemporaryDir dir;
    ExportRequest r = request(dir.filePath("out.png"), "png");
    r.area = red->boundsToRedraw();
    r.objects = {red};
    r.clip = true;
    ASSERT_TRUE(saveArea(fixture.doc, r));
    const QImage pixels = QImage(r.path);
    ASSERT_FALSE(pixels.isNull());
    // The rectangle with its stroke and shadow, nothing of the image object near it.
    EXPECT_LT(pixels.width(), 100);
    EXPECT_GE(pixels.width(), 80);
    const QImage argb = pixels.convertToFormat(QImage::Format_ARGB32);
    int magenta = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            magenta += argb.pixel(x, y) == qRgb(255, 0, 255);
    EXPECT_EQ(magenta, 0);
}

TEST(ImageExport, IconFileHoldsEveryMemberAndReadsBack)
{
    Document fixture;
    QTemporaryDir dir;
    const QString path = dir.filePath("out.icns");
    ASSERT_TRUE(saveArea(fixture.doc, request(path, "icns")));
    const auto members = IcnsFile::parse(readAll(path));
    QStringList types;
    for (const auto &member : members)
        types << QString::fromLatin1(member.first);
    // A 300 x 400 picture is made a 512 square first, so all nine members are there.
    EXPECT_EQ(types, QStringList({"ic09", "ic08", "it32", "t8mk", "il32", "l8mk", "ICN#", "is32", "s8mk"}));
    QImageReader reader(path);
    QImage largest;
    do {
        const QImage member = reader.read();
        if (member.width() > largest.width())
            largest = member;
    } while (reader.jumpToNextImage());
    EXPECT_EQ(largest.size(), QSize(512, 512));
}
