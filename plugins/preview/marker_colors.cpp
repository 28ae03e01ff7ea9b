#include "plugins/preview/marker_colors.h"

#include "platform/foundation/archiving.h"
#include "platform/foundation/plist_xml_format.h"

#include <QFile>

MarkerColors defaultMarkerColors()
{
    return {Color::colorWithCalibratedRed(1, 1, 0, 0.4f), Color::colorWithCalibratedRed(0, 1, 0, 0.4f),
            Color::colorWithCalibratedRed(0, 1, 1, 0.4f), Color::colorWithCalibratedRed(1, 0, 1, 0.4f),
            Color::colorWithCalibratedRed(1, 0.5f, 0, 0.4f)};
}

MarkerColors markerColorsFromPreferences(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return defaultMarkerColors();
    const PropertyList colors = propertyListFromXml(file.readAll()).value(QStringLiteral("colors"));
    MarkerColors found;
    for (int i = 0; i < 5; ++i) {
        const PropertyList entry = colors.value(QStringLiteral("cwMarker%1").arg(i + 1));
        if (!entry.isData())
            return defaultMarkerColors();
        const auto color = unarchiveColorWithData(entry.dataValue());
        if (!color)
            return defaultMarkerColors();
        found[size_t(i)] = *color.value;
    }
    return found;
}

const Color &markerColor(const MarkerColors &colors, int n)
{
    return colors[size_t(n >= 1 && n <= 5 ? n - 1 : 0)];
}
