// Colour values turned into Qt's colours and brushes at the moment they are painted.
#include "platform/graphics/color_conversion.h"

#include "platform/graphics/pattern_tile.h"

namespace {

float clamp01(float v)
{
    return v < 0 ? 0 : v > 1 ? 1 : v;
}

} // namespace

QColor toQColor(const Color &color)
{
    if (color.kind() == Color::Kind::Pattern)
        return QColor(0, 0, 0);
    const auto rgb = color.colorUsingColorSpaceName(CalibratedRGBColorSpace);
    if (!rgb)
        return QColor(0, 0, 0);
    return QColor::fromRgbF(clamp01(rgb->redComponent()), clamp01(rgb->greenComponent()), clamp01(rgb->blueComponent()),
                            clamp01(color.alphaComponent()));
}

QBrush toQBrush(const Color &color)
{
    if (color.kind() != Color::Kind::Pattern)
        return QBrush(toQColor(color));
    const auto *tile = dynamic_cast<const PatternTile *>(color.patternImage().get());
    if (!tile)
        return QBrush();
    const QImage image = tile->tileImage();
    return image.isNull() ? QBrush() : QBrush(image);
}
