// PNG files of 8-bit RGB and RGBA images written in bands on all cores.
//
// Deflating is most of a PNG's cost. The rows are cut into bands; each band is filtered and
// deflated on its own thread into raw deflate data that ends on a byte boundary with an
// empty stored block (a full flush), so that the bands joined in order are one valid zlib
// stream, its checksum combined from the bands' (adler32_combine). The file is the same
// picture a serial encoder writes; only the compressed bytes differ.
#pragma once

#include <QByteArray>
#include <QImage>

// The level exports use: nearly the size of zlib's default for drawings, at a fraction of
// its time.
inline constexpr int DefaultPngLevel = 3;

// Whether encodePng takes the image as it is: 32-bit RGB, ARGB or premultiplied ARGB, with
// no colour space or text to carry (other images go through Qt's writer).
bool pngEncoderTakes(const QImage &image);

// The PNG file of the image (RGBA when its format has alpha, else RGB; premultiplied pixels
// are stored unpremultiplied), with the image's dots per metre, deflated at the zlib level
// (1 fastest .. 9 smallest). Empty for an image pngEncoderTakes refuses.
QByteArray encodePng(const QImage &image, int level = DefaultPngLevel);
