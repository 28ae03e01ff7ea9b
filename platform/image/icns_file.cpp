// The icns container and its member encodings (PNG, packed RGB, ARGB, masks, one-bit).
#include "platform/image/icns_file.h"

#include "platform/foundation/file_writing.h"

#include <QBuffer>
#include <QtEndian>

namespace {

// Straight (not premultiplied) RGBA pixels of a size x size bitmap, or a null image.
QImage rgbaPixels(const BitmapRep &bitmap, int size)
{
    if (bitmap.isNull() || bitmap.pixelsWide() != size || bitmap.pixelsHigh() != size)
        return {};
    return bitmap.toQImage().convertToFormat(QImage::Format_RGBA8888);
}

void appendBigEndian32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

// The icns run-length packing of one channel: a control byte below 0x80 starts
// control + 1 literal bytes; 0x80 and above repeats the next byte control - 0x80 + 3 times.
void packChannel(const std::vector<uchar> &in, QByteArray &out)
{
    size_t i = 0;
    while (i < in.size()) {
        size_t run = 1;
        while (i + run < in.size() && run < 130 && in[i + run] == in[i])
            ++run;
        if (run >= 3) {
            out.append(char(0x80 + run - 3));
            out.append(char(in[i]));
            i += run;
            continue;
        }
        // Literals up to the next run of three or 128 bytes.
        size_t start = i;
        size_t count = 0;
        while (i < in.size() && count < 128) {
            if (i + 2 < in.size() && in[i] == in[i + 1] && in[i] == in[i + 2])
                break;
            ++i;
            ++count;
        }
        out.append(char(count - 1));
        out.append(reinterpret_cast<const char *>(in.data() + start), qsizetype(count));
    }
}

} // namespace

void IcnsFile::addMember(const QByteArray &type, const QByteArray &data)
{
    m_members.emplace_back(type.left(4).leftJustified(4, ' '), data);
}

QByteArray IcnsFile::bytes() const
{
    QByteArray body;
    for (const auto &[type, data] : m_members) {
        body.append(type);
        appendBigEndian32(body, quint32(data.size() + 8));
        body.append(data);
    }
    QByteArray out("icns");
    appendBigEndian32(out, quint32(body.size() + 8));
    return out + body;
}

bool IcnsFile::write(const QString &path, QString *error) const
{
    return writeWholeFile(path, bytes(), error);
}

std::vector<std::pair<QByteArray, QByteArray>> IcnsFile::parse(const QByteArray &data)
{
    std::vector<std::pair<QByteArray, QByteArray>> members;
    if (!data.startsWith("icns") || data.size() < 8)
        return members;
    const qint64 total = std::min<qint64>(qFromBigEndian<quint32>(data.constData() + 4), data.size());
    qint64 at = 8;
    while (at + 8 <= total) {
        const qint64 length = qFromBigEndian<quint32>(data.constData() + at + 4);
        if (length < 8 || at + length > total)
            break;
        members.emplace_back(data.mid(at, 4), data.mid(at + 8, length - 8));
        at += length;
    }
    return members;
}

QByteArray IcnsFile::pngData(const BitmapRep &bitmap, int size)
{
    const QImage pixels = rgbaPixels(bitmap, size);
    if (pixels.isNull())
        return {};
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    return pixels.save(&buffer, "PNG") ? out : QByteArray();
}

QByteArray IcnsFile::packedRgbData(const BitmapRep &bitmap, int size, bool leadingZeros)
{
    const QImage pixels = rgbaPixels(bitmap, size);
    if (pixels.isNull())
        return {};
    QByteArray out;
    if (leadingZeros)
        out.append(4, '\0');
    std::vector<uchar> channel(size_t(size) * size_t(size));
    for (int c = 0; c < 3; ++c) {
        for (int y = 0; y < size; ++y) {
            const uchar *line = pixels.constScanLine(y);
            for (int x = 0; x < size; ++x)
                channel[size_t(y) * size_t(size) + size_t(x)] = line[4 * x + c];
        }
        packChannel(channel, out);
    }
    return out;
}

QByteArray IcnsFile::argbData(const BitmapRep &bitmap, int size)
{
    const QImage pixels = rgbaPixels(bitmap, size);
    if (pixels.isNull())
        return {};
    QByteArray out;
    out.reserve(size * size * 4);
    for (int y = 0; y < size; ++y) {
        const uchar *p = pixels.constScanLine(y);
        for (int x = 0; x < size; ++x, p += 4) {
            const char argb[4] = {char(p[3]), char(p[0]), char(p[1]), char(p[2])};
            out.append(argb, 4);
        }
    }
    return out;
}

QByteArray IcnsFile::alphaMaskData(const BitmapRep &bitmap, int size)
{
    const QImage pixels = rgbaPixels(bitmap, size);
    if (pixels.isNull())
        return {};
    QByteArray out;
    out.reserve(size * size);
    for (int y = 0; y < size; ++y) {
        const uchar *p = pixels.constScanLine(y);
        for (int x = 0; x < size; ++x)
            out.append(char(p[4 * x + 3]));
    }
    return out;
}

QByteArray IcnsFile::oneBitIconAndMask(const BitmapRep &bitmap)
{
    const QImage pixels = rgbaPixels(bitmap, 32);
    if (pixels.isNull())
        return {};
    QByteArray bits(128, '\0');
    for (int y = 0; y < 32; ++y) {
        const uchar *p = pixels.constScanLine(y);
        for (int x = 0; x < 32; ++x)
            if (p[4 * x + 3] != 0)
                bits[y * 4 + x / 8] = char(uchar(bits[y * 4 + x / 8]) | (0x80 >> (x % 8)));
    }
    return bits + bits;
}
