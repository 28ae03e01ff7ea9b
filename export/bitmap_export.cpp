// Bitmap and icon file writers of the export.
#include "export/bitmap_export.h"

#include "canvas/offscreen_images.h"
#include "platform/foundation/file_writing.h"
#include "platform/image/icns_file.h"
#include "platform/image/image_file.h"
#include "platform/image/png_encoder.h"
#include "toolkit/image_functions.h"

#include <QPainter>
#include <QSaveFile>
#include <QThread>

#include <array>
#include <cerrno>
#include <cmath>
#include <map>
#include <optional>

namespace {

BitmapRep bitmapOf(const Image &image)
{
    return image.isValid() ? image.bitmap() : BitmapRep();
}

// The picture fitted into a square of side pixels, centred, proportions kept.
BitmapRep fittedSquare(const Image &picture, int side)
{
    QImage square(side, side, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    const Size size = picture.size();
    if (!(size.width > 0 && size.height > 0))
        return BitmapRep(square);
    const double scale = side / std::max<double>(size.width, size.height);
    const QRectF target((side - size.width * scale) / 2, (side - size.height * scale) / 2, size.width * scale,
                        size.height * scale);
    QPainter painter(&square);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture.toQImage(QSize(int(std::ceil(target.width())), int(std::ceil(target.height())))));
    return BitmapRep(square);
}

// The gamma step of every member: each colour sample (0 to 1) raised to the power 1.15.
BitmapRep gammaAdjusted(const BitmapRep &bitmap)
{
    QImage pixels = bitmap.toQImage().convertToFormat(QImage::Format_ARGB32);
    std::array<uchar, 256> table;
    for (int i = 0; i < 256; ++i)
        table[size_t(i)] = uchar(std::lround(std::pow(i / 255.0, 1.15) * 255.0));
    for (int y = 0; y < pixels.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(pixels.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x)
            row[x] = qRgba(table[qRed(row[x])], table[qGreen(row[x])], table[qBlue(row[x])], qAlpha(row[x]));
    }
    return BitmapRep(pixels);
}

} // namespace

bool saveAsPng(const Image &image, const QString &path, QString *error)
{
    const BitmapRep bitmap = bitmapOf(image);
    return !bitmap.isNull() && !path.isEmpty() && writeBitmapFile(bitmap, path, "png", -1, error);
}

bool saveCanvasImageAsPng(VekDocument &document, const CanvasImageRequest &request, const QString &path,
                          const std::function<Size(QSize pixels)> &sizeInPoints, QString *error)
{
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    // Unbuffered, so that a full disk fails the band's write and never reaches the commit.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = fileWriteFailure(path, file, errno, 1);
        return false;
    }
    std::optional<PngBandWriter> writer;
    const auto start = [&](QSize pixels) {
        Size points = sizeInPoints(pixels);
        if (!(points.width > 0 && points.height > 0))
            points = Size(float(pixels.width()), float(pixels.height()));
        const QSize dotsPerMeter(int(std::lround(pixels.width() / points.width * 72 / 0.0254)),
                                 int(std::lround(pixels.height() / points.height * 72 / 0.0254)));
        writer.emplace(file, pixels, true, dotsPerMeter);
        // Two bands a core, so that cores stay busy while the slowest band ends, but no band
        // above 2 MB of pixels, since one is in hand on each core; each object crossing a
        // band's edge is set up again, so not too thin either.
        constexpr qint64 MaxBandBytes = 2 << 20;
        const int rowsForCores = pixels.height() / (2 * std::max(1, QThread::idealThreadCount())) + 1;
        const int rowsInBudget = int(std::max<qint64>(16, MaxBandBytes / (qint64(pixels.width()) * 4)));
        return std::min(rowsForCores, rowsInBudget);
    };
    const bool drawn = imageWithinRectInBands(document, request, start,
                                              [&](int band, const QImage &pixels) { writer->addBand(band, pixels); });
    errno = 0;
    if (drawn && writer->finish() && file.commit())
        return true;
    const int osError = errno;
    if (error && writer)   // something was drawn, so the file is what failed
        *error = fileWriteFailure(path, file, drawn ? osError : 0, std::max<qint64>(1, file.size()));
    file.cancelWriting();
    return false;
}

