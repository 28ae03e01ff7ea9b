// Reading the command line: which action, how --export pairs with the inputs, the options'
// checks, and page lists with ranges.
#include "app/command_line/batch_export.h"
#include "app/command_line/command_line_options.h"

#include <gtest/gtest.h>

namespace {

using Action = CommandLineOptions::Action;

QStringList split(const char *arguments)
{
    return QString::fromUtf8(arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

TEST(CommandLineOptions, ChoosesTheAction)
{
    struct Case {
        const char *arguments;
        Action action;
    } cases[] = {
        {"", Action::OpenFiles},
        {"a.vek b.svg", Action::OpenFiles},
        {"--help", Action::Help},
        {"a.vek -h", Action::Help},
        {"--version", Action::Version},
        {"--export a.pdf a.vek", Action::Export},
        {"--export=a.pdf a.vek", Action::Export},
        {"a.vek --export a.pdf --dpi 300", Action::Export},
        {"--export a.pdf", Action::Invalid},                        // no input
        {"--export a.pdf x.vek y.vek", Action::Invalid},            // an input without output
        {"--export", Action::Invalid},
        {"--dpi 300 a.vek", Action::Invalid},                       // an export option alone
        {"--export a.png a.vek --dpi 0", Action::Invalid},
        {"--export a.png a.vek --dpi x", Action::Invalid},
        {"--export a.png a.vek --width -3", Action::Invalid},
        {"--export a.png a.vek --area all", Action::Invalid},
        {"--export a.png a.vek --pages", Action::Invalid},
        {"--frobnicate", Action::Invalid},
    };
    for (const Case &c : cases) {
        const CommandLineOptions options = parseCommandLine(split(c.arguments));
        EXPECT_EQ(options.action, c.action) << c.arguments;
        EXPECT_EQ(options.error.isEmpty(), c.action != Action::Invalid) << c.arguments;
    }
}

TEST(CommandLineOptions, PairsEachExportWithItsInputAndKeepsTheOptions)
{
    const CommandLineOptions options = parseCommandLine(
        split("--export a.pdf one.vek --export b.png --width 640 two.svg --pages 1,3-4 --area drawing --dpi 150"));
    ASSERT_EQ(options.action, Action::Export);
    ASSERT_EQ(options.jobs.size(), 2u);
    EXPECT_EQ(options.jobs[0].output, QStringLiteral("a.pdf"));
    EXPECT_EQ(options.jobs[0].input, QStringLiteral("one.vek"));
    EXPECT_EQ(options.jobs[1].output, QStringLiteral("b.png"));
    EXPECT_EQ(options.jobs[1].input, QStringLiteral("two.svg"));
    EXPECT_EQ(options.width, 640);
    EXPECT_EQ(options.dpi, 150);
    EXPECT_EQ(options.pages, QStringLiteral("1,3-4"));
    EXPECT_TRUE(options.drawingArea);
    EXPECT_TRUE(options.files.isEmpty());
}

TEST(CommandLineOptions, FilesAfterDoubleDashAreFiles)
{
    const CommandLineOptions options = parseCommandLine({QStringLiteral("--"), QStringLiteral("--export")});
    EXPECT_EQ(options.action, Action::OpenFiles);
    EXPECT_EQ(options.files, QStringList{QStringLiteral("--export")});
}

TEST(CommandLineOptions, PageListsWithRanges)
{
    struct Case {
        const char *list;
        std::optional<std::vector<int>> pages;
    } cases[] = {
        {"1", std::vector<int>{1}},
        {"3,1", std::vector<int>{3, 1}},
        {"2-4", std::vector<int>{2, 3, 4}},
        {"1, 4-5,1", std::vector<int>{1, 4, 5, 1}},
        {"0", std::nullopt},
        {"6", std::nullopt},
        {"4-2", std::nullopt},
        {"1-9", std::nullopt},
        {"1-2-3", std::nullopt},
        {"a", std::nullopt},
        {"1,", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(pagesFromRangeList(QString::fromUtf8(c.list), 5), c.pages) << c.list;
}

} // namespace
