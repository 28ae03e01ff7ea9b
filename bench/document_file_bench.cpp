// Saving and reading whole documents of path objects in both stored forms (the archive and
// the text form), against librsvg loading the same drawing as SVG, interleaved iteration by
// iteration in this process, with the machine's load beside them.
//
// BM_DocumentSave/<objects>/<form> and BM_DocumentRead/<objects>/<form>: documents of
// 1,000, 10,000 and 50,000 filled curved paths; form 0 is the archive, 1 the text form.
// "ms" is ours per iteration, "ns_per_object" and "growth" (the time per object over that
// of the 1,000-object document of the same form and direction) show how the time grows:
// growth stays near 1 when it is linear. "bytes" is the document's size, "svg_bytes" that of
// the same drawing as SVG; "ratio" is librsvg's time over ours.
// librsvg's GLib headers name a member "signals": they come before Qt defines that word.
#include "bench/librsvg_peer.h"

#include "bench/path_document.h"
#include "document/vek_document.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QHash>

#include <cstdlib>

namespace {

double seconds(const QElapsedTimer &timer) { return timer.nsecsElapsed() / 1e9; }

double rsvgLoad(const QByteArray &svg)
{
    QElapsedTimer timer;
    timer.start();
    return librsvg::Handle(svg).ok() ? seconds(timer) : -1;
}

// Ours timed against librsvg, alternately; the counters described at the top.
template <typename Ours>
void run(benchmark::State &state, const char *direction, qsizetype bytes, Ours ours)
{
    const int count = int(state.range(0));
    const QByteArray svg = svgOfDocument(count);
    double ourTotal = 0, theirTotal = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        if (!ours()) {
            state.SkipWithError("the document did not save or read");
            return;
        }
        const double mine = seconds(timer);
        const double theirs = rsvgLoad(svg);
        state.SetIterationTime(mine);
        ourTotal += mine;
        theirTotal += theirs;
    }
    const double perIteration = ourTotal / double(state.iterations());
    const double perObject = perIteration * 1e9 / count;
    // The 1,000-object run comes first; the last of its runs (the measured one) is the base.
    static QHash<QString, double> firstPerObject;
    const QString key = QStringLiteral("%1/%2").arg(QLatin1String(direction)).arg(state.range(1));
    if (count == 1000 || !firstPerObject.contains(key))
        firstPerObject.insert(key, perObject);
    state.counters["ms"] = perIteration * 1e3;
    state.counters["ns_per_object"] = perObject;
    state.counters["growth"] = perObject / firstPerObject.value(key);
    state.counters["bytes"] = double(bytes);
    state.counters["svg_bytes"] = double(svg.size());
    state.counters["ratio"] = theirTotal / ourTotal;
    state.counters["load"] = librsvg::machineLoad();
}

void BM_DocumentSave(benchmark::State &state)
{
    const auto doc = documentOf(int(state.range(0)));
    const bool textForm = state.range(1) != 0;
    const qsizetype bytes = doc->dataOfDocument(textForm).size();
    run(state, "save", bytes, [&] { return !doc->dataOfDocument(textForm).isEmpty(); });
}

void BM_DocumentRead(benchmark::State &state)
{
    const QByteArray data = documentOf(int(state.range(0)))->dataOfDocument(state.range(1) != 0);
    run(state, "read", data.size(), [&] {
        VekDocument doc;
        return doc.readFromData(data, nullptr);
    });
}

void sizesAndForms(benchmark::internal::Benchmark *b)
{
    for (int form : {0, 1})
        for (int n : {1000, 10000, 50000})
            b->Args({n, form});
    b->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(0.5);
}

BENCHMARK(BM_DocumentSave)->Apply(sizesAndForms);
BENCHMARK(BM_DocumentRead)->Apply(sizesAndForms);

} // namespace
