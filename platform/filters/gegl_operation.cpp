// Only this file sees GEGL's and glib's headers, which come before Qt's (glib uses names
// that Qt defines as macros).
#include <gegl.h>

#include "platform/filters/gegl_operation.h"
#include "platform/graphics/parallel_rows.h"

#include <mutex>

QImage throughGegl(const QImage &input, const char *operation, std::vector<std::pair<const char *, double>> properties)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] {
        gegl_init(nullptr, nullptr);
        // GEGL splits an operation's work among as many threads as it is told to.
        g_object_set(gegl_config(), "threads", parallelRowThreads(), nullptr);
    });
    // Only the operations under the library's own licence are loaded; asking for another is
    // a mistake of ours, not of the input.
    Q_ASSERT(gegl_has_operation(operation));
    QImage rgba = input.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    const Babl *format = babl_format("R'aG'aB'aA u8");
    const GeglRectangle extent = {0, 0, rgba.width(), rgba.height()};
    GeglBuffer *source = gegl_buffer_linear_new_from_data(rgba.bits(), format, &extent, rgba.bytesPerLine(), nullptr,
                                                          nullptr);
    GeglNode *graph = gegl_node_new();
    GeglNode *in = gegl_node_new_child(graph, "operation", "gegl:buffer-source", "buffer", source, nullptr);
    GeglNode *op = gegl_node_new_child(graph, "operation", operation, nullptr);
    for (const auto &[key, value] : properties) {
        GValue number = G_VALUE_INIT;
        g_value_init(&number, G_TYPE_DOUBLE);
        g_value_set_double(&number, value);
        gegl_node_set_property(op, key, &number);
        g_value_unset(&number);
    }
    gegl_node_link(in, op);
    QImage out(rgba.size(), QImage::Format_RGBA8888_Premultiplied);
    gegl_node_blit(op, 1.0, &extent, format, out.bits(), out.bytesPerLine(), GEGL_BLIT_DEFAULT);
    g_object_unref(graph);
    g_object_unref(source);
    return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

