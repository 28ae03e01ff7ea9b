// A document of linked text boxes holding two pages of text each, for the benchmarks of
// flowing, typing and drawing a chain.
#pragma once

#include "model/vek_obj_text.h"
#include "platform/text/layout_manager.h"
#include "tests/model/fakes.h"

#include <QFile>
#include <QGuiApplication>

#include <memory>
#include <vector>

inline void ensureBenchmarkApp()
{
    static int argc = 1;
    static char name[] = "text_bench";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = QGuiApplication::instance() ? nullptr : new QGuiApplication(argc, argv);
    (void)app;
}

// The machine's load average over one minute, printed beside timings.
inline double loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readLine().split(' ').value(0).toDouble() : 0;
}

// Sentences in 11-point serif, six to a paragraph, a bold stretch every thousand characters.
inline AttributedString benchmarkText(int length)
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

// Lays the text out once across the containers; answers the first character left over.
inline int layOutOnce(const AttributedString &text, const std::vector<std::unique_ptr<TextContainer>> &containers)
{
    LayoutManager layout;
    for (const auto &c : containers)
        layout.addTextContainer(c.get());
    layout.setAttributedString(text);
    const int unlaid = layout.firstUnlaidCharacterIndex();
    for (const auto &c : containers)
        layout.removeTextContainer(c.get());
    return unlaid;
}

// About two pages of 11-point text in a box.
inline constexpr int CharactersPerBox = 6000;
inline constexpr Size ChainBoxSize{450, 1300};

// Linked boxes, each two pages high across a page boundary, with the whole text in the
// first box (not yet flowed).
struct LinkedTextChain {
    FakeDocument document;
    std::vector<std::shared_ptr<VekObjText>> boxes;

    explicit LinkedTextChain(int length)
    {
        ensureBenchmarkApp();
        document.pages = document.canvas.pages = 2 * length;
        document.undo.setLevelsOfUndo(50);
        for (int i = 0; i < length; ++i) {
            auto box = VekObjText::create();
            document.adopt(box);
            box->setBounds(Rect({70, 1600 * float(i) + 50}, ChainBoxSize));
            box->setContents(AttributedString());
            box->setGroupWithNext(i + 1 < length);
            boxes.push_back(box);
        }
        boxes.front()->setContents(benchmarkText(CharactersPerBox * length));
    }
    // Flows the chain from its first box: every box takes what fits, the last the rest.
    void flow()
    {
        boxes.front()->controlConnection();
        document.undo.removeAllActions();
    }
    ~LinkedTextChain()
    {
        if (auto edited = document.canvas.editingObject())
            edited->editing()->endEditingInView(&document.canvas);
    }
};
