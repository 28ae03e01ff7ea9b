// Only this file sees GEGL's and glib's headers, which come before Qt's (glib uses names
// that Qt defines as macros).
#include <gegl.h>

#include "platform/filters/gegl_operation.h"
#include "platform/graphics/parallel_rows.h"

#include <QtEndian>

#include <atomic>
#include <mutex>
#include <thread>

namespace {

std::atomic<bool> started{false};
std::thread::id startThread;

// The engine works the image in square tiles of this side: small enough that its float
// copies of a tile (and of the operation's reach round it) stay a few megabytes and that a
// stop waits for at most one tile, large enough that the engine still spreads a tile among
// its threads and the reach adds little.
constexpr int tileSide = 256;

void startGegl()
{
    static std::once_flag once;
    std::call_once(once, [] {
        gegl_init(nullptr, nullptr);
        // GEGL splits an operation's work among as many threads as it is told to; what it
        // keeps of finished tiles stays small, as each strip is asked for once.
        g_object_set(gegl_config(), "threads", parallelRowThreads(), "tile-cache-size", guint64(8) << 20, nullptr);
        startThread = std::this_thread::get_id();
        started = true;
    });
}

// Premultiplied ARGB32 as it lies in memory: B, G, R, A bytes on a little-endian machine,
// gamma-encoded (sRGB), or taken for linear light as they are.
const Babl *argb32Premultiplied(GeglValues values)
{
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the pixel layouts below are little-endian's");
    static const Babl *encoded =
        babl_format_new("name", "vekanto B'aG'aR'aA u8", babl_model("R'aG'aB'aA"), babl_type("u8"),
                        babl_component("B'a"), babl_component("G'a"), babl_component("R'a"), babl_component("A"), nullptr);
    static const Babl *asStored =
        babl_format_new("name", "vekanto BaGaRaA u8", babl_model("RaGaBaA"), babl_type("u8"), babl_component("Ba"),
                        babl_component("Ga"), babl_component("Ra"), babl_component("A"), nullptr);
    return values == GeglValues::Encoded ? encoded : asStored;
}

} // namespace

bool geglStarted() { return started; }

bool geglStartedOnThisThread() { return started && startThread == std::this_thread::get_id(); }

QImage throughGegl(const QImage &input, const char *operation, std::vector<std::pair<const char *, double>> properties,
                   int reach, GeglValues values)
{
    startGegl();
    // Only the operations under the library's own licence are loaded; asking for another is
    // a mistake of ours, not of the input.
    Q_ASSERT(gegl_has_operation(operation));
    const QImage in = input.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const Babl *format = argb32Premultiplied(values);
    const int width = in.width(), height = in.height();
    GeglNode *graph = gegl_node_new();
    GeglNode *from = gegl_node_new_child(graph, "operation", "gegl:buffer-source", nullptr);
    GeglNode *op = gegl_node_new_child(graph, "operation", operation, nullptr);
    for (const auto &[key, value] : properties) {
        GValue number = G_VALUE_INIT;
        g_value_init(&number, G_TYPE_DOUBLE);
        g_value_set_double(&number, value);
        gegl_node_set_property(op, key, &number);
        g_value_unset(&number);
    }
    gegl_node_link(from, op);
    QImage out(in.size(), QImage::Format_ARGB32_Premultiplied);
    serialRows(height, tileSide, [&](int y0, int y1) {
        for (int x0 = 0; x0 < width && !rowWorkStopRequested(); x0 += tileSide) {
            const int x1 = std::min(width, x0 + tileSide);
            // The source is the tile and the pixels round it that the operation reads: the
            // engine never sees (nor copies, as it does a source it is given) the whole picture.
            const int sx0 = std::max(0, x0 - reach), sy0 = std::max(0, y0 - reach);
            const GeglRectangle read = {sx0, sy0, std::min(width, x1 + reach) - sx0, std::min(height, y1 + reach) - sy0};
            QImage part = in.copy(read.x, read.y, read.width, read.height);
            GeglBuffer *source = gegl_buffer_linear_new_from_data(part.bits(), format, &read, int(part.bytesPerLine()),
                                                                  nullptr, nullptr);
            gegl_node_set(from, "buffer", source, nullptr);
            const GeglRectangle tile = {x0, y0, x1 - x0, y1 - y0};
            gegl_node_blit(op, 1.0, &tile, format, out.scanLine(y0) + qsizetype(x0) * 4, int(out.bytesPerLine()),
                           GEGL_BLIT_DEFAULT);
            gegl_node_set(from, "buffer", nullptr, nullptr);
            g_object_unref(source);
        }
    });
    g_object_unref(graph);
    return out;
}
