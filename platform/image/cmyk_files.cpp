// libtiff and libjpeg glue for CMYK bitmaps, working in memory.
#include "platform/image/cmyk_files.h"

#include "platform/image/pixel_budget.h"

#include <tiffio.h>

#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <vector>

namespace {

// A growable memory file for libtiff.
struct TiffMemory {
    QByteArray data;
    qint64 position = 0;
};

tsize_t tiffRead(thandle_t h, tdata_t buffer, tsize_t size)
{
    auto *m = static_cast<TiffMemory *>(h);
    const qint64 n = std::max<qint64>(0, std::min<qint64>(size, m->data.size() - m->position));
    std::memcpy(buffer, m->data.constData() + m->position, size_t(n));
    m->position += n;
    return tsize_t(n);
}

tsize_t tiffWrite(thandle_t h, tdata_t buffer, tsize_t size)
{
    auto *m = static_cast<TiffMemory *>(h);
    if (m->position + size > m->data.size())
        m->data.resize(m->position + size);
    std::memcpy(m->data.data() + m->position, buffer, size_t(size));
    m->position += size;
    return size;
}

toff_t tiffSeek(thandle_t h, toff_t offset, int whence)
{
    auto *m = static_cast<TiffMemory *>(h);
    qint64 base = whence == SEEK_CUR ? m->position : whence == SEEK_END ? m->data.size() : 0;
    m->position = std::max<qint64>(0, base + qint64(offset));
    return toff_t(m->position);
}

int tiffClose(thandle_t)
{
    return 0;
}

toff_t tiffSize(thandle_t h)
{
    return toff_t(static_cast<TiffMemory *>(h)->data.size());
}

int tiffMap(thandle_t, tdata_t *, toff_t *)
{
    return 0;
}

void tiffUnmap(thandle_t, tdata_t, toff_t) {}

TIFF *openTiff(TiffMemory &memory, const char *mode)
{
    return TIFFClientOpen("memory", mode, &memory, tiffRead, tiffWrite, tiffSeek, tiffClose, tiffSize, tiffMap,
                          tiffUnmap);
}

// libtiff reports problems through global handlers; a failed call is enough here.
void silenceTiff()
{
    static const bool once = [] {
        TIFFSetWarningHandler(nullptr);
        TIFFSetErrorHandler(nullptr);
        return true;
    }();
    (void)once;
}

// libjpeg calls error_exit on fatal errors, which must not return: jump back instead.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jpegFail(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegError *>(info->err)->jump, 1);
}

void jpegSilent(j_common_ptr, int) {}

} // namespace

QByteArray encodeCmykTiff(const BitmapRep &bitmap)
{
    if (bitmap.isNull() || !bitmap.isCMYK())
        return {};
    silenceTiff();
    TiffMemory memory;
    TIFF *tiff = openTiff(memory, "w");
    if (!tiff)
        return {};
    const int samples = bitmap.samplesPerPixel();
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(bitmap.pixelsWide()));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(bitmap.pixelsHigh()));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_SEPARATED);
    TIFFSetField(tiff, TIFFTAG_INKSET, INKSET_CMYK);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
    if (samples == 5) {
        const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
    }
    const Size size = bitmap.size();
    if (size.width > 0 && size.height > 0) {
        TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        TIFFSetField(tiff, TIFFTAG_XRESOLUTION, float(bitmap.pixelsWide() / size.width * 72));
        TIFFSetField(tiff, TIFFTAG_YRESOLUTION, float(bitmap.pixelsHigh() / size.height * 72));
    }
    bool ok = true;
    std::vector<uchar> row(size_t(bitmap.bytesPerRow()));
    for (int y = 0; y < bitmap.pixelsHigh() && ok; ++y) {
        std::memcpy(row.data(), bitmap.bitmapData() + qsizetype(y) * bitmap.bytesPerRow(), row.size());
        ok = TIFFWriteScanline(tiff, row.data(), uint32_t(y), 0) >= 0;
    }
    TIFFClose(tiff);
    return ok ? memory.data : QByteArray();
}

