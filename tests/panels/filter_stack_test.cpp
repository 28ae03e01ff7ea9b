// The filter stack: the entries recorded of the filters that ran, their outline, and the
// saved stack files.
#include "panels/filters/filter_runner.h"
#include "panels/filters/filter_stack.h"
#include "panels/filters/filter_stack_files.h"
#include "panels/filters/filter_stack_model.h"
#include "panels/filters/filter_types.h"
#include "platform/foundation/plist_xml_format.h"
#include "platform/graphics/parallel_rows.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QImage picture()
{
    QImage image(40, 30, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(200, 40, 40));
    return image;
}

PropertyList entryOf(int type, std::vector<float> sliders, Point center = Point(20, 15))
{
    const auto output = outputImageOf(picture(), {type, std::move(sliders), center});
    return output ? output->entry : PropertyList();
}

PropertyList stackOf(std::initializer_list<PropertyList> entries)
{
    PropertyList stack = PropertyList::array();
    for (const PropertyList &entry : entries)
        stack.append(entry);
    return stack;
}

// The support folder in a private data home.
class SavedStacks : public ::testing::Test {
protected:
    void SetUp() override { qputenv("XDG_DATA_HOME", home.path().toLocal8Bit()); }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }
    QString folder() const { return home.filePath(QStringLiteral("Vekanto/filters")); }
    QTemporaryDir home;
    const PropertyList stack = stackOf({entryOf(4, {2.5f, 0.5f}), entryOf(29, {8}, Point(12, 7))});
};

} // namespace

