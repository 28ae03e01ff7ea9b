// Colour-list files: the platform's layout written and read (every archived colour space,
// names beyond ASCII, empty and long lists), lists in our earlier layout still read, and
// damaged lists refused whole with a reason.
#include "platform/color/color_list.h"
#include "platform/foundation/archiver.h"

#include <gtest/gtest.h>

namespace {

ColorList sampleList(int count)
{
    const Color kinds[] = {
        Color::colorWithCalibratedRed(1, 0.5f, 0.25f, 0.75f),
        Color::colorWithDeviceRed(0.1f, 0.2f, 0.3f),
        Color::colorWithCalibratedWhite(0.4f, 0.5f),
        Color::colorWithDeviceWhite(0.6f),
        Color::colorWithDeviceCyan(0.1f, 0.2f, 0.3f, 0.4f, 1),
        Color::colorWithGenericCyan(0.5f, 0.1f, 0, 0.2f, 0.9f),
        Color::colorWithCatalogName(QStringLiteral("System"), QStringLiteral("controlColor"),
                                    Color::colorWithCalibratedWhite(0.9f)),
    };
    const QString names[] = {QStringLiteral("Rot-Orange"), QStringLiteral("Bleu pâle"), QStringLiteral("灰色"),
                             QStringLiteral("Ωmega"), QStringLiteral("Cyan ✓"), QStringLiteral("Generic"),
                             QStringLiteral("Control")};
    ColorList list{QStringLiteral("Mine"), {}};
    for (int i = 0; i < count; ++i) {
        const int kind = i % int(std::size(kinds));
        list.add(i < int(std::size(names)) ? names[kind] : QStringLiteral("Colour %1").arg(i), kinds[kind]);
    }
    return list;
}

// The platform's layout, written value by value: the version 1, a group of nil and the
// count, then a group of colour and name for each colour.
QByteArray platformLayout(const ColorList &list)
{
    Archiver out;
    out.encodeInt(1);
    out.beginGroup("@i");
    out.encodeObject(std::any());
    out.encodeInt(qint64(list.colors.size()));
    out.endGroup();
    for (const auto &[name, color] : list.colors) {
        out.beginGroup("@@");
        out.encodeObject(color);
        out.encodeStringObject(name);
        out.endGroup();
    }
    EXPECT_FALSE(out.failed()) << out.error().toStdString();
    return out.archivedData();
}

// Our earlier layout: the count, then name and colour for each colour.
QByteArray earlierLayout(const ColorList &list)
{
    Archiver out;
    out.encodeInt(qint64(list.colors.size()));
    for (const auto &[name, color] : list.colors) {
        out.encodeStringObject(name);
        out.encodeObject(color);
    }
    return out.archivedData();
}

TEST(ColorListFile, ThePlatformsLayoutReadsAndIsWhatWeWrite)
{
    for (const int count : {0, 1, 7, 2000}) {
        SCOPED_TRACE(count);
        const ColorList list = sampleList(count);
        const QByteArray platform = platformLayout(list);
        EXPECT_EQ(colorListData(list), platform);
        const auto read = colorListWithData(platform, QStringLiteral("Mine"));
        ASSERT_TRUE(read) << read.error.toStdString();
        EXPECT_EQ(read.value->name, QStringLiteral("Mine"));
        EXPECT_EQ(read.value->colors, list.colors);
    }
}

TEST(ColorListFile, ListsInOurEarlierLayoutStillRead)
{
    for (const int count : {0, 1, 7}) {
        SCOPED_TRACE(count);
        const ColorList list = sampleList(count);
        const auto read = colorListWithData(earlierLayout(list), QStringLiteral("Old"));
        ASSERT_TRUE(read) << read.error.toStdString();
        EXPECT_EQ(read.value->colors, list.colors);
    }
}

TEST(ColorListFile, ADamagedListGivesAReasonAndNoColours)
{
    const QByteArray whole = colorListData(sampleList(7));
    // Cut anywhere after the header: never a part of the list.
    for (qsizetype size = 0; size < whole.size(); ++size) {
        const auto read = colorListWithData(whole.left(size), QStringLiteral("x"));
        EXPECT_FALSE(read) << "cut at " << size;
        EXPECT_FALSE(read.error.isEmpty()) << "cut at " << size;
    }
    EXPECT_FALSE(colorListWithData(whole + QByteArray(1, '\x85'), QStringLiteral("x")));

    // A count larger than the data, and a name that is not a string.
    Archiver tooMany;
    tooMany.encodeInt(1);
    tooMany.beginGroup("@i");
    tooMany.encodeObject(std::any());
    tooMany.encodeInt(1000000);
    tooMany.endGroup();
    const auto counted = colorListWithData(tooMany.archivedData(), QStringLiteral("x"));
    EXPECT_FALSE(counted);
    EXPECT_TRUE(counted.error.contains(QStringLiteral("number of colours"))) << counted.error.toStdString();

    Archiver unnamed;
    unnamed.encodeInt(1);
    unnamed.beginGroup("@i");
    unnamed.encodeObject(std::any());
    unnamed.encodeInt(1);
    unnamed.endGroup();
    unnamed.beginGroup("@@");
    unnamed.encodeObject(Color::blackColor());
    unnamed.encodeObject(Color::whiteColor());
    unnamed.endGroup();
    const auto named = colorListWithData(unnamed.archivedData(), QStringLiteral("x"));
    EXPECT_FALSE(named);
    EXPECT_TRUE(named.error.contains(QStringLiteral("name"))) << named.error.toStdString();
}

} // namespace
