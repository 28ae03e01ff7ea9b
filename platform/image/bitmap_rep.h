// A bitmap representation: pixels in RGB, grey or CMYK, with sample-level access.
//
// RGB and grey bitmaps live in a QImage of one of four formats (grey 8, RGB 8-8-8,
// RGBA 8-8-8-8 with straight alpha, RGBA premultiplied), so that the samples of a pixel
// lie in memory in the order R, G, B, A as the format says. CMYK bitmaps (which Qt 6.4
// cannot hold) keep their own interleaved buffer of C, M, Y, K (and A) bytes. Pixel
// coordinates count from the top-left corner, rows from the top (see docs/architecture.md,
// "Images").
#pragma once

#include "platform/geometry/geometry.h"

#include <QByteArray>
#include <QImage>
#include <QString>

class BitmapRep {
public:
    BitmapRep() = default;
    // Takes any QImage; it is converted to the nearest of the four kept formats (an
    // 8-bit grey image with no alpha stays grey, an opaque one becomes RGB 8-8-8). The
    // size in points is the pixel size (image files apply their resolution when read).
    explicit BitmapRep(const QImage &image);
    // A CMYK bitmap filled with zero bytes (no ink, and transparent when it has alpha); a
    // null bitmap when the size is outside the pixel budget.
    static BitmapRep cmykBitmap(int pixelsWide, int pixelsHigh, bool hasAlpha);

    bool isNull() const { return m_width <= 0 || m_height <= 0; }
    bool isCMYK() const { return m_cmyk; }

    int pixelsWide() const { return m_width; }
    int pixelsHigh() const { return m_height; }
    int bitsPerSample() const { return isNull() ? 0 : 8; }
    int samplesPerPixel() const;
    int bitsPerPixel() const { return samplesPerPixel() * bitsPerSample(); }
    bool hasAlpha() const;
    // True when colour samples are stored multiplied by alpha.
    bool isAlphaPremultiplied() const;
    int bytesPerRow() const;
    // Interleaved always; there is one data plane.
    bool isPlanar() const { return false; }
    // "NSDeviceRGBColorSpace", "NSDeviceWhiteColorSpace" or "NSDeviceCMYKColorSpace".
    QString colorSpaceName() const;

    // The size in points at which the bitmap is drawn by default.
    Size size() const { return m_size; }
    void setSize(Size size) { m_size = size; }

    // The first byte of the pixel data; rows follow each other bytesPerRow() apart.
    const uchar *bitmapData() const;
    uchar *bitmapData();

    // The samples of one pixel, as many as samplesPerPixel(), in storage order. Reading
    // outside the bitmap gives zeros; writing outside it does nothing.
    void getPixel(unsigned int samples[], int x, int y) const;
    void setPixel(const unsigned int samples[], int x, int y);

    // The bitmap as a QImage for drawing: RGB and grey as they are; CMYK converted with
    // the plain formula (red = (1 - c)(1 - k), ...), since no colour management is
    // wanted on screen previews of device CMYK. Null when memory for it cannot be had.
    QImage toQImage() const;
    // The kept QImage of an RGB or grey bitmap (a null image for CMYK).
    const QImage &image() const { return m_image; }

private:
    QImage m_image;
    QByteArray m_cmykData;
    bool m_cmyk = false;
    bool m_cmykAlpha = false;
    int m_width = 0;
    int m_height = 0;
    Size m_size;
};
