// Writing Mac icon files ("icns"): the container and the member layouts it holds.
//
// Reading goes through Qt's icns image plug-in (readImageFile). A file is "icns", its
// total length, then members, each a four-letter type, its length (header included) and
// its data; numbers are big-endian.
#pragma once

#include "platform/image/bitmap_rep.h"

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

class IcnsFile {
public:
    void addMember(const QByteArray &type, const QByteArray &data);
    const std::vector<std::pair<QByteArray, QByteArray>> &members() const { return m_members; }
    QByteArray bytes() const;
    // Writes the file atomically; false when it cannot be written.
    bool write(const QString &path, QString *error = nullptr) const;
    // The members of icns data; empty when the data is not an icon file.
    static std::vector<std::pair<QByteArray, QByteArray>> parse(const QByteArray &data);

    // Member data from a bitmap of exactly size x size pixels, rows from the top, or
    // empty when the bitmap does not have that size:
    // PNG data ("ic07" 128, "ic08" 256, "ic09" 512, "ic10" 1024).
    static QByteArray pngData(const BitmapRep &bitmap, int size);
    // Red, green and blue planes, each run-length packed ("is32" 16, "il32" 32, "ih32" 48,
    // "it32" 128, which starts with four zero bytes).
    static QByteArray packedRgbData(const BitmapRep &bitmap, int size, bool leadingZeros = false);
    // Unpacked alpha, red, green, blue per pixel, alpha not premultiplied.
    static QByteArray argbData(const BitmapRep &bitmap, int size);
    // One alpha byte per pixel ("s8mk", "l8mk", "h8mk", "t8mk"); opaque bitmaps give 255.
    static QByteArray alphaMaskData(const BitmapRep &bitmap, int size);
    // "ICN#": a 32 x 32 one-bit icon (a bit set where alpha is not zero, the first pixel
    // in the highest bit) followed by the same bits as its mask.
    static QByteArray oneBitIconAndMask(const BitmapRep &bitmap);

private:
    std::vector<std::pair<QByteArray, QByteArray>> m_members;
};
