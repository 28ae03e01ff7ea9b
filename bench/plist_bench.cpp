// Timing of writing and reading a document dictionary in the text and XML property-list forms;
// each should grow linearly with the number of object dictionaries (10,000 make ~10 MB).
#include "platform/foundation/c_locale.h"
#include "platform/foundation/plist_text_format.h"
#include "platform/foundation/plist_xml_format.h"

#include "bench/sample_document.h"

#include <benchmark/benchmark.h>

namespace {

// One drawing object's dictionary: ~15 keys of strings, numbers and data, about 1 KB as text.
PropertyList objectDictionary(int i)
{
    PropertyList o;
    o.insert("class", i % 3 ? "VekObjPath" : "VekObjText");
    o.insert("bounds", PropertyList::fromRect({float(i % 500), float(i), 120.5f, 80.25f}));
    o.insert("repeatType", PropertyList::fromInt(0));
    o.insert("repeatStart", PropertyList::fromInt(1));
    o.insert("repeatEnd", PropertyList::fromInt(0));
    o.insert("note", QStringLiteral("Object number %1, with a note of some length: Zoë").arg(i));
    o.insert("groupID", QStringLiteral("g%1").arg(i / 10));
    o.insert("groupWithNext", "NO");
    o.insert("simpleClip", "YES");
    o.insert("fill", "YES");
    o.insert("fillRule", PropertyList::fromInt(1));
    o.insert("fillAlpha", PropertyList::fromFloat(0.75f));
    o.insert("fillColor", formatC("%f,%f,%f,%f,%f", 0.1, 0.2, 0.3, 0.0, 1.0));
    o.insert("rotation", formatFixed(i % 360, 2));
    QByteArray path(320, '\0');
    for (int b = 0; b < path.size(); ++b)
        path[b] = char((i * 31 + b * 7) & 0xff);
    o.insert("path", PropertyList::fromData(path));
    return o;
}

void BM_TextWrite(benchmark::State &state)
{
    const PropertyList doc = sampleDocument(int(state.range(0)), objectDictionary);
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray text = textPropertyListData(doc);
        bytes = text.size();
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.SetComplexityN(state.range(0));
}

void BM_TextRead(benchmark::State &state)
{
    const QByteArray text = textPropertyListData(sampleDocument(int(state.range(0)), objectDictionary));
    for (auto _ : state)
        benchmark::DoNotOptimize(propertyListFromText(text));
    state.SetBytesProcessed(state.iterations() * text.size());
    state.SetComplexityN(state.range(0));
}

void BM_XmlWrite(benchmark::State &state)
{
    const PropertyList doc = sampleDocument(int(state.range(0)), objectDictionary);
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray xml = xmlPropertyListData(doc);
        bytes = xml.size();
        benchmark::DoNotOptimize(xml.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.SetComplexityN(state.range(0));
}

void BM_XmlRead(benchmark::State &state)
{
    const QByteArray xml = xmlPropertyListData(sampleDocument(int(state.range(0)), objectDictionary));
    for (auto _ : state)
        benchmark::DoNotOptimize(propertyListFromXml(xml));
    state.SetBytesProcessed(state.iterations() * xml.size());
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(BM_TextWrite)->RangeMultiplier(2)->Range(1250, 10000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextRead)->RangeMultiplier(2)->Range(1250, 10000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlWrite)->RangeMultiplier(2)->Range(1250, 10000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlRead)->RangeMultiplier(2)->Range(1250, 10000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
