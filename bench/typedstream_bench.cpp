// Timing of archiving and unarchiving a document dictionary as a typedstream; both should
// grow linearly with the number of object dictionaries (10,000 make ~10 MB).
#include "platform/color/color.h"
#include "platform/foundation/archiving.h"
#include "platform/geometry/bezier_path.h"

#include "bench/sample_document.h"

#include <benchmark/benchmark.h>

namespace {

// One drawing object's dictionary as documents hold it: strings, numbers, a rect, an
// archived colour and an archived path of 30 elements, about 1 KB archived.
PropertyList objectDictionary(int i)
{
    BezierPath path;
    path.moveToPoint({float(i % 500), float(i)});
    for (int e = 0; e < 29; ++e)
        path.curveToPoint({float(e) + 0.5f, float(i) + 1.25f}, {float(e) + 0.1f, 2.2f}, {float(e) + 0.3f, 3.3f});
    PropertyList o;
    o.insert("class", i % 3 ? "VekObjPath" : "VekObjText");
    o.insert("bounds", PropertyList::fromRect({float(i % 500), float(i), 120.5f, 80.25f}));
    o.insert("repeatType", PropertyList::fromInt(0));
    o.insert("repeatStart", PropertyList::fromInt(1));
    o.insert("note", QStringLiteral("Object number %1, with a note of some length: Zoë").arg(i));
    o.insert("groupID", QStringLiteral("g%1").arg(i / 10));
    o.insert("simpleClip", "YES");
    o.insert("fillAlpha", PropertyList::fromFloat(0.75f));
    o.insert("gradCenter", PropertyList::fromPoint({0.5f, 0.25f}));
    o.insert("fillColor", PropertyList::fromData(*archivedDataWithRootObject(Color::colorWithCalibratedRed(0.1f, 0.2f, float(i % 7) / 7, 1)).value));
    o.insert("path", PropertyList::fromData(*archivedDataWithRootObject(path).value));
    return o;
}

void BM_TypedStreamEncode(benchmark::State &state)
{
    const PropertyList doc = sampleDocument(int(state.range(0)), objectDictionary);
    qsizetype bytes = 0;
    for (auto _ : state) {
        auto data = archivedDataWithRootObject(doc);
        bytes = data.value->size();
        benchmark::DoNotOptimize(data.value->constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.SetComplexityN(state.range(0));
}

void BM_TypedStreamDecode(benchmark::State &state)
{
    const QByteArray data = *archivedDataWithRootObject(sampleDocument(int(state.range(0)), objectDictionary)).value;
    for (auto _ : state) {
        auto doc = unarchivePropertyListWithData(data);
        if (!doc)
            state.SkipWithError(qPrintable(doc.error));
        benchmark::DoNotOptimize(doc.value->count());
    }
    state.SetBytesProcessed(state.iterations() * data.size());
    state.SetComplexityN(state.range(0));
}

}   // namespace

BENCHMARK(BM_TypedStreamEncode)->RangeMultiplier(4)->Range(625, 10000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypedStreamDecode)->RangeMultiplier(4)->Range(625, 10000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
