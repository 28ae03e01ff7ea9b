// Bitmap representations: format normalisation, sample access and CMYK buffers.
#include "platform/image/bitmap_rep.h"

#include "platform/image/pixel_budget.h"

#include <algorithm>
#include <cmath>

namespace {

bool isOpaqueGrey(QRgb colour)
{
    return qAlpha(colour) == 255 && qRed(colour) == qGreen(colour) && qGreen(colour) == qBlue(colour);
}

QImage normalized(const QImage &image)
{
    switch (image.format()) {
    case QImage::Format_Grayscale8:
    case QImage::Format_RGB888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return image;
    case QImage::Format_Grayscale16:
        return image.convertToFormat(QImage::Format_Grayscale8);
    default:
        break;
    }
    // A palette image (1 or 8 bits) is grey only when its colour table is: other tables keep
    // their colours and transparency. (QImage::isGrayscale() answers false for any 1-bit
    // image, so the table is looked at here.)
    const bool palette = image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono
                         || image.format() == QImage::Format_MonoLSB;
    const QList<QRgb> table = image.colorTable();
    if (palette && std::all_of(table.begin(), table.end(), isOpaqueGrey))
        return image.convertToFormat(QImage::Format_Grayscale8);
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB888);
    const bool premultiplied = image.pixelFormat().premultiplied() == QPixelFormat::Premultiplied;
    return image.convertToFormat(premultiplied ? QImage::Format_RGBA8888_Premultiplied
                                               : QImage::Format_RGBA8888);
}

uchar clampByte(double v)
{
    return uchar(std::clamp(std::lround(v), 0L, 255L));
}

} // namespace

BitmapRep::BitmapRep(const QImage &image)
{
    if (image.isNull())
        return;
    m_image = normalized(image);
    m_width = m_image.width();
    m_height = m_image.height();
    m_size = {float(m_width), float(m_height)};
}

BitmapRep BitmapRep::cmykBitmap(int pixelsWide, int pixelsHigh, bool hasAlpha)
{
    BitmapRep rep;
    if (!PixelBudget::allows(pixelsWide, pixelsHigh))
        return rep;
    rep.m_cmyk = true;
    rep.m_cmykAlpha = hasAlpha;
    rep.m_width = pixelsWide;
    rep.m_height = pixelsHigh;
    rep.m_size = {float(pixelsWide), float(pixelsHigh)};
    rep.m_cmykData = QByteArray(qsizetype(pixelsWide) * pixelsHigh * (hasAlpha ? 5 : 4), '\0');
    return rep;
}

int BitmapRep::samplesPerPixel() const
{
    if (isNull())
        return 0;
    if (m_cmyk)
        return m_cmykAlpha ? 5 : 4;
    switch (m_image.format()) {
    case QImage::Format_Grayscale8:
        return 1;
    case QImage::Format_RGB888:
        return 3;
    default:
        return 4;
    }
}

bool BitmapRep::hasAlpha() const
{
    if (m_cmyk)
        return m_cmykAlpha;
    return !isNull() && m_image.hasAlphaChannel();
}

bool BitmapRep::isAlphaPremultiplied() const
{
    return !m_cmyk && m_image.format() == QImage::Format_RGBA8888_Premultiplied;
}

int BitmapRep::bytesPerRow() const
{
    if (m_cmyk)
        return m_width * samplesPerPixel();
    return isNull() ? 0 : int(m_image.bytesPerLine());
}

QString BitmapRep::colorSpaceName() const
{
    if (m_cmyk)
        return QStringLiteral("NSDeviceCMYKColorSpace");
    if (m_image.format() == QImage::Format_Grayscale8)
        return QStringLiteral("NSDeviceWhiteColorSpace");
    return QStringLiteral("NSDeviceRGBColorSpace");
}

const uchar *BitmapRep::bitmapData() const
{
    if (m_cmyk)
        return reinterpret_cast<const uchar *>(m_cmykData.constData());
    return isNull() ? nullptr : m_image.constBits();
}

uchar *BitmapRep::bitmapData()
{
    if (m_cmyk)
        return reinterpret_cast<uchar *>(m_cmykData.data());
    return isNull() ? nullptr : m_image.bits();
}

void BitmapRep::getPixel(unsigned int samples[], int x, int y) const
{
    const int n = samplesPerPixel();
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        std::fill(samples, samples + n, 0u);
        return;
    }
    const uchar *p = bitmapData() + qsizetype(y) * bytesPerRow() + qsizetype(x) * n;
    std::copy(p, p + n, samples);
}

void BitmapRep::setPixel(const unsigned int samples[], int x, int y)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    const int n = samplesPerPixel();
    uchar *p = bitmapData() + qsizetype(y) * bytesPerRow() + qsizetype(x) * n;
    for (int i = 0; i < n; ++i)
        p[i] = uchar(std::min(samples[i], 255u));
}

QImage BitmapRep::toQImage() const
{
    if (!m_cmyk)
        return m_image;
    QImage out = PixelBudget::allocate(m_width, m_height, QImage::Format_RGBA8888);
    if (out.isNull())
        return out;
    const int n = samplesPerPixel();
    for (int y = 0; y < m_height; ++y) {
        const uchar *src = bitmapData() + qsizetype(y) * bytesPerRow();
        uchar *dst = out.scanLine(y);
        for (int x = 0; x < m_width; ++x, src += n, dst += 4) {
            const double k = 1.0 - src[3] / 255.0;
            dst[0] = clampByte((255 - src[0]) * k);
            dst[1] = clampByte((255 - src[1]) * k);
            dst[2] = clampByte((255 - src[2]) * k);
            dst[3] = m_cmykAlpha ? src[4] : 255;
        }
    }
    return out;
}
