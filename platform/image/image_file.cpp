// Image files: format detection, Qt's readers and writers, OpenJPEG, PDF pages.
#include "platform/image/image_file.h"

#include "platform/foundation/file_writing.h"
#include "platform/image/cmyk_files.h"
#include "platform/image/jpeg2000.h"
#include "platform/image/pixel_budget.h"
#include "platform/image/png_encoder.h"
#include "platform/pdf/pdf_document.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include <cmath>

namespace {

Image fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return {};
}

// The size in points at the resolution a file gave. Qt gives images without one its
// default of 72, 96 or 100 dpi depending on the platform, so those count as none.
Size pointSize(const QImage &image)
{
    auto points = [](int pixels, int dotsPerMeter) {
        const long dpi = std::lround(dotsPerMeter * 0.0254);
        if (dpi <= 0 || dpi == 72 || dpi == 96 || dpi == 100)
            return float(pixels);
        return float(pixels * 72.0 / (dotsPerMeter * 0.0254));
    };
    return {points(image.width(), image.dotsPerMeterX()), points(image.height(), image.dotsPerMeterY())};
}

Image decodeImageData(const QByteArray &data, QString *error)
{
    if (data.isEmpty())
        return fail(error, QStringLiteral("no data"));
    if (data.startsWith("%PDF")) {
        QString why;
        auto pdf = PdfDocument::openData(data, {}, &why);
        if (!pdf || pdf->pageCount() < 1)
            return fail(error, pdf ? QStringLiteral("the PDF document has no page") : why);
        const Size page = pdf->pageSize(0);
        if (!(page.width > 0) || !(page.height > 0))
            return fail(error, QStringLiteral("the PDF document's first page cannot be read"));
        Image image(pdf->pageSize(0));
        image.addRepresentation(ImageRep(std::move(pdf), 0));
        return image;
    }
    if (isJpeg2000Data(data)) {
        QString why;
        const QImage decoded = decodeJpeg2000(data, &why);
        return decoded.isNull() ? fail(error, why.isEmpty() ? QStringLiteral("unreadable JPEG 2000 data") : why)
                                : Image(decoded);
    }
    // CMYK TIFF and JPEG keep their inks; Qt would read them as RGB.
    QString refused;
    for (const BitmapRep &cmyk : {decodeCmykTiff(data, &refused), decodeCmykJpeg(data, &refused)})
        if (!cmyk.isNull())
            return Image(cmyk);
    if (!refused.isEmpty())
        return fail(error, refused);
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    // Qt's readers refuse on their own past an allocation limit; let it be the same budget.
    static const bool budgetSet = (QImageReader::setAllocationLimit(int(PixelBudget::maxPixels * 4 / (1024 * 1024))), true);
    Q_UNUSED(budgetSet);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    if (reader.size().isValid() && !PixelBudget::allows(reader.size().width(), reader.size().height()))
        return fail(error, PixelBudget::refusal(reader.size().width(), reader.size().height()));
    Image image;
    do {
        const QImage frame = reader.read();
        if (frame.isNull())
            break;
        BitmapRep rep(frame);
        rep.setSize(pointSize(frame));
        if (!image.isValid())
            image.setSize(rep.size());
        image.addRepresentation(ImageRep(rep));
    } while (reader.jumpToNextImage());
    // Qt's reasons ("Unable to read image data") say nothing a user can act on.
    if (!image.isValid())
        return fail(error, reader.error() == QImageReader::UnsupportedFormatError
                               ? QStringLiteral("It is not a picture of a kind Vekanto reads.")
                               : QStringLiteral("The picture in it is damaged or incomplete."));
    return image;
}

} // namespace

Image readImageData(const QByteArray &data, QString *error)
{
    Image image = decodeImageData(data, error);
    if (image.isValid())
        image.setFileData(data);
    return image;
}

Image readImageFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, file.errorString());
    return readImageData(file.readAll(), error);
}

QByteArray encodeBitmap(const BitmapRep &bitmap, const QByteArray &format, float quality)
{
    if (bitmap.isNull())
        return {};
    const QByteArray kind = format.toLower();
    if (bitmap.isCMYK() && kind == "tiff")
        return encodeCmykTiff(bitmap);
    if (bitmap.isCMYK() && (kind == "jpeg" || kind == "jpg"))
        return encodeCmykJpeg(bitmap, quality);
    QImage pixels = bitmap.toQImage();
    // The file carries the resolution that gives the bitmap its size in points.
    const Size size = bitmap.size();
    if (size.width > 0 && size.height > 0) {
        pixels.setDotsPerMeterX(int(std::lround(bitmap.pixelsWide() / size.width * 72 / 0.0254)));
        pixels.setDotsPerMeterY(int(std::lround(bitmap.pixelsHigh() / size.height * 72 / 0.0254)));
    }
    if (kind == "jp2")
        return encodeJpeg2000(pixels, quality);
    if (kind == "png" && pngEncoderTakes(pixels))
        return encodePng(pixels);
    if (kind == "jpeg" || kind == "jpg")
        pixels = pixels.convertToFormat(QImage::Format_RGB888);
    else if (kind == "bmp")
        pixels = pixels.convertToFormat(pixels.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, kind);
    if (quality >= 0)
        writer.setQuality(int(std::lround(std::clamp(quality, 0.0f, 1.0f) * 100)));
    return writer.write(pixels) ? out : QByteArray();
}

bool writeBitmapFile(const BitmapRep &bitmap, const QString &path, const QByteArray &format, float quality,
                     QString *error)
{
    return writeWholeFile(path, encodeBitmap(bitmap, format, quality), error);
}
