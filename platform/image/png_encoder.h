// PNG files of 8-bit RGB and RGBA images written in bands on all cores.
//
// Deflating is most of a PNG's cost. The rows are cut into bands; each band is filtered and
// deflated on its own thread into raw deflate data that ends on a byte boundary with an
// empty stored block (a full flush), so that the bands joined in order are one valid zlib
// stream, its checksum combined from the bands' (adler32_combine). A band's first row is
// filtered against its left neighbours only, so that a band needs no pixels of another and
// can be encoded as soon as it is drawn. The file is the same picture a serial encoder
// writes; only the compressed bytes differ.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QMutex>
#include <QSize>

#include <map>
#include <vector>

class QIODevice;

// The level exports use: nearly the size of zlib's default for drawings, at a fraction of
// its time.
inline constexpr int DefaultPngLevel = 3;

// Whether encodePng takes the image as it is: 32-bit RGB or RGBA, straight or premultiplied,
// in either byte order, with no colour space or text to carry (other images go through Qt's
// writer).
bool pngEncoderTakes(const QImage &image);

// The PNG file of the image (RGBA when its format has alpha, else RGB; premultiplied pixels
// are stored unpremultiplied), with the image's dots per metre, deflated at the zlib level
// (1 fastest .. 9 smallest). Empty for an image pngEncoderTakes refuses.
QByteArray encodePng(const QImage &image, int level = DefaultPngLevel);

// Writes a PNG file to a device band by band, without the whole image: the caller draws
// bands of rows (full width, top to bottom numbered from 0) and hands each to addBand, from
// any thread and in any order; each is deflated on the calling thread and written as soon as
// the bands above it are. Holds only the deflated bands still waiting for their turn.
class PngBandWriter {
public:
    // Writes the signature and the header. `dotsPerMeter` empty: no resolution in the file.
    PngBandWriter(QIODevice &out, QSize size, bool alpha, QSize dotsPerMeter = {}, int level = DefaultPngLevel);
    PngBandWriter(const PngBandWriter &) = delete;
    PngBandWriter &operator=(const PngBandWriter &) = delete;

    // Band `index` of `rows` (a 32-bit image as pngEncoderTakes accepts, of the file's width).
    void addBand(int index, const QImage &rows);
    // After every band: ends the stream. False when a band was missing, had the wrong size,
    // or the device refused a write.
    bool finish();

private:
    struct Deflated {
        std::vector<QByteArray> pieces;   // the deflated bytes
        unsigned long adler = 1;
        unsigned long length = 0;
        int rows = 0;
        bool ok = false;
    };
    void writeChunk(const char *type, const QByteArray &data);
    void writeReadyBands();

    QIODevice &m_out;
    const QSize m_size;
    const bool m_alpha;
    const int m_level;
    QMutex m_mutex;
    std::map<int, Deflated> m_waiting;   // deflated bands whose turn has not come
    int m_next = 0;                      // the band to write next
    int m_rowsWritten = 0;
    unsigned long m_adler = 1;
    bool m_ok = true;
};
