// JPEG 2000 reading and writing (JP2 files and raw codestreams) through OpenJPEG.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// True when the data starts like a JP2 file or a JPEG 2000 codestream.
bool isJpeg2000Data(const QByteArray &data);
// 1 to 4 components (grey, grey + alpha, RGB, RGBA) of any precision, scaled to 8 bits.
// A null image when the data cannot be decoded.
QImage decodeJpeg2000(const QByteArray &data, QString *error = nullptr);
// A JP2 file of the image. quality 1 (or more) is lossless; lower values compress harder
// (0.1 at about 90:1); a negative quality means lossless. Empty on failure.
QByteArray encodeJpeg2000(const QImage &image, float quality = -1);
