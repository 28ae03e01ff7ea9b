// Laying out long texts (up to 100 pages, about 300,000 characters) into a chain of page
// containers; the time should grow linearly with the length.
#include "platform/text/layout_manager.h"

#include <QGuiApplication>

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

} // namespace

BENCHMARK(layoutPages)->Arg(30000)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
