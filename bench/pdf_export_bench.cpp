// PDF export of one 2000 x 2000 page holding 10,000 filled and stroked cubic paths, against
// rsvg-convert writing the same paths (from an SVG the benchmark writes) as PDF in the same
// run. Reports both times, their ratio (rsvg-convert's time over ours: the goal is at least
// 2) and both file sizes (goal: ours no larger).
#include "document/vek_document.h"
#include "export/pdf_export.h"
#include "model/vek_obj_path.h"
#include "platform/foundation/c_locale.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

namespace {

constexpr int PathCount = 10000;
constexpr float Side = 2000;

struct CubicPath {
    Point start, c1, c2, end, c3, c4;
    Color fill;
};

std::vector<CubicPath> paths()
{
    std::vector<CubicPath> result;
    for (int i = 0; i < PathCount; ++i) {
        const float x = float((i * 37) % 1950), y = float((i * 53) % 1950);
        result.push_back({{x, y}, {x + 40, y - 10}, {x + 50, y + 30}, {x + 30, y + 45},
                          {x + 10, y + 50}, {x - 5, y + 20},
                          Color::colorWithCalibratedRed(float(i % 7) / 7, float(i % 11) / 11, 0.6f)});
    }
    return result;
}

BezierPath bezierPathOf(const CubicPath &p)
{
    BezierPath path;
    path.moveToPoint(p.start);
    path.curveToPoint(p.end, p.c1, p.c2);
    path.curveToPoint(p.start, p.c3, p.c4);
    path.closePath();
    path.setLineWidth(1.5f);
    return path;
}

QByteArray svgOf(const std::vector<CubicPath> &all)
{
    QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"2000pt\" height=\"2000pt\" viewBox=\"0 0 2000 2000\">\n";
    auto n = [](float v) { return formatFixed(v, 2).toLatin1(); };
    for (const CubicPath &p : all) {
        const QColor c = QColor::fromRgbF(p.fill.redComponent(), p.fill.greenComponent(), p.fill.blueComponent());
        svg += "<path d=\"M" + n(p.start.x) + " " + n(p.start.y) + "C" + n(p.c1.x) + " " + n(p.c1.y) + " " + n(p.c2.x)
            + " " + n(p.c2.y) + " " + n(p.end.x) + " " + n(p.end.y) + "C" + n(p.c3.x) + " " + n(p.c3.y) + " " + n(p.c4.x)
            + " " + n(p.c4.y) + " " + n(p.start.x) + " " + n(p.start.y) + "Z\" fill=\"" + c.name().toLatin1()
            + "\" stroke=\"#000\" stroke-width=\"1.5\"/>\n";
    }
    return svg + "</svg>\n";
}

void BM_PdfExportAgainstRsvgConvert(benchmark::State &state)
{
    int argc = 1;
    char name[] = "pdf_export_bench";
    char *argv[] = {name};
    static QGuiApplication app(argc, argv);
    const std::vector<CubicPath> all = paths();
    VekDocument doc;
    doc.setDrawAreaSizePerPage({Side, Side});
    for (int i = 0; i < PathCount; ++i) {
        auto o = VekObjPath::create();
        o->setBezierPath(bezierPathOf(all[size_t(i)]));
        o->setBounds(o->bezierPath().bounds());
        o->setFillColor(all[size_t(i)].fill);
        o->setDrawsFill(true);
        o->setDrawsStroke(true);
        o->setObjLineWidth(1.5f);
        doc.insertObject(o, 0, false);
    }
    doc.undoManager()->removeAllActions();

    QTemporaryDir dir;
    const QString svgPath = dir.filePath("paths.svg");
    QFile svg(svgPath);
    svg.open(QIODevice::WriteOnly);
    svg.write(svgOf(all));
    svg.close();

    double oursMs = 0, rsvgMs = 0, oursBytes = 0, rsvgBytes = 0;
    const ExportSelection page{Rect(0, 0, Side, Side), {}, false};
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        const QByteArray pdf = areaAsPDF(doc, page);
        const double ours = timer.nsecsElapsed() / 1e6;
        oursMs += ours;
        oursBytes = double(pdf.size());
        state.SetIterationTime(ours / 1000);

        timer.restart();
        const QString out = dir.filePath("rsvg.pdf");
        QProcess::execute("rsvg-convert", {"-f", "pdf", "-o", out, svgPath});
        rsvgMs += timer.nsecsElapsed() / 1e6;
        rsvgBytes = double(QFile(out).size());
    }
    const double runs = double(state.iterations());
    state.counters["vekanto_ms"] = oursMs / runs;
    state.counters["rsvg_ms"] = rsvgMs / runs;
    state.counters["speed_ratio"] = rsvgMs / std::max(oursMs, 1e-9);
    state.counters["vekanto_bytes"] = oursBytes;
    state.counters["rsvg_bytes"] = rsvgBytes;
    state.counters["size_ratio"] = oursBytes / std::max(rsvgBytes, 1.0);
}
BENCHMARK(BM_PdfExportAgainstRsvgConvert)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
