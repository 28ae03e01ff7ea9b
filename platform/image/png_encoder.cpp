// PNG encoding in bands on all cores.
#include "platform/image/png_encoder.h"

#include <QColorSpace>
#include <QThread>

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

void appendBigEndian(QByteArray &out, quint32 value)
{
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    out.append(bytes, 4);
}

void appendChunk(QByteArray &out, const char *type, const QByteArray &data)
{
    appendBigEndian(out, quint32(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data);
    appendBigEndian(out, quint32(crc32(0, reinterpret_cast<const Bytef *>(out.constData() + start),
                                       uInt(out.size() - start))));
}

// A row's samples: RGBA (straight alpha) or RGB, as the file stores them.
void rowSamples(const QImage &image, int y, bool alpha, std::vector<uchar> &samples)
{
    const auto *pixels = reinterpret_cast<const QRgb *>(image.constScanLine(y));
    const bool premultiplied = image.format() == QImage::Format_ARGB32_Premultiplied;
    uchar *out = samples.data();
    for (int x = 0; x < image.width(); ++x) {
        const QRgb p = premultiplied ? qUnpremultiply(pixels[x]) : pixels[x];
        *out++ = uchar(qRed(p));
        *out++ = uchar(qGreen(p));
        *out++ = uchar(qBlue(p));
        if (alpha)
            *out++ = uchar(qAlpha(p));
    }
}

int paeth(int a, int b, int c)
{
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// The filtered row (its filter type first): Paeth, which suits drawings and photographs
// alike, against the row above (zeros above the first row of the image).
void filterRow(const std::vector<uchar> &row, const std::vector<uchar> &above, int bpp, std::vector<uchar> &out)
{
    out[0] = 4;
    for (size_t i = 0; i < row.size(); ++i) {
        const int a = i >= size_t(bpp) ? row[i - size_t(bpp)] : 0;
        const int c = i >= size_t(bpp) ? above[i - size_t(bpp)] : 0;
        out[i + 1] = uchar(row[i] - paeth(a, above[i], c));
    }
}

struct Band {
    int first = 0, end = 0;   // rows
    QByteArray deflated;
    uLong adler = 1;
    uLong length = 0;          // bytes of filtered rows
    bool ok = false;
};

void deflateBand(const QImage &image, bool alpha, int level, bool last, Band &band)
{
    const int bpp = alpha ? 4 : 3;
    const size_t rowBytes = size_t(image.width()) * size_t(bpp);
    std::vector<uchar> row(rowBytes), above(rowBytes, 0), filtered(rowBytes + 1);
    if (band.first > 0)
        rowSamples(image, band.first - 1, alpha, above);
    z_stream stream{};
    if (deflateInit2(&stream, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return;
    const int rows = band.end - band.first;
    band.deflated.resize(qsizetype(deflateBound(&stream, uLong(rows) * uLong(rowBytes + 1))) + 64);
    stream.next_out = reinterpret_cast<Bytef *>(band.deflated.data());
    stream.avail_out = uInt(band.deflated.size());
    bool ok = true;
    for (int y = band.first; y < band.end && ok; ++y) {
        rowSamples(image, y, alpha, row);
        filterRow(row, above, bpp, filtered);
        std::swap(row, above);
        band.adler = adler32(band.adler, filtered.data(), uInt(filtered.size()));
        band.length += filtered.size();
        stream.next_in = filtered.data();
        stream.avail_in = uInt(filtered.size());
        const bool end = y + 1 == band.end;
        const int flush = end ? (last ? Z_FINISH : Z_FULL_FLUSH) : Z_NO_FLUSH;
        const int result = deflate(&stream, flush);
        ok = stream.avail_in == 0 && (result == Z_OK || result == Z_STREAM_END || result == Z_BUF_ERROR);
    }
    band.deflated.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    band.ok = ok;
}

} // namespace

bool pngEncoderTakes(const QImage &image)
{
    const QImage::Format format = image.format();
    return !image.isNull() && !image.colorSpace().isValid() && image.textKeys().isEmpty()
        && (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
            || format == QImage::Format_ARGB32_Premultiplied);
}

QByteArray encodePng(const QImage &image, int level)
{
    if (!pngEncoderTakes(image))
        return {};
    const bool alpha = image.hasAlphaChannel();
    // Bands of at least 64 rows, one a core: fewer would leave cores idle, more only add
    // flush blocks and threads.
    const int cores = std::max(1, QThread::idealThreadCount());
    const int bandCount = std::clamp(image.height() / 64, 1, cores);
    std::vector<Band> bands(static_cast<size_t>(bandCount));
    for (int i = 0; i < bandCount; ++i) {
        bands[size_t(i)].first = int(qint64(image.height()) * i / bandCount);
        bands[size_t(i)].end = int(qint64(image.height()) * (i + 1) / bandCount);
    }
    const int clampedLevel = std::clamp(level, 1, 9);
    {
        std::vector<std::thread> workers;
        for (int i = 1; i < bandCount; ++i)
            workers.emplace_back(deflateBand, std::cref(image), alpha, clampedLevel, i + 1 == bandCount,
                                 std::ref(bands[size_t(i)]));
        deflateBand(image, alpha, clampedLevel, bandCount == 1, bands[0]);
        for (std::thread &worker : workers)
            worker.join();
    }

    QByteArray idat;
    idat.append("\x78\x01", 2);   // zlib header: deflate, 32 KB window (the check bits fit)
    uLong adler = 1;
    for (const Band &band : bands) {
        if (!band.ok)
            return {};
        idat.append(band.deflated);
        adler = adler32_combine(adler, band.adler, z_off_t(band.length));
    }
    appendBigEndian(idat, quint32(adler));

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    appendBigEndian(header, quint32(image.width()));
    appendBigEndian(header, quint32(image.height()));
    header.append(char(8));                // bits per sample
    header.append(char(alpha ? 6 : 2));    // RGBA or RGB
    header.append(3, char(0));             // deflate, adaptive filtering, no interlace
    appendChunk(png, "IHDR", header);
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        QByteArray density;
        appendBigEndian(density, quint32(image.dotsPerMeterX()));
        appendBigEndian(density, quint32(image.dotsPerMeterY()));
        density.append(char(1));           // per metre
        appendChunk(png, "pHYs", density);
    }
    appendChunk(png, "IDAT", idat);
    appendChunk(png, "IEND", {});
    return png;
}
