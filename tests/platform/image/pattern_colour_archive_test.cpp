// Pattern colours in archives and colour lists: what is written reads back with the same
// tile, beside colours of the other kinds; damaged lists read as none.
#include "platform/color/color_list.h"
#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/archiving.h"
#include "platform/graphics/pattern_tile.h"
#include "platform/image/image_pattern.h"
#include "platform/image/image_pattern_coder.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

namespace {

QImage tileOf(const Color &color)
{
    const auto *tile = dynamic_cast<const PatternTile *>(color.patternImage().get());
    return tile ? tile->tileImage().convertToFormat(QImage::Format_ARGB32) : QImage();
}

class PatternColours : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureGuiApp();
        registerPatternColorCoders(ArchiveCoderRegistry::shared());
        QImage image(6, 4, QImage::Format_ARGB32);
        image.fill(Qt::white);
        image.setPixel(1, 2, qRgb(200, 10, 30));
        picture = image;
        pattern = Color::colorWithPatternImage(std::make_shared<ImagePatternTile>(Image(image)));
    }
    QImage picture;
    Color pattern;
};

TEST_F(PatternColours, APatternColourArchivesWithItsTile)
{
    const auto data = archivedDataWithRootObject(pattern);
    ASSERT_TRUE(data) << data.error.toStdString();
    const auto read = unarchiveColorWithData(*data.value);
    ASSERT_TRUE(read) << read.error.toStdString();
    EXPECT_EQ(read.value->kind(), Color::Kind::Pattern);
    EXPECT_EQ(tileOf(*read.value), picture);
    // A pattern colour without a tile cannot be written.
    EXPECT_FALSE(archivedDataWithRootObject(Color::colorWithPatternImage(nullptr)));
}

TEST_F(PatternColours, AColourListKeepsOrderNamesAndKinds)
{
    ColorList list{QStringLiteral("Mine"), {}};
    EXPECT_TRUE(list.add(QStringLiteral("Red"), Color::colorWithCalibratedRed(1, 0, 0, 1)));
    EXPECT_TRUE(list.add(QStringLiteral("Tiles"), pattern));
    EXPECT_FALSE(list.add(QStringLiteral("Red"), Color::blackColor()));
    EXPECT_TRUE(list.add(QStringLiteral("Ink"), Color::colorWithDeviceCyan(0.1f, 0.2f, 0.3f, 0.4f, 1)));
    const QByteArray data = colorListData(list);
    ASSERT_FALSE(data.isEmpty());
    const auto read = colorListWithData(data, QStringLiteral("Mine"));
    ASSERT_TRUE(read);
    ASSERT_EQ(read.value->colors.size(), 3u);
    EXPECT_EQ(read.value->colors[0], list.colors[0]);
    EXPECT_EQ(read.value->colors[1].first, QStringLiteral("Tiles"));
    EXPECT_EQ(tileOf(read.value->colors[1].second), picture);
    EXPECT_EQ(read.value->colors[2], list.colors[2]);

    EXPECT_FALSE(colorListWithData(QByteArray(), QStringLiteral("x")));
    EXPECT_FALSE(colorListWithData(data.left(data.size() / 2), QStringLiteral("x")));
    EXPECT_FALSE(colorListWithData(*archivedDataWithRootObject(PropertyList::fromString("x")).value, QStringLiteral("x")));
}

} // namespace
