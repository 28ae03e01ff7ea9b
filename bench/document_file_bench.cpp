// Timing of writing and reading whole documents of path objects in both stored forms (the
// archive and the text form); each should grow linearly with the number of objects, and a
// document of 10,000 objects should take well under a second each way.
#include "document/vek_document.h"
#include "model/vek_obj_path.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace {

std::unique_ptr<VekDocument> documentOf(int count)
{
    auto doc = std::make_unique<VekDocument>();
    for (int i = 0; i < count; ++i) {
        auto o = VekObjPath::create();
        const Rect r(float(i % 100) * 20, float(i / 100) * 20, 18, 14);
        BezierPath path;
        path.moveToPoint(r.origin);
        path.curveToPoint({r.maxX(), r.maxY()}, {r.midX(), r.origin.y - 5}, {r.maxX() + 3, r.midY()});
        path.lineToPoint({r.origin.x, r.maxY()});
        path.closePath();
        o->setBezierPath(path);
        o->setBounds(path.bounds());
        o->setFillColor(Color::colorWithCalibratedRed(float(i % 7) / 7, 0.4f, 0.6f));
        o->setDrawsFill(true);
        doc->insertObject(o, i, false);
    }
    doc->undoManager()->removeAllActions();
    return doc;
}

void BM_WriteDocument(benchmark::State &state)
{
    const auto doc = documentOf(int(state.range(0)));
    const bool textForm = state.range(1) != 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(doc->dataOfDocument(textForm));
    state.SetComplexityN(state.range(0));
}

void BM_ReadDocument(benchmark::State &state)
{
    const QByteArray data = documentOf(int(state.range(0)))->dataOfDocument(state.range(1) != 0);
    for (auto _ : state) {
        VekDocument doc;
        benchmark::DoNotOptimize(doc.readFromData(data, nullptr));
    }
    state.SetComplexityN(state.range(0));
}

// Sizes 1,000 and 10,000; form 0 the archive, 1 the text form.
void sizesAndForms(benchmark::internal::Benchmark *b)
{
    for (int form : {0, 1})
        for (int n : {1000, 10000})
            b->Args({n, form});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_WriteDocument)->Apply(sizesAndForms);
BENCHMARK(BM_ReadDocument)->Apply(sizesAndForms);

} // namespace
