// Reading images from files and data, and writing bitmaps in the common file formats.
#pragma once

#include "platform/image/image.h"

#include <QByteArray>
#include <QString>

// Reads PDF (one representation: the first page, as vectors), JPEG 2000 (OpenJPEG) and
// every format of Qt's image plug-ins (PNG, JPEG, TIFF, GIF, BMP, Mac icon files, ...);
// CMYK TIFF and JPEG files give CMYK bitmaps (the first TIFF page only).
// Every image of a multi-image file (TIFF pages, icon members) becomes a representation,
// and the image takes the size of the first. A resolution stored in the file sets the
// size in points (Qt's defaults of 72, 96 and 100 dpi count as none, so such images are
// one point a pixel). JPEG orientation tags are applied, so the
// image is upright. An invalid image on failure, with the reason in *error when given.
Image readImageData(const QByteArray &data, QString *error = nullptr);
Image readImageFile(const QString &path, QString *error = nullptr);

// Encodes a bitmap as "png", "jpeg" (or "jpg"), "tiff", "bmp" or "jp2" (GIF is read
// only: no writer is needed and Qt has none). quality
// (0 to 1) applies to JPEG and JPEG 2000; negative means the format's default (lossless
// for JPEG 2000). A CMYK bitmap is written as CMYK in TIFF and JPEG, as RGB in the other
// formats. Empty on failure.
QByteArray encodeBitmap(const BitmapRep &bitmap, const QByteArray &format, float quality = -1);
// Writes encodeBitmap's data atomically: an existing file is replaced only by a complete
// new one.
bool writeBitmapFile(const BitmapRep &bitmap, const QString &path, const QByteArray &format, float quality = -1,
                     QString *error = nullptr);
