// OpenJPEG glue: memory streams, component scaling, and the encoder's parameters.
#include "platform/image/jpeg2000.h"

#include "platform/image/pixel_budget.h"

#include <openjpeg.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

const char jp2Signature[] = "\x00\x00\x00\x0cjP  \r\n\x87\n";
const char codestreamSignature[] = "\xff\x4f\xff\x51";

// A memory buffer that OpenJPEG reads from or writes into.
struct MemoryStream {
    QByteArray data;
    qint64 position = 0;
};

OPJ_SIZE_T readFrom(void *buffer, OPJ_SIZE_T count, void *user)
{
    auto *s = static_cast<MemoryStream *>(user);
    const qint64 left = s->data.size() - s->position;
    if (left <= 0)
        return OPJ_SIZE_T(-1);
    const OPJ_SIZE_T n = std::min<OPJ_SIZE_T>(count, OPJ_SIZE_T(left));
    std::memcpy(buffer, s->data.constData() + s->position, n);
    s->position += qint64(n);
    return n;
}

OPJ_SIZE_T writeTo(void *buffer, OPJ_SIZE_T count, void *user)
{
    auto *s = static_cast<MemoryStream *>(user);
    const qint64 end = s->position + qint64(count);
    if (end > s->data.size())
        s->data.resize(end);
    std::memcpy(s->data.data() + s->position, buffer, count);
    s->position = end;
    return count;
}

OPJ_OFF_T skipBy(OPJ_OFF_T count, void *user)
{
    auto *s = static_cast<MemoryStream *>(user);
    s->position = std::max<qint64>(0, s->position + count);
    return count;
}

OPJ_BOOL seekTo(OPJ_OFF_T offset, void *user)
{
    auto *s = static_cast<MemoryStream *>(user);
    if (offset < 0)
        return OPJ_FALSE;
    s->position = offset;
    return OPJ_TRUE;
}

opj_stream_t *makeStream(MemoryStream &memory, bool input)
{
    opj_stream_t *stream = opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, input ? OPJ_TRUE : OPJ_FALSE);
    opj_stream_set_user_data(stream, &memory, nullptr);
    if (input) {
        opj_stream_set_user_data_length(stream, OPJ_UINT64(memory.data.size()));
        opj_stream_set_read_function(stream, readFrom);
    } else {
        opj_stream_set_write_function(stream, writeTo);
    }
    opj_stream_set_skip_function(stream, skipBy);
    opj_stream_set_seek_function(stream, seekTo);
    return stream;
}

struct CodecDeleter {
    void operator()(opj_codec_t *c) const { opj_destroy_codec(c); }
};
struct StreamDeleter {
    void operator()(opj_stream_t *s) const { opj_stream_destroy(s); }
};
struct ImageDeleter {
    void operator()(opj_image_t *i) const { opj_image_destroy(i); }
};
using Codec = std::unique_ptr<opj_codec_t, CodecDeleter>;
using Stream = std::unique_ptr<opj_stream_t, StreamDeleter>;
using OpjImage = std::unique_ptr<opj_image_t, ImageDeleter>;

// One sample of a component at image pixel (x, y), scaled to 0..255; subsampled
// components repeat their samples.
int sample8(const opj_image_comp_t &c, int x, int y)
{
    const int cx = std::min<int>(int(c.w) - 1, x / int(std::max<OPJ_UINT32>(1, c.dx)));
    const int cy = std::min<int>(int(c.h) - 1, y / int(std::max<OPJ_UINT32>(1, c.dy)));
    long v = c.data[size_t(cy) * c.w + size_t(cx)];
    const int prec = int(std::clamp<OPJ_UINT32>(c.prec, 1, 31));
    if (c.sgnd)
        v += 1L << (prec - 1);
    const long max = (1L << prec) - 1;
    return int(std::clamp(v, 0L, max) * 255 / max);
}

} // namespace

bool isJpeg2000Data(const QByteArray &data)
{
    return data.startsWith(QByteArray(jp2Signature, 12)) || data.startsWith(QByteArray(codestreamSignature, 4));
}

