// Writing the canvas's image of an export as PNG, JPEG, JPEG 2000, TIFF or a Mac icon file.
// Each writer replaces the file only with a complete new one and answers false when the
// image is missing, cannot be encoded or cannot be written; a failed write says why in
// *error (when given), naming the file.
#pragma once

#include "platform/image/image.h"

#include <QSize>
#include <QString>

#include <functional>

class VekDocument;
struct CanvasImageRequest;

bool saveAsPng(const Image &image, const QString &path, QString *error = nullptr);
// The canvas image of the request (RGB, no path clip) written as PNG while it is drawn: bands
// are deflated as they are drawn and the whole image is never held. `sizeInPoints` gives the
// file its resolution (the pixels' size when empty). On failure *error names the file and
// why (a full disk as such) when the file could not be written.
bool saveCanvasImageAsPng(VekDocument &document, const CanvasImageRequest &request, const QString &path,
                          const std::function<Size(QSize pixels)> &sizeInPoints, QString *error = nullptr);
// Transparent parts turn white. compressionFactor: 0 smallest file .. 1 best quality.
bool saveAsJpeg(const Image &image, const QString &path, float compressionFactor, bool jp2,
                QString *error = nullptr);
// CMYK images stay CMYK.
bool saveAsTiff(const Image &image, const QString &path, QString *error = nullptr);
// An icon family: 512 and 256 pixels (PNG members) when the picture is that large, 128, 32
// and 16 always (packed RGB with 8-bit masks, and the one-bit icon at 32), each colour
// sample raised to the power 1.15. Square bitmaps of those sizes that the image holds are used as they are.
bool saveImageAsIcns(const Image &image, const QString &path, QString *error = nullptr);
