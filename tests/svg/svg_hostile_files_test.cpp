// Hostile and large SVG files open within bounded memory or are refused with a clear
// message: `use` fan-out, comment floods, entity-expanded text, object floods. Each import
// runs in a child process whose peak memory is measured (and capped, so that a fault fails
// the test instead of the machine).
#include "tests/svg/svg_test_support.h"

#include "model/vek_obj_text.h"
#include "platform/foundation/address_space_limit.h"

#include <QTemporaryDir>

#include <iostream>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr qint64 MemoryGoal = 1024LL * 1024 * 1024;

struct Outcome {
    bool opened = false;
    int objects = 0;
    qint64 longestText = 0;
    QString message;   // the refusal, or the notes of an import that went ahead
    qint64 peakBytes = 0;
};

// The address space the process has mapped now.
qint64 mappedBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(0).toLongLong() * sysconf(_SC_PAGESIZE);
}

// Imports the file in a child process and reports what came of it and the child's peak
// resident memory. The child's address space is capped well above the goal, or, with
// `room`, at that much beyond what it has mapped when it starts.
Outcome importInChild(const QByteArray &svg, qint64 room = 0)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hostile.svg"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(svg);
    file.close();
    int channel[2];
    EXPECT_EQ(pipe(channel), 0);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const rlim_t limit = room > 0 ? rlim_t(mappedBytes() + room) : rlim_t(3 * MemoryGoal);
        limitAddressSpace(limit);
        QString error;
        QStringList notes;
        auto document = VekDocument::documentFromSVGFile(path, &error, &notes);
        QByteArray report;
        if (document) {
            qint64 longest = 0;
            for (const auto &object : document->objects())
                if (auto *text = dynamic_cast<VekObjText *>(object.get()))
                    longest = std::max<qint64>(longest, text->contents().text().length());
            report = "1\n" + QByteArray::number(qint64(document->objects().size())) + "\n"
                     + QByteArray::number(longest) + "\n" + notes.join(u' ').toUtf8();
        } else {
            report = "0\n0\n0\n" + error.toUtf8();
        }
        [[maybe_unused]] const auto written = write(channel[1], report.constData(), size_t(report.size()));
        _exit(0);
    }
    close(channel[1]);
    QByteArray report;
    char buffer[4096];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, n);
    close(channel[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the import aborted";
    Outcome outcome;
    const QList<QByteArray> lines = report.split('\n');
    if (lines.size() >= 4) {
        outcome.opened = lines[0] == "1";
        outcome.objects = lines[1].toInt();
        outcome.longestText = lines[2].toLongLong();
        outcome.message = QString::fromUtf8(report.mid(lines[0].size() + lines[1].size() + lines[2].size() + 3));
    }
    outcome.peakBytes = qint64(usage.ru_maxrss) * 1024;
    return outcome;
}

QByteArray svgOf(const QByteArray &content, const QByteArray &doctype = QByteArray())
{
    return doctype + "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
                     "width='200' height='200'>" + content + "</svg>";
}

struct HostileFile {
    const char *name;
    QByteArray (*svg)();
    bool opens;
    const char *message;   // a part of the refusal or note
    int objects;           // when it opens
};

const QByteArray megabyte(1024 * 1024, 'd');

const HostileFile hostileFiles[] = {
    // Descriptions are never copied into instances: 3,000 uses of a group holding 1 MB of
    // description (and of comment) copy one rectangle each.
    {"UseOfGroupWithLargeDescription",
     [] {
         return svgOf("<defs><g id='g'><desc>" + megabyte + "</desc><!--" + megabyte + "--><title>t</title>"
                      "<rect width='1' height='1'/></g></defs>" + QByteArray("<use xlink:href='#g'/>").repeated(3000));
     },
     true, "", 3000},
    // Instances copying more than the budget are refused, by elements and by bytes.
    {"UseFanOutByElements",
     [] {
         return svgOf("<defs><g id='g'>" + QByteArray("<rect width='1' height='1'/>").repeated(1000) + "</g></defs>"
                      + QByteArray("<use xlink:href='#g'/>").repeated(1000));
     },
     false, "use elements would copy more than", 0},
    {"UseFanOutByBytes",
     [] {
         return svgOf("<defs><path id='p' d='M0 0" + QByteArray(" L1 1").repeated(40000) + "'/></defs>"
                      + QByteArray("<use xlink:href='#p'/>").repeated(1000));
     },
     false, "use elements would copy more than", 0},
    // Nine levels of ten uses each.
    {"NestedUseBomb",
     [] {
         QByteArray bomb = "<defs><rect id='l0' width='1' height='1'/>";
         for (int level = 1; level <= 9; ++level)
             bomb += "<g id='l" + QByteArray::number(level) + "'>"
                     + QByteArray("<use xlink:href='#l" + QByteArray::number(level - 1) + "'/>").repeated(10) + "</g>";
         return svgOf(bomb + "</defs><use xlink:href='#l9'/>");
     },
     false, "use elements would copy more than", 0},
    // Nine megabytes of comments reserve nothing.
    {"CommentFlood",
     [] { return svgOf(QByteArray("<!-- a comment -->\n").repeated(9 * 1024 * 1024 / 19) + "<rect width='1' height='1'/>"); },
     true, "", 1},
    // An internal entity repeated into ten million characters of text is cut, and said so.
    {"EntityExpandedText",
     [] {
         return svgOf("<text x='10' y='20'>" + QByteArray("&big;").repeated(100) + "</text>",
                      "<!DOCTYPE svg [<!ENTITY big '" + QByteArray("lorem ipsum ").repeated(100000 / 12 + 1) + "'>]>");
     },
     true, "The text was cut to 1000000 characters", 1},
    // Nearly as many objects as an import makes, in a file of 8.5 MB; more are refused.
    {"LargeFileUnderTheObjectBound",
     [] { return svgOf(QByteArray("<path d='M0 0 L10 10 L20 0 Z' fill='red' stroke='blue'/>").repeated(149000)); },
     true, "", 149000},
    {"ObjectFlood", [] { return svgOf(QByteArray("<rect width='1' height='1'/>").repeated(300000)); }, false,
     "more than 150000 objects", 0},
};

class SvgHostileFiles : public testing::TestWithParam<HostileFile> {};

} // namespace