bool saveAsJpeg(const Image &image, const QString &path, float compressionFactor, bool jp2, QString *error)
{
    BitmapRep bitmap = bitmapOf(image);
    if (bitmap.isNull() || path.isEmpty())
        return false;
    if (!bitmap.isCMYK() && bitmap.hasAlpha()) {
        QImage onWhite(bitmap.pixelsWide(), bitmap.pixelsHigh(), QImage::Format_RGB32);
        onWhite.fill(Qt::white);
        QPainter(&onWhite).drawImage(0, 0, bitmap.toQImage());
        const Size size = bitmap.size();
        bitmap = BitmapRep(onWhite);
        bitmap.setSize(size);
    }
    return writeBitmapFile(bitmap, path, jp2 ? "jp2" : "jpeg", std::clamp(compressionFactor, 0.0f, 1.0f), error);
}

bool saveAsTiff(const Image &image, const QString &path, QString *error)
{
    const BitmapRep bitmap = bitmapOf(image);
    return !bitmap.isNull() && !path.isEmpty() && writeBitmapFile(bitmap, path, "tiff", -1, error);
}

bool saveImageAsIcns(const Image &image, const QString &path, QString *error)
{
    const BitmapRep first = bitmapOf(image);
    if (first.isNull() || path.isEmpty())
        return false;
    Image source = image;
    if (first.pixelsWide() > 512 || first.pixelsHigh() > 512 || first.pixelsWide() != first.pixelsHigh())
        source = squareImageInSize(image, 512, true);
    if (!source.isValid())
        return false;

    // Square bitmaps of the member sizes that the picture holds (black-only small ones are
    // masks, not pictures), and the largest size it reaches.
    std::map<int, BitmapRep> members;
    int largest = 0;
    for (const ImageRep &rep : source.representations()) {
        const BitmapRep *bitmap = rep.bitmap();
        if (!bitmap || bitmap->isNull())
            continue;
        largest = std::max(largest, std::min(bitmap->pixelsWide(), bitmap->pixelsHigh()));
        const int side = bitmap->pixelsWide();
        if (side != bitmap->pixelsHigh() || members.count(side))
            continue;
        if (side == 512 || side == 256 || side == 128 || ((side == 32 || side == 16) && !isBlackOnly(*bitmap)))
            members[side] = *bitmap;
    }
    for (int side : {512, 256, 128, 32, 16})
        if (!members.count(side) && (side <= 128 || largest >= side))
            members[side] = fittedSquare(source, side);

    IcnsFile family;
    for (int side : {512, 256, 128, 32, 16}) {
        auto it = members.find(side);
        if (it == members.end())
            continue;
        const BitmapRep member = gammaAdjusted(it->second);
        switch (side) {
        case 512: family.addMember("ic09", IcnsFile::pngData(member, 512)); break;
        case 256: family.addMember("ic08", IcnsFile::pngData(member, 256)); break;
        case 128:
            family.addMember("it32", IcnsFile::packedRgbData(member, 128, true));
            family.addMember("t8mk", IcnsFile::alphaMaskData(member, 128));
            break;
        case 32:
            family.addMember("il32", IcnsFile::packedRgbData(member, 32));
            family.addMember("l8mk", IcnsFile::alphaMaskData(member, 32));
            family.addMember("ICN#", IcnsFile::oneBitIconAndMask(member));
            break;
        default:
            family.addMember("is32", IcnsFile::packedRgbData(member, 16));
            family.addMember("s8mk", IcnsFile::alphaMaskData(member, 16));
            break;
        }
    }
    return family.write(path, error);
}
