// Gaussian blur of premultiplied images by three box blurs, in time independent of the radius.
#include "platform/graphics/image_blur.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// Radii of three box filters whose succession has standard deviation sigma
// (widths wl and wl + 2, the first m of them the narrower).
std::array<int, 3> boxRadiiFor(float sigma)
{
    const double n = 3;
    const double s2 = double(sigma) * sigma;
    int wl = int(std::floor(std::sqrt(12.0 * s2 / n + 1.0)));
    if (wl % 2 == 0)
        --wl;
    const int wu = wl + 2;
    const int m = int(std::lround((12.0 * s2 - n * wl * wl - 4.0 * n * wl - 3.0 * n) / (-4.0 * wl - 4.0)));
    std::array<int, 3> radii{};
    for (int i = 0; i < 3; ++i)
        radii[size_t(i)] = ((i < m ? wl : wu) - 1) / 2;
    return radii;
}

// A pixel from blurred channel values: with alphaOnly the colour channels of `original`
// are kept; otherwise no colour may exceed its alpha (premultiplied), whatever the rounding.
quint32 pack(const quint32 v[4], quint32 original, bool alphaOnly)
{
    const quint32 a = std::min<quint32>(v[3], 255u);
    if (alphaOnly)
        return (original & 0x00ffffffu) | (a << 24);
    return (a << 24) | (std::min(v[2], a) << 16) | (std::min(v[1], a) << 8) | std::min(v[0], a);
}

// One horizontal box pass over a row of `count` pixels, window 2r + 1, with transparent
// pixels beyond both ends. `scratch` holds a copy of the row.
void boxRow(quint32 *row, int count, int r, bool alphaOnly, std::vector<quint32> &scratch)
{
    scratch.assign(row, row + count);
    // Fixed-point reciprocal of the window, so the division becomes a multiply and shift.
    const quint64 inv = (quint64(1) << 32) / quint64(2 * r + 1);
    const int first = alphaOnly ? 3 : 0;
    quint32 sum[4] = {0, 0, 0, 0};
    auto add = [&](quint32 px) {
        for (int c = first; c < 4; ++c)
            sum[c] += (px >> (8 * c)) & 0xff;
    };
    auto remove = [&](quint32 px) {
        for (int c = first; c < 4; ++c)
            sum[c] -= (px >> (8 * c)) & 0xff;
    };
    for (int i = 0; i < std::min(r, count); ++i)
        add(scratch[size_t(i)]);
    for (int i = 0; i < count; ++i) {
        if (i + r < count)
            add(scratch[size_t(i + r)]);
        if (i - r - 1 >= 0)
            remove(scratch[size_t(i - r - 1)]);
        quint32 v[4] = {0, 0, 0, 0};
        for (int c = first; c < 4; ++c)
            v[c] = quint32((quint64(sum[c]) * inv + (quint64(1) << 31)) >> 32);
        row[i] = pack(v, alphaOnly ? scratch[size_t(i)] : 0, alphaOnly);
    }
}

// One vertical box pass: running sums per column, moved down one row at a time, so the
// image is read row by row (cache-friendly) instead of column by column.
void boxColumns(quint32 *bits, int w, int h, int stride, int r, bool alphaOnly, std::vector<quint32> &copy,
                std::vector<quint32> &sums)
{
    copy.resize(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        std::copy(bits + qsizetype(y) * stride, bits + qsizetype(y) * stride + w, copy.begin() + qsizetype(y) * w);
    sums.assign(size_t(w) * 4, 0);
    const quint64 inv = (quint64(1) << 32) / quint64(2 * r + 1);
    const int first = alphaOnly ? 3 : 0;
    auto addRow = [&](int y, bool add) {
        const quint32 *src = copy.data() + qsizetype(y) * w;
        for (int x = 0; x < w; ++x)
            for (int c = first; c < 4; ++c) {
                const quint32 v = (src[x] >> (8 * c)) & 0xff;
                quint32 &s = sums[size_t(x) * 4 + size_t(c)];
                s = add ? s + v : s - v;
            }
    };
    for (int y = 0; y < std::min(r, h); ++y)
        addRow(y, true);
    for (int y = 0; y < h; ++y) {
        if (y + r < h)
            addRow(y + r, true);
        if (y - r - 1 >= 0)
            addRow(y - r - 1, false);
        quint32 *out = bits + qsizetype(y) * stride;
        const quint32 *original = copy.data() + qsizetype(y) * w;
        for (int x = 0; x < w; ++x) {
            quint32 v[4] = {0, 0, 0, 0};
            for (int c = first; c < 4; ++c)
                v[c] = quint32((quint64(sums[size_t(x) * 4 + size_t(c)]) * inv + (quint64(1) << 31)) >> 32);
            out[x] = pack(v, original[x], alphaOnly);
        }
    }
}

} // namespace

int blurMarginFor(float sigma)
{
    return sigma > 0 ? int(std::ceil(3.0f * sigma)) : 0;
}

void blurImage(QImage &image, float sigma, bool alphaOnly)
{
    if (image.isNull() || !(sigma >= 0.5f) || !std::isfinite(sigma))
        return;
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = image.width(), h = image.height();
    const int stride = int(image.bytesPerLine() / 4);
    quint32 *bits = reinterpret_cast<quint32 *>(image.bits());
    std::vector<quint32> scratch, copy, sums;
    for (int r : boxRadiiFor(sigma)) {
        if (r <= 0)
            continue;
        for (int y = 0; y < h; ++y)
            boxRow(bits + qsizetype(y) * stride, w, r, alphaOnly, scratch);
        boxColumns(bits, w, h, stride, r, alphaOnly, copy, sums);
    }
}