TEST_P(SvgHostileFiles, OpenBoundedOrRefusedClearly)
{
    ensureGuiApp();
    const HostileFile &c = GetParam();
    const QByteArray svg = c.svg();
    ASSERT_LT(svg.size(), 10 * 1024 * 1024);
    const Outcome outcome = importInChild(svg);
    EXPECT_LT(outcome.peakBytes, MemoryGoal) << outcome.peakBytes / (1024 * 1024) << " MB";
    EXPECT_EQ(outcome.opened, c.opens) << outcome.message.toStdString();
    EXPECT_TRUE(outcome.message.contains(QLatin1String(c.message))) << outcome.message.toStdString();
    if (c.opens) {
        EXPECT_EQ(outcome.objects, c.objects);
    }
    EXPECT_LE(outcome.longestText, 1000000);
    std::cout << c.name << ": " << outcome.peakBytes / (1024 * 1024) << " MB peak\n";
}

INSTANTIATE_TEST_SUITE_P(Files, SvgHostileFiles, testing::ValuesIn(hostileFiles),
                         [](const testing::TestParamInfo<HostileFile> &info) { return std::string(info.param.name); });

// Memory running out half-way through an import is a clear refusal, never an abort.
TEST(SvgHostileFilesMemory, RunningOutIsRefusedClearly)
{
    if (!AddressSpaceLimitApplies)
        GTEST_SKIP() << "memory cannot be capped under AddressSanitizer";
    ensureGuiApp();
    const QByteArray svg = svgOf(QByteArray("<path d='M0 0 L10 10 L20 0 Z' fill='red'/>").repeated(100000));
    const Outcome outcome = importInChild(svg, 150LL * 1024 * 1024);
    EXPECT_FALSE(outcome.opened);
    EXPECT_EQ(outcome.message, QString::fromLatin1(SvgOutOfMemoryMessage));
}

// Smaller bounds (the fuzz target keeps to them) refuse by the same rules, each naming its bound;
// within them the file imports whole.
TEST(SvgImportLimits, SmallerBoundsRefuseByTheSameRules)
{
    const QByteArray rect("<rect width='1' height='1'/>");
    const QByteArray sixRects = svgOf(rect.repeated(6));
    const QByteArray fanOut = svgOf("<defs><g id='g'>" + rect.repeated(3) + "</g></defs>"
                                    + QByteArray("<use xlink:href='#g'/>").repeated(2));
    const QByteArray nested = svgOf(QByteArray("<g>").repeated(5) + rect + QByteArray("</g>").repeated(5));
    struct Case {
        const char *name;
        QByteArray svg;
        SvgImportLimits limits;
        int objects;            // when imported
        const char *refusal;    // otherwise
    };
    const Case cases[] = {
        {"objects within", sixRects, {100, 32, 6, 100}, 6, ""},
        {"objects beyond", sixRects, {100, 32, 5, 100}, 0, "more than 5 objects"},
        // Each instance copies the group holding it, the referenced group and three rectangles.
        {"use copies within", fanOut, {100, 32, 100, 10}, 6, ""},
        {"use copies beyond", fanOut, {100, 32, 100, 9}, 0, "copy more than 9 elements"},
        // Files with more elements or deeper nesting than the bounds are refused whole.
        {"elements within", sixRects, {6, 32, 100, 100}, 6, ""},
        {"elements beyond", sixRects, {5, 32, 100, 100}, 0, "more than 5 elements"},
        {"depth within", nested, {100, 6, 100, 100}, 1, ""},
        {"depth beyond", nested, {100, 5, 100, 100}, 0, "more than 5 deep"},
    };
    for (const Case &c : cases) {
        const auto result = svgPropertyListFromData(c.svg, QString(), c.limits);
        ASSERT_TRUE(result) << c.name;
        EXPECT_EQ(int(result->objectInfos.size()), c.objects) << c.name;
        EXPECT_TRUE(result->refusal.contains(QLatin1String(c.refusal))) << c.name << ": " << result->refusal.toStdString();
        EXPECT_EQ(result->refusal.isEmpty(), c.objects > 0 || !*c.refusal) << c.name;
    }
}
