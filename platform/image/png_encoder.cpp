// PNG encoding in bands on all cores.
#include "platform/image/png_encoder.h"

#include <QBuffer>
#include <QColorSpace>
#include <QIODevice>
#include <QMutexLocker>
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

bool isByteOrdered(QImage::Format format)
{
    return format == QImage::Format_RGBA8888 || format == QImage::Format_RGBX8888
        || format == QImage::Format_RGBA8888_Premultiplied;
}

// A row's samples: RGBA (straight alpha) or RGB, as the file stores them.
void rowSamples(const QImage &image, int y, bool alpha, std::vector<uchar> &samples)
{
    const QImage::Format format = image.format();
    const bool premultiplied =
        format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_RGBA8888_Premultiplied;
    const bool bytes = isByteOrdered(format);
    const uchar *line = image.constScanLine(y);
    uchar *out = samples.data();
    for (int x = 0; x < image.width(); ++x) {
        QRgb p = bytes ? qRgba(line[4 * x], line[4 * x + 1], line[4 * x + 2], line[4 * x + 3])
                       : reinterpret_cast<const QRgb *>(line)[x];
        if (premultiplied)
            p = qUnpremultiply(p);
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

// The filtered row (its filter type first): Paeth against the row above, which suits
// drawings and photographs alike, or, for a band's first row, Sub (against the pixel to the
// left only).
void filterRow(const std::vector<uchar> &row, const std::vector<uchar> *above, int bpp, std::vector<uchar> &out)
{
    out[0] = above ? 4 : 1;
    for (size_t i = 0; i < row.size(); ++i) {
        const int a = i >= size_t(bpp) ? row[i - size_t(bpp)] : 0;
        if (!above) {
            out[i + 1] = uchar(row[i] - a);
            continue;
        }
        const int c = i >= size_t(bpp) ? (*above)[i - size_t(bpp)] : 0;
        out[i + 1] = uchar(row[i] - paeth(a, (*above)[i], c));
    }
}

} // namespace

bool pngEncoderTakes(const QImage &image)
{
    const QImage::Format format = image.format();
    return !image.isNull() && !image.colorSpace().isValid() && image.textKeys().isEmpty()
        && (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
            || format == QImage::Format_ARGB32_Premultiplied || isByteOrdered(format));
}

PngBandWriter::PngBandWriter(QIODevice &out, QSize size, bool alpha, QSize dotsPerMeter, int level)
    : m_out(out), m_size(size), m_alpha(alpha), m_level(std::clamp(level, 1, 9))
{
    m_out.write("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    appendBigEndian(header, quint32(size.width()));
    appendBigEndian(header, quint32(size.height()));
    header.append(char(8));                // bits per sample
    header.append(char(alpha ? 6 : 2));    // RGBA or RGB
    header.append(3, char(0));             // deflate, adaptive filtering, no interlace
    writeChunk("IHDR", header);
    if (dotsPerMeter.width() > 0 && dotsPerMeter.height() > 0) {
        QByteArray density;
        appendBigEndian(density, quint32(dotsPerMeter.width()));
        appendBigEndian(density, quint32(dotsPerMeter.height()));
        density.append(char(1));           // per metre
        writeChunk("pHYs", density);
    }
    // The zlib header: deflate, 32 KB window (the check bits fit). The image data may be
    // cut into IDAT chunks anywhere.
    writeChunk("IDAT", QByteArray("\x78\x01", 2));
}

void PngBandWriter::writeChunk(const char *type, const QByteArray &data)
{
    QByteArray head;
    appendBigEndian(head, quint32(data.size()));
    head.append(type, 4);
    uLong crc = crc32(0, reinterpret_cast<const Bytef *>(type), 4);
    crc = crc32(crc, reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size()));
    QByteArray tail;
    appendBigEndian(tail, quint32(crc));
    m_ok = m_ok && m_out.write(head) == head.size() && m_out.write(data) == data.size()
        && m_out.write(tail) == tail.size();
}

void PngBandWriter::addBand(int index, const QImage &rows)
{
    Deflated band;
    band.rows = rows.height();
    if (pngEncoderTakes(rows) && rows.width() == m_size.width()) {
        const int bpp = m_alpha ? 4 : 3;
        const size_t rowBytes = size_t(rows.width()) * size_t(bpp);
        std::vector<uchar> row(rowBytes), above(rowBytes), filtered(rowBytes + 1);
        z_stream stream{};
        if (deflateInit2(&stream, m_level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) == Z_OK) {
            // Pieces of a fixed size, each its own IDAT chunk later: a band holds no more
            // than its deflated bytes, never a buffer grown ahead of them.
            constexpr qsizetype PieceBytes = 64 * 1024;
            band.ok = true;
            for (int y = 0; y < rows.height() && band.ok; ++y) {
                rowSamples(rows, y, m_alpha, row);
                filterRow(row, y > 0 ? &above : nullptr, bpp, filtered);
                std::swap(row, above);
                band.adler = adler32(band.adler, filtered.data(), uInt(filtered.size()));
                band.length += filtered.size();
                stream.next_in = filtered.data();
                stream.avail_in = uInt(filtered.size());
                const int flush = y + 1 == rows.height() ? Z_FULL_FLUSH : Z_NO_FLUSH;
                do {
                    if (band.pieces.empty() || band.pieces.back().size() == PieceBytes)
                        band.pieces.emplace_back().reserve(PieceBytes);
                    QByteArray &piece = band.pieces.back();
                    const qsizetype used = piece.size();
                    piece.resize(PieceBytes);
                    stream.next_out = reinterpret_cast<Bytef *>(piece.data()) + used;
                    stream.avail_out = uInt(PieceBytes - used);
                    const int result = deflate(&stream, flush);
                    piece.resize(PieceBytes - qsizetype(stream.avail_out));
                    band.ok = result == Z_OK || result == Z_BUF_ERROR;
                } while (band.ok && (stream.avail_in > 0 || stream.avail_out == 0));
            }
            if (!band.pieces.empty())
                band.pieces.back().squeeze();
            deflateEnd(&stream);
        }
    }
    QMutexLocker lock(&m_mutex);
    m_waiting[index] = std::move(band);
    writeReadyBands();
}

void PngBandWriter::writeReadyBands()
{
    for (auto it = m_waiting.find(m_next); it != m_waiting.end(); it = m_waiting.find(m_next)) {
        const Deflated &band = it->second;
        m_ok = m_ok && band.ok;
        if (m_ok) {
            for (const QByteArray &piece : band.pieces)
                writeChunk("IDAT", piece);
            m_adler = adler32_combine(m_adler, band.adler, z_off_t(band.length));
            m_rowsWritten += band.rows;
        }
        m_waiting.erase(it);
        ++m_next;
    }
}

bool PngBandWriter::finish()
{
    QMutexLocker lock(&m_mutex);
    if (!m_ok || !m_waiting.empty() || m_rowsWritten != m_size.height())
        return false;
    // An empty final block ends the deflate data, the checksum the zlib stream.
    QByteArray end("\x03\x00", 2);
    appendBigEndian(end, quint32(m_adler));
    writeChunk("IDAT", end);
    writeChunk("IEND", {});
    return m_ok;
}

QByteArray encodePng(const QImage &image, int level)
{
    if (!pngEncoderTakes(image))
        return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    const QSize dotsPerMeter(image.dotsPerMeterX(), image.dotsPerMeterY());
    PngBandWriter writer(buffer, image.size(), image.hasAlphaChannel(), dotsPerMeter, level);
    // Bands of at least 64 rows, one a core: fewer would leave cores idle, more only add
    // flush blocks and threads.
    const int cores = std::max(1, QThread::idealThreadCount());
    const int bandCount = std::clamp(image.height() / 64, 1, cores);
    const auto encodeBand = [&](int i) {
        const int first = int(qint64(image.height()) * i / bandCount);
        const int end = int(qint64(image.height()) * (i + 1) / bandCount);
        writer.addBand(i, QImage(image.constScanLine(first), image.width(), end - first, image.bytesPerLine(),
                                 image.format()));
    };
    {
        std::vector<std::thread> workers;
        for (int i = 1; i < bandCount; ++i)
            workers.emplace_back(encodeBand, i);
        encodeBand(0);
        for (std::thread &worker : workers)
            worker.join();
    }
    return writer.finish() ? png : QByteArray();
}
