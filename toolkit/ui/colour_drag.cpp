// Colours in drag data.
#include "toolkit/ui/colour_drag.h"

#include "platform/foundation/archiving.h"
#include "platform/graphics/color_conversion.h"

#include <QColor>
#include <QMimeData>

QMimeData *mimeDataOfColor(const Color &color)
{
    auto *mime = new QMimeData;
    if (const auto archived = archivedDataWithRootObject(color))
        mime->setData(VekantoColorMimeType, *archived.value);
    mime->setColorData(toQColor(color));
    return mime;
}

std::optional<Color> colorOfMimeData(const QMimeData &mime)
{
    if (mime.hasFormat(VekantoColorMimeType))
        if (const auto color = unarchiveColorWithData(mime.data(VekantoColorMimeType)))
            return *color.value;
    if (!mime.hasColor())
        return std::nullopt;
    const QColor dropped = qvariant_cast<QColor>(mime.colorData()).toRgb();
    return Color::colorWithCalibratedRed(float(dropped.redF()), float(dropped.greenF()), float(dropped.blueF()),
                                         float(dropped.alphaF()));
}