TEST(FilterStack, EntriesKeepTheParametersTheUserSetAndNothingElse)
{
    ensureWidgetApp();
    struct Case {
        int type;
        std::vector<float> sliders;
        QString name;
        PropertyList parameters;
    };
    const auto dict = [](std::initializer_list<std::pair<const char *, PropertyList>> items) {
        PropertyList d = PropertyList::dictionary();
        for (const auto &[key, value] : items)
            d.insert(QString::fromLatin1(key), value);
        return d;
    };
    const Case cases[] = {
        {4, {2.5f, 0.5f}, "CIUnsharpMask",
         dict({{"inputRadius", PropertyList::fromFloat(2.5f)}, {"inputIntensity", PropertyList::fromFloat(0.5f)}})},
        // The tint is kept as its brightness, never as a colour.
        {10, {0.25f, 0.75f}, "CIColorMonochrome",
         dict({{"inputBrightness", PropertyList::fromFloat(0.25f)}, {"inputIntensity", PropertyList::fromFloat(0.75f)}})},
        // Neither the light's vectors nor its colour.
        {31, {3, 0.1f}, "CISpotLight",
         dict({{"inputBrightness", PropertyList::fromFloat(3)}, {"inputConcentration", PropertyList::fromFloat(0.1f)}})},
        {29, {8}, "CIPixellate",
         dict({{"inputScale", PropertyList::fromFloat(8)}, {"inputCenter", PropertyList(QStringLiteral("{20, 15}"))}})},
        {21, {6, 0, 0.7f}, "CICMYKHalftone",
         dict({{"inputWidth", PropertyList::fromFloat(6)}, {"inputAngle", PropertyList::fromFloat(0)},
               {"inputSharpness", PropertyList::fromFloat(0.7f)}, {"inputCenter", PropertyList(QStringLiteral("{20, 15}"))},
               {"inputGCR", PropertyList::fromFloat(1)}, {"inputUCR", PropertyList::fromFloat(0.5f)}})},
        // The corners are vectors the stack does not keep.
        {19, {}, "CIPerspectiveTransform", PropertyList::dictionary()},
        // The shaded material's blend over the source is not a filter of the stack.
        {32, {10}, "CIShadedMaterial", dict({{"inputScale", PropertyList::fromFloat(10)}})},
        {28, {10}, "CIHeightFieldFromMask", dict({{"inputRadius", PropertyList::fromFloat(10)}})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        const PropertyList entry = entryOf(c.type, c.sliders);
        EXPECT_EQ(filterNameOfEntry(entry), c.name);
        EXPECT_EQ(parametersOfEntry(entry), c.parameters)
            << xmlPropertyListData(parametersOfEntry(entry)).toStdString();
        EXPECT_EQ(filterTypeFor(filterNameOfEntry(entry)), c.type);
    }
}

TEST(FilterStack, TheRunnerGivesTheFiltersExtentAndRefusesUnknownTypes)
{
    ensureWidgetApp();
    EXPECT_FALSE(lightballImage().isNull());
    // The blur's extent is the picture grown by 3 x its radius on every side; a warp's is
    // the picture's own.
    const auto blurred = outputImageOf(picture(), {0, {10}, Point(20, 15)});
    ASSERT_TRUE(blurred);
    EXPECT_EQ(blurred->margin, 30);
    EXPECT_EQ(blurred->image.size(), QSize(100, 90));
    const auto twirled = outputImageOf(picture(), {18, {300, 3.14f}, Point(20, 15)});
    ASSERT_TRUE(twirled);
    EXPECT_EQ(twirled->margin, 0);
    EXPECT_EQ(twirled->image.size(), QSize(40, 30));
    EXPECT_FALSE(outputImageOf(picture(), {37, {}, Point(0, 0)}));
    EXPECT_FALSE(outputImageOf(QImage(), {0, {10}, Point(0, 0)}));
}

TEST(FilterStack, TheRunnerKnowsThePassesOfEveryTypeAheadAndStopsBetweenSteps)
{
    ensureWidgetApp();
    QImage photo(300, 200, QImage::Format_ARGB32_Premultiplied);
    photo.fill(QColor(30, 160, 90));
    for (int type = 0; type < filterTypeCount; ++type) {
        SCOPED_TRACE(type);
        RowWork work;
        const auto outputs = runFilterSteps(photo, {{type, sliderValuesFor(type, {}), Point(150, 100)}}, work);
        ASSERT_EQ(outputs.size(), 1u);
        EXPECT_TRUE(outputs[0]);
        // Counted on a small picture, the passes are those the picture took: the progress
        // ends at its end. (The perspective transform is one drawing of Qt's, no pass.)
        EXPECT_EQ(work.passesMade(), work.passesExpected());
        EXPECT_EQ(work.passesMade() > 0, type != 19);
        if (type != 19) {
            EXPECT_DOUBLE_EQ(work.fractionDone(), 1.0);
        }
    }
    // Asked to stop, a run gives nothing for the steps it did not finish.
    RowWork stopped;
    stopped.requestStop();
    const auto outputs = runFilterSteps(photo, {{9, {}, Point()}, {0, {10}, Point()}}, stopped);
    ASSERT_EQ(outputs.size(), 2u);
    EXPECT_FALSE(outputs[0]);
    EXPECT_FALSE(outputs[1]);
}

TEST(FilterStack, TheOutlineCountsFiltersAndParameters)
{
    EXPECT_EQ(filterCountTitle(0), QStringLiteral("0 Filter"));
    EXPECT_EQ(filterCountTitle(1), QStringLiteral("1 Filter"));
    EXPECT_EQ(filterCountTitle(2), QStringLiteral("2 Filters"));
    EXPECT_EQ(parameterCountTitle(1), QStringLiteral("1 parameter"));
    EXPECT_EQ(parameterCountTitle(3), QStringLiteral("3 parameters"));

    ensureWidgetApp();
    FilterStackModel model;
    model.setStack(stackOf({entryOf(4, {2.5f, 0.5f}), entryOf(9, {})}));
    ASSERT_EQ(model.rowCount(), 1);
    const QModelIndex stack = model.index(0, 0);
    EXPECT_EQ(model.data(stack).toString(), QStringLiteral("2 Filters"));
    ASSERT_EQ(model.rowCount(stack), 2);
    const QModelIndex unsharp = model.index(0, 0, stack);
    EXPECT_EQ(model.data(unsharp).toString(), QStringLiteral("CIUnsharpMask"));
    const QModelIndex parameters = model.index(0, 0, unsharp);
    EXPECT_EQ(model.data(parameters).toString(), QStringLiteral("2 parameters"));
    EXPECT_EQ(model.parent(model.index(1, 0, parameters)), parameters);
    EXPECT_EQ(model.data(model.index(1, 0, parameters)).toString(), QStringLiteral("inputIntensity"));
    EXPECT_EQ(model.data(model.index(1, 1, parameters)).toString(), QStringLiteral("0.5"));
    EXPECT_EQ(model.parent(parameters), unsharp);
    EXPECT_EQ(model.parent(unsharp), stack);
    // The invert filter has no parameters to open.
    EXPECT_EQ(model.rowCount(model.index(0, 0, model.index(1, 0, stack))), 0);
}

TEST_F(SavedStacks, SavingTheSameNameNumbersTheFilesAndTheyReadBack)
{
    ensureWidgetApp();
    EXPECT_EQ(saveFilterStack(stack, QStringLiteral("Soft")), folder() + QStringLiteral("/Soft.plist"));
    EXPECT_EQ(saveFilterStack(stack, QStringLiteral("Soft")), folder() + QStringLiteral("/Soft_1.plist"));
    EXPECT_EQ(saveFilterStack(stack, QStringLiteral("Soft")), folder() + QStringLiteral("/Soft_2.plist"));
    EXPECT_EQ(readFilterStack(folder() + QStringLiteral("/Soft_1.plist")), stack);
    ASSERT_TRUE(QDir().mkpath(folder() + QStringLiteral("/More")));
    ASSERT_FALSE(saveFilterStack(stack, QStringLiteral("Other")).isEmpty());
    QFile::rename(folder() + QStringLiteral("/Other.plist"), folder() + QStringLiteral("/More/Deep.plist"));
    QStringList titles;
    for (const SavedFilterStack &saved : readinSavedFilters())
        titles << saved.title;
    EXPECT_EQ(titles, (QStringList{"More/Deep", "Soft", "Soft_1", "Soft_2"})) << titles.join(' ').toStdString();
    // A name never leaves the folder or hides its file.
    EXPECT_EQ(saveFilterStack(stack, QStringLiteral("../../Away")), folder() + QStringLiteral("/-..-Away.plist"));
    EXPECT_EQ(saveFilterStack(stack, QStringLiteral("..")), QString());
    EXPECT_FALSE(readFilterStack(folder() + QStringLiteral("/Missing.plist")));
}

TEST_F(SavedStacks, RenamingMovesTheFileOrSavesTheCurrentStackWhenItVanished)
{
    ensureWidgetApp();
    const QString soft = saveFilterStack(stack, QStringLiteral("Soft"));
    EXPECT_EQ(renameSavedFilterStack(soft, QStringLiteral("Soft"), stack), QString());
    const QString sharp = renameSavedFilterStack(soft, QStringLiteral("Sharp"), PropertyList::array());
    EXPECT_EQ(sharp, folder() + QStringLiteral("/Sharp.plist"));
    EXPECT_FALSE(QFile::exists(soft));
    EXPECT_EQ(readFilterStack(sharp), stack);
    // The file has gone: the current stack is saved under the new name, if it has entries.
    QFile::remove(sharp);
    EXPECT_EQ(renameSavedFilterStack(sharp, QStringLiteral("Gone"), PropertyList::array()), QString());
    const PropertyList current = stackOf({entryOf(9, {})});
    EXPECT_EQ(readFilterStack(renameSavedFilterStack(sharp, QStringLiteral("Gone"), current)), current);
}

TEST_F(SavedStacks, NoSupportFolderListsNothingAndSavesNothing)
{
    QFile blocker(home.filePath(QStringLiteral("Vekanto")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_TRUE(readinSavedFilters().empty());
    EXPECT_EQ(saveFilterStack(stack, QStringLiteral("Soft")), QString());
}
