// Gaussian blur of premultiplied images by three box blurs, in time independent of the radius.
#include "platform/graphics/image_blur.h"

#include "platform/graphics/parallel_rows.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
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

// The passes are templates on `AlphaOnly` so that the channel loops have fixed bounds and
// unroll: the first channel summed is 3 (alpha) for shadow masks, else 0.
template <bool AlphaOnly>
constexpr int firstChannel = AlphaOnly ? 3 : 0;

// A pixel from blurred channel values: with AlphaOnly the colour channels of `original`
// are kept; otherwise no colour may exceed its alpha (premultiplied), whatever the rounding.
template <bool AlphaOnly>
inline quint32 pack(const quint32 v[4], quint32 original)
{
    const quint32 a = std::min<quint32>(v[3], 255u);
    if (AlphaOnly)
        return (original & 0x00ffffffu) | (a << 24);
    return (a << 24) | (std::min(v[2], a) << 16) | (std::min(v[1], a) << 8) | std::min(v[0], a);
}

// The channel sums of a window of `inv`'s width, rounded: the division is a multiply and shift.
template <bool AlphaOnly>
inline quint32 averaged(const quint32 sum[4], quint64 inv, quint32 original)
{
    quint32 v[4] = {0, 0, 0, 0};
    for (int c = firstChannel<AlphaOnly>; c < 4; ++c)
        v[c] = quint32((quint64(sum[c]) * inv + (quint64(1) << 31)) >> 32);
    return pack<AlphaOnly>(v, original);
}

// Fixed-point reciprocal of the window 2r + 1.
quint64 reciprocalOfWindow(int r)
{
    return (quint64(1) << 32) / quint64(2 * r + 1);
}

// One horizontal box pass over a row of `count` pixels, window 2r + 1, with transparent
// pixels beyond both ends, from `in` into `out`.
template <bool AlphaOnly>
void boxRow(const quint32 *in, quint32 *out, int count, int r)
{
    const quint64 inv = reciprocalOfWindow(r);
    quint32 sum[4] = {0, 0, 0, 0};
    const auto add = [&](quint32 px, int sign) {
        for (int c = firstChannel<AlphaOnly>; c < 4; ++c)
            sum[c] += quint32(sign) * ((px >> (8 * c)) & 0xff);
    };
    for (int i = 0; i < std::min(r, count); ++i)
        add(in[i], 1);
    for (int i = 0; i < count; ++i) {
        if (i + r < count)
            add(in[i + r], 1);
        if (i - r - 1 >= 0)
            add(in[i - r - 1], -1);
        out[i] = averaged<AlphaOnly>(sum, inv, in[i]);
    }
}

// One vertical box pass over the columns [x0, x1): running sums per column, moved down one
// row at a time, so the image is read row by row (cache-friendly) instead of column by
// column. `copy` holds the image's pixels before the pass, `w` to a row.
template <bool AlphaOnly>
void boxColumns(quint32 *bits, const quint32 *copy, int w, int h, int stride, int x0, int x1, int r)
{
    std::vector<quint32> sums(size_t(x1 - x0) * 4, 0);
    const quint64 inv = reciprocalOfWindow(r);
    // Moves the sums down: the row `in` enters the window and the row `out` (if any) leaves it.
    const auto slide = [&](int in, int out) {
        const quint32 *entering = in < h ? copy + qsizetype(in) * w : nullptr;
        const quint32 *leaving = out >= 0 ? copy + qsizetype(out) * w : nullptr;
        for (int x = x0; x < x1; ++x) {
            quint32 *s = sums.data() + size_t(x - x0) * 4;
            for (int c = firstChannel<AlphaOnly>; c < 4; ++c) {
                if (entering)
                    s[c] += (entering[x] >> (8 * c)) & 0xff;
                if (leaving)
                    s[c] -= (leaving[x] >> (8 * c)) & 0xff;
            }
        }
    };
    for (int y = 0; y < std::min(r, h); ++y)
        slide(y, -1);
    for (int y = 0; y < h; ++y) {
        slide(y + r, y - r - 1);
        quint32 *out = bits + qsizetype(y) * stride;
        const quint32 *original = copy + qsizetype(y) * w;
        for (int x = x0; x < x1; ++x)
            out[x] = averaged<AlphaOnly>(sums.data() + size_t(x - x0) * 4, inv, original[x]);
    }
}

// Large images are blurred on all cores; small ones (the strokes' images, drawn while the
// canvas renders its tiles on several threads) stay on the calling thread.
void forRanges(int count, bool parallel, const std::function<void(int from, int to)> &work)
{
    if (parallel)
        parallelRows(count, work);
    else
        serialRows(count, count, work);
}

template <bool AlphaOnly>
void blurPasses(QImage &image, float sigma)
{
    const int w = image.width(), h = image.height();
    const int stride = int(image.bytesPerLine() / 4);
    quint32 *bits = reinterpret_cast<quint32 *>(image.bits());
    const bool parallel = qint64(w) * h >= 512 * 512;
    // Each row pass writes here, and the column pass reads from here back into the image.
    const std::unique_ptr<quint32[]> copy(new quint32[size_t(w) * size_t(h)]);
    for (int r : boxRadiiFor(sigma)) {
        if (r <= 0 || rowWorkStopRequested())
            continue;
        forRanges(h, parallel, [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y)
                boxRow<AlphaOnly>(bits + qsizetype(y) * stride, copy.get() + qsizetype(y) * w, w, r);
        });
        // The columns split among the threads the way rows are.
        forRanges(w, parallel, [&](int x0, int x1) { boxColumns<AlphaOnly>(bits, copy.get(), w, h, stride, x0, x1, r); });
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
    if (alphaOnly)
        blurPasses<true>(image, sigma);
    else
        blurPasses<false>(image, sigma);
}