QImage decodeJpeg2000(const QByteArray &data, QString *error)
{
    if (!isJpeg2000Data(data))
        return {};
    const bool jp2 = data.startsWith(QByteArray(jp2Signature, 12));
    MemoryStream memory{data, 0};
    Codec codec(opj_create_decompress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
    Stream stream(makeStream(memory, true));
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    if (!opj_setup_decoder(codec.get(), &parameters))
        return {};
    opj_image_t *raw = nullptr;
    if (!opj_read_header(stream.get(), codec.get(), &raw))
        return {};
    OpjImage image(raw);
    // OpenJPEG allocates four bytes for every sample of every component when it decodes:
    // check the header's size against the budget in samples before that happens.
    const qint64 headerWidth = qint64(image->x1) - qint64(image->x0);
    const qint64 headerHeight = qint64(image->y1) - qint64(image->y0);
    if (image->numcomps < 1 || !PixelBudget::allows(headerWidth * image->numcomps, headerHeight)) {
        if (error)
            *error = PixelBudget::refusal(headerWidth, headerHeight);
        return {};
    }
    if (!opj_decode(codec.get(), stream.get(), image.get()) || !opj_end_decompress(codec.get(), stream.get()))
        return {};
    const int n = int(image->numcomps);
    const int w = int(image->x1 - image->x0);
    const int h = int(image->y1 - image->y0);
    if (n < 1 || n > 4 || w <= 0 || h <= 0)
        return {};
    for (int i = 0; i < n; ++i)
        if (!image->comps[i].data)
            return {};
    const bool grey = n <= 2;
    const bool alpha = n == 2 || n == 4;
    QImage out = PixelBudget::allocate(w, h, grey && !alpha ? QImage::Format_Grayscale8 : QImage::Format_RGBA8888);
    if (out.isNull())
        return {};
    for (int y = 0; y < h; ++y) {
        uchar *line = out.scanLine(y);
        for (int x = 0; x < w; ++x) {
            if (grey && !alpha) {
                line[x] = uchar(sample8(image->comps[0], x, y));
                continue;
            }
            uchar *p = line + 4 * x;
            const int g = sample8(image->comps[0], x, y);
            p[0] = uchar(g);
            p[1] = uchar(grey ? g : sample8(image->comps[1], x, y));
            p[2] = uchar(grey ? g : sample8(image->comps[2], x, y));
            p[3] = uchar(alpha ? sample8(image->comps[n - 1], x, y) : 255);
        }
    }
    return out;
}

QByteArray encodeJpeg2000(const QImage &source, float quality)
{
    if (source.isNull())
        return {};
    const bool grey = source.isGrayscale() && !source.hasAlphaChannel();
    const bool alpha = source.hasAlphaChannel();
    const QImage image = grey ? source.convertToFormat(QImage::Format_Grayscale8)
                              : source.convertToFormat(QImage::Format_RGBA8888);
    const int n = grey ? 1 : alpha ? 4 : 3;
    const int w = image.width();
    const int h = image.height();

    std::vector<opj_image_cmptparm_t> components(static_cast<size_t>(n));
    for (opj_image_cmptparm_t &c : components) {
        std::memset(&c, 0, sizeof c);
        c.dx = c.dy = 1;
        c.w = OPJ_UINT32(w);
        c.h = OPJ_UINT32(h);
        c.prec = 8;
        c.sgnd = 0;
    }
    OpjImage out(opj_image_create(OPJ_UINT32(n), components.data(), grey ? OPJ_CLRSPC_GRAY : OPJ_CLRSPC_SRGB));
    if (!out)
        return {};
    out->x1 = OPJ_UINT32(w);
    out->y1 = OPJ_UINT32(h);
    if (alpha)
        out->comps[3].alpha = 1;
    for (int y = 0; y < h; ++y) {
        const uchar *line = image.constScanLine(y);
        for (int x = 0; x < w; ++x)
            for (int i = 0; i < n; ++i)
                out->comps[i].data[size_t(y) * size_t(w) + size_t(x)] = grey ? line[x] : line[4 * x + i];
    }

    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    parameters.tcp_numlayers = 1;
    parameters.cp_disto_alloc = 1;
    const bool lossless = quality < 0 || quality >= 1;
    parameters.irreversible = lossless ? 0 : 1;
    parameters.tcp_rates[0] = lossless ? 0 : 1.0f + (1.0f - std::max(quality, 0.0f)) * 99.0f;
    parameters.tcp_mct = n >= 3 ? 1 : 0;
    // Fewer resolution levels than the default when the image is too small for five.
    while (parameters.numresolution > 1 && (w >> (parameters.numresolution - 1)) < 1)
        --parameters.numresolution;
    while (parameters.numresolution > 1 && (h >> (parameters.numresolution - 1)) < 1)
        --parameters.numresolution;

    MemoryStream memory;
    Codec codec(opj_create_compress(OPJ_CODEC_JP2));
    if (!opj_setup_encoder(codec.get(), &parameters, out.get()))
        return {};
    Stream stream(makeStream(memory, false));
    if (!opj_start_compress(codec.get(), out.get(), stream.get()) || !opj_encode(codec.get(), stream.get())
        || !opj_end_compress(codec.get(), stream.get()))
        return {};
    stream.reset();
    return memory.data;
}
