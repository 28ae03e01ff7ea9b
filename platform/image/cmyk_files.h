// CMYK TIFF and JPEG files (libtiff, libjpeg), which Qt reads only as RGB and cannot write.
#pragma once

#include "platform/image/bitmap_rep.h"

#include <QByteArray>

// A TIFF of a CMYK bitmap: separated, 8 bits per sample, the alpha (when present) as an
// unassociated extra sample, LZW compressed, with the resolution that gives the bitmap's
// size in points. Empty for a bitmap that is not CMYK.
QByteArray encodeCmykTiff(const BitmapRep &bitmap);
// The first image of a TIFF when it is CMYK with 8 bits per sample (4 samples, or 5 with
// alpha); a null bitmap otherwise, so that the caller reads it as RGB. A CMYK image larger
// than the pixel budget gives a null bitmap and the reason in `error`.
BitmapRep decodeCmykTiff(const QByteArray &data, QString *error = nullptr);

// A CMYK JPEG with an Adobe marker, stored inverted as the Adobe convention that JPEG
// readers expect; alpha is dropped. quality 0 to 1 (negative: 0.9).
QByteArray encodeCmykJpeg(const BitmapRep &bitmap, float quality = -1);
// A CMYK (or YCCK) JPEG as a CMYK bitmap, Adobe-inverted samples turned back; a null
// bitmap for other JPEGs and for data that is not JPEG; as for TIFF, an image larger than
// the pixel budget gives a null bitmap and the reason in `error`.
BitmapRep decodeCmykJpeg(const QByteArray &data, QString *error = nullptr);
