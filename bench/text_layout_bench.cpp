// Laying out long texts: a chain of page containers (up to 100 pages, about 300,000
// characters), and drawing a chain of linked boxes that holds two pages of text per box
// (200 pages in 100 boxes) at 25, 50 and 100 boxes, with its growth with the chain's length
// (ideally linear). Flowing and typing into a chain are in text_flow_bench.cpp.
//
// Drawing a page of text into an image (the screen path) is set beside its peer,
// QTextDocument drawing the same text in the same fonts, timed in the same iterations one
// after the other: "drawPageOfText" draws text already laid out (ms per page, the peer's ms,
// their ratio), "layOutAndDrawTextBox" a text box that lays its text out and draws it
// against a new QTextDocument laid out and drawn; "load" is the machine's load average.
#include "bench/linked_text_chain.h"
#include "platform/graphics/graphics_context.h"
#include "platform/text/font_registry.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

void layoutPages(benchmark::State &state)
{
    ensureBenchmarkApp();
    int length = int(state.range(0));
    AttributedString text = benchmarkText(length);
    std::vector<std::unique_ptr<TextContainer>> pages;
    for (int i = 0; i < length / 1500 + 10; ++i)
        pages.push_back(std::make_unique<TextContainer>(Size{450, 650}));
    for (auto _ : state)
        benchmark::DoNotOptimize(layOutOnce(text, pages));
    state.SetComplexityN(length);
}

void drawLinkedBoxes(benchmark::State &state)
{
    const int length = int(state.range(0));
    LinkedTextChain chain(length);
    chain.flow();
    QImage page(450, 1300, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        for (const auto &box : chain.boxes) {
            page.fill(Qt::white);
            GraphicsContext context(page);
            GraphicsContext::Scope scope(context);
            AffineTransform toBox;
            toBox.translateXBy(-box->bounds().minX(), -box->bounds().minY());
            context.concat(toBox);
            box->drawInViewIsSelected(nullptr, false);
        }
    }
    state.SetComplexityN(length);
    state.counters["pages"] = 2.0 * length;
}

// About a page of the benchmark text in a page-sized box.
constexpr int PageCharacters = 3500;
constexpr Size PageSize{450, 650};

// The peer: the same text and fonts in a QTextDocument laid out at 72 dpi, like ours.
std::unique_ptr<QTextDocument> peerDocument(const AttributedString &text)
{
    auto document = std::make_unique<QTextDocument>();
    document->documentLayout()->setPaintDevice(layoutPaintDevice());
    document->setDocumentMargin(0);
    document->setDefaultFont(qFont(*text.attributesAt(0).font));
    document->setPlainText(text.string());
    QTextCursor cursor(document.get());
    for (const TextRun &run : text.runs()) {
        QTextCharFormat format;
        format.setFont(qFont(*run.attributes.font));
        cursor.setPosition(run.range.location);
        cursor.setPosition(run.range.end(), QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
    document->setTextWidth(PageSize.width);
    return document;
}

double millisecondsOf(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

void reportAgainstPeer(benchmark::State &state, double oursMs, double peerMs)
{
    const double n = double(state.iterations());
    state.counters["ms_per_page"] = oursMs / n;
    state.counters["peer_ms"] = peerMs / n;
    state.counters["ratio"] = peerMs > 0 ? oursMs / peerMs : 0;
    state.counters["load"] = loadAverage();
}

void drawPageOfText(benchmark::State &state)
{
    ensureBenchmarkApp();
    const AttributedString text = benchmarkText(PageCharacters);
    LayoutManager layout;
    TextContainer container(PageSize);
    layout.addTextContainer(&container);
    layout.setAttributedString(text);
    const TextRange glyphs = layout.glyphRangeForTextContainer(&container);
    const auto peer = peerDocument(text);
    peer->documentLayout()->documentSize();   // laid out before timing, like ours
    QImage page(int(PageSize.width), int(PageSize.height), QImage::Format_ARGB32_Premultiplied);
    double oursMs = 0, peerMs = 0;
    for (auto _ : state) {
        page.fill(Qt::white);
        oursMs += millisecondsOf([&] {
            GraphicsContext context(page);
            GraphicsContext::Scope scope(context);
            layout.drawGlyphsForGlyphRange(glyphs, {0, 0});
        });
        page.fill(Qt::white);
        peerMs += millisecondsOf([&] {
            QPainter painter(&page);
            peer->drawContents(&painter);
        });
    }
    layout.removeTextContainer(&container);
    reportAgainstPeer(state, oursMs, peerMs);
}

void layOutAndDrawTextBox(benchmark::State &state)
{
    ensureBenchmarkApp();
    const AttributedString text = benchmarkText(PageCharacters);
    auto box = VekObjText::create();
    box->setBounds(Rect({0, 0}, PageSize));
    box->setContents(text);
    QImage page(int(PageSize.width), int(PageSize.height), QImage::Format_ARGB32_Premultiplied);
    double oursMs = 0, peerMs = 0;
    for (auto _ : state) {
        page.fill(Qt::white);
        oursMs += millisecondsOf([&] {
            GraphicsContext context(page);
            GraphicsContext::Scope scope(context);
            box->drawInViewIsSelected(nullptr, false);
        });
        page.fill(Qt::white);
        peerMs += millisecondsOf([&] {
            const auto peer = peerDocument(text);
            QPainter painter(&page);
            peer->drawContents(&painter);
        });
    }
    reportAgainstPeer(state, oursMs, peerMs);
}

} // namespace

BENCHMARK(drawPageOfText)->Unit(benchmark::kMillisecond);
BENCHMARK(layOutAndDrawTextBox)->Unit(benchmark::kMillisecond);
BENCHMARK(layoutPages)->Arg(30000)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(drawLinkedBoxes)->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
