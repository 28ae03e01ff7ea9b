// lcms2 transform from sRGB to the generic CMYK profile, made once and shared.
#include "platform/image/generic_cmyk.h"

#include "platform/image/pixel_budget.h"

#include <QPainter>

#include <lcms2.h>

#include <algorithm>
#include <cmath>

namespace {

const char profileFile[] = "/usr/share/color/icc/ghostscript/default_cmyk.icc";

// The sRGB-to-CMYK transform, or null when the profile cannot be opened. lcms2
// transforms may be used from several threads at once.
cmsHTRANSFORM sharedTransform()
{
    static cmsHTRANSFORM transform = [] {
        cmsHTRANSFORM t = nullptr;
        cmsHPROFILE cmyk = cmsOpenProfileFromFile(profileFile, "r");
        if (!cmyk)
            return t;
        cmsHPROFILE srgb = cmsCreate_sRGBProfile();
        t = cmsCreateTransform(srgb, TYPE_RGB_8, cmyk, TYPE_CMYK_8, INTENT_PERCEPTUAL, 0);
        cmsCloseProfile(srgb);
        cmsCloseProfile(cmyk);
        return t;
    }();
    return transform;
}

uchar byteOf(double v)
{
    return uchar(std::clamp(std::lround(v * 255.0), 0L, 255L));
}

void deviceFormula(const uchar *rgb, uchar *cmyk, int pixels)
{
    for (int i = 0; i < pixels; ++i, rgb += 3, cmyk += 4) {
        const double c = 1 - rgb[0] / 255.0, m = 1 - rgb[1] / 255.0, y = 1 - rgb[2] / 255.0;
        const double k = std::min({c, m, y});
        const double rest = 1 - k;
        cmyk[0] = byteOf(rest > 0 ? (c - k) / rest : 0);
        cmyk[1] = byteOf(rest > 0 ? (m - k) / rest : 0);
        cmyk[2] = byteOf(rest > 0 ? (y - k) / rest : 0);
        cmyk[3] = byteOf(k);
    }
}

} // namespace

QString genericCMYKProfilePath()
{
    return sharedTransform() ? QString::fromLatin1(profileFile) : QString();
}

BitmapRep convertToGenericCMYK(const BitmapRep &bitmap)
{
    if (bitmap.isNull() || bitmap.isCMYK())
        return bitmap;
    const int w = bitmap.pixelsWide();
    const int h = bitmap.pixelsHigh();
    QImage rgb = PixelBudget::allocate(w, h, QImage::Format_RGB888);
    BitmapRep out = BitmapRep::cmykBitmap(w, h, false);
    if (rgb.isNull() || out.isNull())
        return {};
    rgb.fill(Qt::white);
    {
        QPainter painter(&rgb);
        painter.drawImage(0, 0, bitmap.toQImage());
    }
    out.setSize(bitmap.size());
    cmsHTRANSFORM transform = sharedTransform();
    for (int y = 0; y < h; ++y) {
        const uchar *src = rgb.constScanLine(y);
        uchar *dst = out.bitmapData() + qsizetype(y) * out.bytesPerRow();
        if (transform)
            cmsDoTransform(transform, src, dst, cmsUInt32Number(w));
        else
            deviceFormula(src, dst, w);
    }
    return out;
}
