// The marker colours the preview plug-in reads from the preferences file.
#include "platform/foundation/archiving.h"
#include "platform/foundation/plist_xml_format.h"
#include "plugins/preview/marker_colors.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString preferencesWith(const QTemporaryDir &dir, int markers)
{
    PropertyList colors = PropertyList::dictionary();
    for (int i = 1; i <= markers; ++i)
        colors.insert(QStringLiteral("cwMarker%1").arg(i),
                      PropertyList::fromData(*archivedDataWithRootObject(
                                                  Color::colorWithCalibratedWhite(float(i) / 10)).value));
    PropertyList root = PropertyList::dictionary();
    root.insert(QStringLiteral("colors"), colors);
    const QString path = dir.filePath(QStringLiteral("kestrum.Vekanto.plist"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(xmlPropertyListData(root));
    return path;
}

} // namespace

TEST(MarkerColors, AllFiveFromThePreferencesOrAllFiveDefaults)
{
    QTemporaryDir dir;
    const MarkerColors defaults = defaultMarkerColors();
    EXPECT_EQ(markerColorsFromPreferences(dir.filePath(QStringLiteral("none.plist"))), defaults);
    const Color cyan = markerColor(defaults, 3);
    EXPECT_EQ(cyan, Color::colorWithCalibratedRed(0, 1, 1, 0.4f));

    EXPECT_EQ(markerColorsFromPreferences(preferencesWith(dir, 4)), defaults);   // never a mix
    const MarkerColors read = markerColorsFromPreferences(preferencesWith(dir, 5));
    for (int i = 1; i <= 5; ++i)
        EXPECT_FLOAT_EQ(markerColor(read, i).whiteComponent(), float(i) / 10);
}

TEST(MarkerColors, NumbersOutsideOneToFivePickTheFirst)
{
    const MarkerColors defaults = defaultMarkerColors();
    for (int n : {0, 6, -1})
        EXPECT_EQ(markerColor(defaults, n), markerColor(defaults, 1));
}