BitmapRep decodeCmykTiff(const QByteArray &data, QString *error)
{
    if (!(data.startsWith("II*\0") || data.startsWith(QByteArray("MM\0*", 4))))
        return {};
    silenceTiff();
    TiffMemory memory{data, 0};
    TIFF *tiff = openTiff(memory, "r");
    if (!tiff)
        return {};
    uint32_t w = 0, h = 0;
    uint16_t bits = 0, samples = 0, photometric = 0, planar = PLANARCONFIG_CONTIG, inkset = INKSET_CMYK;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &h);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &inkset);
    BitmapRep bitmap;
    const bool cmyk = photometric == PHOTOMETRIC_SEPARATED && inkset == INKSET_CMYK && bits == 8
        && (samples == 4 || samples == 5) && planar == PLANARCONFIG_CONTIG;
    if (cmyk && !PixelBudget::allows(w, h) && error)
        *error = PixelBudget::refusal(w, h);
    if (cmyk && PixelBudget::allows(w, h) && TIFFScanlineSize(tiff) >= tmsize_t(w) * samples) {
        bitmap = BitmapRep::cmykBitmap(int(w), int(h), samples == 5);
        std::vector<uchar> row(size_t(TIFFScanlineSize(tiff)));
        for (uint32_t y = 0; y < h; ++y) {
            if (TIFFReadScanline(tiff, row.data(), y, 0) < 0) {
                bitmap = BitmapRep();
                break;
            }
            std::memcpy(bitmap.bitmapData() + qsizetype(y) * bitmap.bytesPerRow(), row.data(),
                        size_t(bitmap.bytesPerRow()));
        }
        float xres = 0, yres = 0;
        uint16_t unit = RESUNIT_INCH;
        TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
        if (!bitmap.isNull() && unit == RESUNIT_INCH && TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &xres)
            && TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &yres) && xres > 0 && yres > 0)
            bitmap.setSize(Size{float(w * 72.0 / xres), float(h * 72.0 / yres)});
    }
    TIFFClose(tiff);
    return bitmap;
}

QByteArray encodeCmykJpeg(const BitmapRep &bitmap, float quality)
{
    if (bitmap.isNull() || !bitmap.isCMYK())
        return {};
    jpeg_compress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegFail;
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    std::vector<uchar> row(size_t(bitmap.pixelsWide()) * 4);
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(bitmap.pixelsWide());
    info.image_height = JDIMENSION(bitmap.pixelsHigh());
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, JCS_CMYK); // also writes the Adobe marker
    jpeg_set_quality(&info, int(std::lround((quality < 0 ? 0.9f : std::clamp(quality, 0.0f, 1.0f)) * 100)), TRUE);
    const Size points = bitmap.size();
    if (points.width > 0 && points.height > 0) {
        info.density_unit = 1;
        info.X_density = UINT16(std::lround(bitmap.pixelsWide() / points.width * 72));
        info.Y_density = UINT16(std::lround(bitmap.pixelsHigh() / points.height * 72));
    }
    jpeg_start_compress(&info, TRUE);
    const int n = bitmap.samplesPerPixel();
    while (info.next_scanline < info.image_height) {
        const uchar *src = bitmap.bitmapData() + qsizetype(info.next_scanline) * bitmap.bytesPerRow();
        for (int x = 0; x < bitmap.pixelsWide(); ++x)
            for (int c = 0; c < 4; ++c)
                row[size_t(x) * 4 + size_t(c)] = uchar(255 - src[x * n + c]);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray out(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    return out;
}

BitmapRep decodeCmykJpeg(const QByteArray &data, QString *refusal)
{
    if (!data.startsWith("\xff\xd8"))
        return {};
    jpeg_decompress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegFail;
    error.manager.emit_message = jpegSilent;
    BitmapRep bitmap;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.constData()), (unsigned long)data.size());
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space != JCS_CMYK && info.jpeg_color_space != JCS_YCCK) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    if (!PixelBudget::allows(info.image_width, info.image_height)) {
        if (refusal)
            *refusal = PixelBudget::refusal(info.image_width, info.image_height);
        jpeg_destroy_decompress(&info);
        return {};
    }
    info.out_color_space = JCS_CMYK;
    jpeg_start_decompress(&info);
    bitmap = BitmapRep::cmykBitmap(int(info.output_width), int(info.output_height), false);
    if (bitmap.isNull()) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    const bool inverted = info.saw_Adobe_marker;
    while (info.output_scanline < info.output_height) {
        uchar *row = bitmap.bitmapData() + qsizetype(info.output_scanline) * bitmap.bytesPerRow();
        JSAMPROW rows[] = {row};
        jpeg_read_scanlines(&info, rows, 1);
        if (inverted)
            for (int i = 0; i < bitmap.bytesPerRow(); ++i)
                row[i] = uchar(255 - row[i]);
    }
    if (info.density_unit == 1 && info.X_density > 0 && info.Y_density > 0)
        bitmap.setSize(Size{float(bitmap.pixelsWide() * 72.0 / info.X_density),
                            float(bitmap.pixelsHigh() * 72.0 / info.Y_density)});
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return bitmap;
}
