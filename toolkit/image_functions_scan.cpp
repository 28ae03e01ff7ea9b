// Pixel scans of bitmaps: black-only test, transparent margins, trimming.
#include "toolkit/image_functions.h"
#include "toolkit/image_functions_private.h"

#include <algorithm>
#include <cmath>

namespace {

// The box of pixels whose alpha exceeds threshold (a fraction of 255): columns
// left..right and rows top..bottom inclusive; empty (right < left) when none is.
struct VisibleBox {
    int left = 0, right = -1, top = 0, bottom = -1;
    bool isEmpty() const { return right < left; }
};

VisibleBox visibleBox(const QImage &rgba, double threshold)
{
    VisibleBox box;
    box.left = rgba.width();
    box.top = rgba.height();
    for (int y = 0; y < rgba.height(); ++y) {
        const uchar *p = rgba.constScanLine(y);
        for (int x = 0; x < rgba.width(); ++x) {
            if (p[4 * x + 3] / 255.0 > threshold) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
        }
    }
    return box;
}

} // namespace

bool isBlackOnly(const BitmapRep &bitmap)
{
    const QImage rgba = straightRgba(bitmap);
    for (int y = 0; y < rgba.height(); ++y) {
        const uchar *p = rgba.constScanLine(y);
        for (int x = 0; x < rgba.width(); ++x, p += 4)
            if (p[3] > 0 && (p[0] || p[1] || p[2]))
                return false;
    }
    return true;
}

std::array<int, 4> marginLRTB(const BitmapRep &bitmap)
{
    const QImage rgba = straightRgba(bitmap);
    const VisibleBox box = visibleBox(rgba, 9e-07);
    if (box.isEmpty())
        return {rgba.width(), 0, rgba.height(), 0};
    return {box.left, rgba.width() - 1 - box.right, box.top, rgba.height() - 1 - box.bottom};
}

BitmapRep trimToSize(const BitmapRep &bitmap, Size size)
{
    const QImage rgba = straightRgba(bitmap);
    VisibleBox box = visibleBox(rgba, 0.009);
    if (box.isEmpty())
        return bitmap;
    const int w = rgba.width();
    const int h = rgba.height();
    // One transparent row above and below the visible rows, where the bitmap has one.
    box.top = std::max(0, box.top - 1);
    box.bottom = std::min(h - 1, box.bottom + 1);

    auto grow = [](float wanted, int &low, int &high, int limit) {
        if (!(wanted > 1.0f))
            return;
        const double d = std::trunc((wanted - (high - low + 1)) / 2.0);
        if (!(d > 1))
            return;
        if (low > d)
            low -= int(d);
        if (limit - 1 - high > d)
            high += int(d);
    };
    grow(size.width, box.left, box.right, w);
    grow(size.height, box.top, box.bottom, h);

    BitmapRep trimmed(bitmap.toQImage().copy(box.left, box.top, box.right - box.left + 1, box.bottom - box.top + 1));
    return trimmed;
}
