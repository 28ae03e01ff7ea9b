// librsvg doing in this process the work a benchmark compares with ours: parsing SVG bytes,
// rendering a loaded handle, writing PNG and PDF through cairo. Each returns its time in
// milliseconds, negative when librsvg fails.
#pragma once

// librsvg's GLib headers name a member "signals": they come before Qt defines that word.
#include <cairo-pdf.h>
#include <cairo.h>
#include <librsvg/rsvg.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>

namespace librsvg {

inline double millisecondsSince(const QElapsedTimer &timer) { return double(timer.nsecsElapsed()) / 1e6; }

// The CPU time of all the process's threads so far.
inline double processCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// The machine's load over the last minute, printed beside the figures.
inline double machineLoad()
{
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
}

class Handle {
public:
    explicit Handle(const QByteArray &svg)
    {
        GError *error = nullptr;
        m_handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8 *>(svg.constData()), gsize(svg.size()), &error);
        g_clear_error(&error);
    }
    ~Handle()
    {
        if (m_handle)
            g_object_unref(m_handle);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    bool ok() const { return m_handle != nullptr; }

    // Renders the document into the cairo context over the viewport's size.
    bool render(cairo_t *cr, double width, double height) const
    {
        GError *error = nullptr;
        const RsvgRectangle viewport{0, 0, width, height};
        const bool drawn = rsvg_handle_render_document(m_handle, cr, &viewport, &error);
        g_clear_error(&error);
        return drawn;
    }

private:
    RsvgHandle *m_handle = nullptr;
};

// Rendering an already loaded handle into a new image of the size.
inline double renderLoaded(const Handle &handle, int width, int height)
{
    QElapsedTimer timer;
    timer.start();
    cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t *cr = cairo_create(surface);
    const bool drawn = handle.render(cr, width, height);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return drawn ? millisecondsSince(timer) : -1;
}

// Parsing the bytes, rendering them into an image of the size and writing it as PNG.
inline double svgToPng(const QByteArray &svg, int width, int height, const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    const Handle handle(svg);
    if (!handle.ok())
        return -1;
    cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t *cr = cairo_create(surface);
    bool ok = handle.render(cr, width, height);
    cairo_destroy(cr);
    ok = ok && cairo_surface_write_to_png(surface, path.toLocal8Bit().constData()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok ? millisecondsSince(timer) : -1;
}

// Parsing the bytes and writing them as a one-page PDF of the size (points).
inline double svgToPdf(const QByteArray &svg, double width, double height, const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    const Handle handle(svg);
    if (!handle.ok())
        return -1;
    cairo_surface_t *surface = cairo_pdf_surface_create(path.toLocal8Bit().constData(), width, height);
    cairo_t *cr = cairo_create(surface);
    const bool ok = handle.render(cr, width, height);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok && written ? millisecondsSince(timer) : -1;
}

// Our work and librsvg's on the same input, in turn each iteration after one untimed round
// of each; the iteration time is ours. Sets "librsvg_ms", "ratio" (librsvg's time over ours),
// the CPU time of all threads of each ("cpu_ms", "librsvg_cpu_ms": a win on more cores that
// costs more CPU shows as such) and "load1"; false, with the state's error, when either side
// failed. Both return milliseconds, negative on failure.
template <typename Ours, typename Theirs>
bool compareInterleaved(benchmark::State &state, Ours ours, Theirs theirs)
{
    ours();
    theirs();
    double oursMs = 0, theirsMs = 0, oursCpu = 0, theirsCpu = 0, load = 0;
    for (auto _ : state) {
        const double cpu0 = processCpuMs();
        const double a = ours();
        const double cpu1 = processCpuMs();
        const double b = theirs();
        oursCpu += cpu1 - cpu0;
        theirsCpu += processCpuMs() - cpu1;
        if (a < 0 || b < 0) {
            state.SkipWithError(a < 0 ? "our export failed" : "librsvg failed");
            return false;
        }
        state.SetIterationTime(a / 1e3);
        oursMs += a;
        theirsMs += b;
        load += machineLoad();
    }
    const double n = double(state.iterations());
    state.counters["librsvg_ms"] = theirsMs / n;
    state.counters["ratio"] = theirsMs / oursMs;
    state.counters["cpu_ms"] = oursCpu / n;
    state.counters["librsvg_cpu_ms"] = theirsCpu / n;
    state.counters["load1"] = load / n;
    return true;
}

} // namespace librsvg
