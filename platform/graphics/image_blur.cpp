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

// One box pass over `count` pixels spaced `stride` apart, with a window of 2r + 1 and
// transparent pixels beyond both ends. `scratch` holds a copy of the line.
void boxLine(quint32 *line, int count, int stride, int r, bool alphaOnly, std::vector<quint32> &scratch)
{
    scratch.resize(size_t(count));
    for (int i = 0; i < count; ++i)
        scratch[size_t(i)] = line[i * stride];
    const int window = 2 * r + 1;
    // Fixed-point reciprocal of the window, so the division becomes a multiply and shift.
    const quint64 inv = (quint64(1) << 32) / quint64(window);
    quint32 sum[4] = {0, 0, 0, 0};
    const int first = alphaOnly ? 3 : 0;
    auto add = [&](quint32 px, int sign) {
        for (int c = first; c < 4; ++c) {
            const quint32 v = (px >> (8 * c)) & 0xff;
            sum[c] = sign > 0 ? sum[c] + v : sum[c] - v;
        }
    };
    for (int i = 0; i < std::min(r, count); ++i)
        add(scratch[size_t(i)], 1);
    for (int i = 0; i < count; ++i) {
        if (i + r < count)
            add(scratch[size_t(i + r)], 1);
        if (i - r - 1 >= 0)
            add(scratch[size_t(i - r - 1)], -1);
        quint32 v[4];
        for (int c = first; c < 4; ++c)
            v[c] = std::min<quint32>(quint32((quint64(sum[c]) * inv + (quint64(1) << 31)) >> 32), 255u);
        if (alphaOnly) {
            line[i * stride] = (scratch[size_t(i)] & 0x00ffffffu) | (v[3] << 24);
        } else {
            // Rounding must not lift a colour above its alpha (premultiplied).
            line[i * stride] = (v[3] << 24) | (std::min(v[2], v[3]) << 16) | (std::min(v[1], v[3]) << 8)
                | std::min(v[0], v[3]);
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
    std::vector<quint32> scratch;
    for (int r : boxRadiiFor(sigma)) {
        if (r <= 0)
            continue;
        for (int y = 0; y < h; ++y)
            boxLine(bits + qsizetype(y) * stride, w, 1, r, alphaOnly, scratch);
        for (int x = 0; x < w; ++x)
            boxLine(bits + x, h, stride, r, alphaOnly, scratch);
    }
}
