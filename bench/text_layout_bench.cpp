// Laying out long texts: a chain of page containers (up to 100 pages, about 300,000
// characters), and the text boxes of a document: flowing and drawing a chain of linked
// boxes that holds two pages of text per box (200 pages in 100 boxes), and typing at the
// start of the first box. The chain benchmarks run at 25, 50 and 100 boxes and report their
// growth with the chain's length (ideally linear for flowing and drawing, flat for typing).
#include "model/text/vek_text_view.h"
#include "model/vek_obj_text.h"
#include "platform/graphics/graphics_context.h"
#include "platform/text/layout_manager.h"
#include "tests/model/fakes.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

void ensureApp()
{
    static int argc = 1;
    static char name[] = "text_layout_bench";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = QGuiApplication::instance() ? nullptr : new QGuiApplication(argc, argv);
    (void)app;
}

AttributedString makeText(int length)
{
    static const QString sentence = QStringLiteral(
        "The quick brown fox jumps over the lazy dog while the typesetter keeps counting lines. ");
    QString s;
    s.reserve(length + sentence.size());
    int n = 0;
    while (s.size() < length) {
        s += sentence;
        if (++n % 6 == 0)
            s += u'\n';
    }
    s.truncate(length);
    TextAttributes a;
    a.font = Font{QStringLiteral("DejaVuSerif"), 11};
    a.paragraphStyle = ParagraphStyle{};
    AttributedString text(s, a);
    TextAttributes bold;
    bold.font = Font{QStringLiteral("DejaVuSerif-Bold"), 11};
    for (int i = 0; i + 40 < length; i += 997)
        text.addAttributes(bold, {i, 30});
    return text;
}

void layoutPages(benchmark::State &state)
{
    ensureApp();
    int length = int(state.range(0));
    AttributedString text = makeText(length);
    std::vector<std::unique_ptr<TextContainer>> pages;
    for (int i = 0; i < length / 1500 + 10; ++i)
        pages.push_back(std::make_unique<TextContainer>(Size{450, 650}));
    for (auto _ : state) {
        LayoutManager lm;
        for (auto &p : pages)
            lm.addTextContainer(p.get());
        lm.setAttributedString(text);
        benchmark::DoNotOptimize(lm.firstUnlaidCharacterIndex());
        for (auto &p : pages)
            lm.removeTextContainer(p.get());
    }
    state.SetComplexityN(length);
}

// About two pages of 11-point text in a 450 x 1300 box.
constexpr int CharactersPerBox = 6000;

// A document of linked text boxes, each two pages high across a page boundary, with the
// whole text in the first box (not yet flowed).
struct Chain {
    FakeDocument document;
    std::vector<std::shared_ptr<VekObjText>> boxes;

    explicit Chain(int length)
    {
        ensureApp();
        document.pages = document.canvas.pages = 2 * length;
        document.undo.setLevelsOfUndo(50);
        for (int i = 0; i < length; ++i) {
            auto box = VekObjText::create();
            document.adopt(box);
            box->setBounds(Rect(70, 1600 * float(i) + 50, 450, 1300));
            box->setContents(AttributedString());
            box->setGroupWithNext(i + 1 < length);
            boxes.push_back(box);
        }
        boxes.front()->setContents(makeText(CharactersPerBox * length));
    }
    // Every box passes what does not fit on to the next.
    void flow()
    {
        for (auto &box : boxes)
            box->controlConnection();
        document.undo.removeAllActions();
    }
    ~Chain()
    {
        if (auto edited = document.canvas.editingObject())
            edited->editing()->endEditingInView(&document.canvas);
    }
};

void flowLinkedBoxes(benchmark::State &state)
{
    const int length = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Chain chain(length);
        state.ResumeTiming();
        chain.flow();
        benchmark::DoNotOptimize(chain.boxes.back()->contents().length());
    }
    state.SetComplexityN(length);
    state.counters["pages"] = 2.0 * length;
}

void drawLinkedBoxes(benchmark::State &state)
{
    const int length = int(state.range(0));
    Chain chain(length);
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

// One character typed and taken away again at the start of the first box, as the editor
// receives them, each its own undo step; the time is per keystroke.
void typeAtTheStartOfTheChain(benchmark::State &state)
{
    const int length = int(state.range(0));
    Chain chain(length);
    chain.flow();
    VekObjText &first = *chain.boxes.front();
    first.startEditingWithEvent(MouseEvent{}, &chain.document.canvas);
    VekTextView &editor = *first.editor();
    editor.setSelectedRange({0, 0});
    for (auto _ : state) {
        editor.keyDown(KeyInput{0, 0, QStringLiteral("x")});
        chain.document.undo.closeEventGroup();
        editor.keyDown(KeyInput{Qt::Key_Backspace, 0, {}});
        chain.document.undo.closeEventGroup();
    }
    state.SetItemsProcessed(2 * state.iterations());
    state.SetComplexityN(length);
}

} // namespace

BENCHMARK(layoutPages)->Arg(30000)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(flowLinkedBoxes)->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(drawLinkedBoxes)->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(typeAtTheStartOfTheChain)->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oAuto);
