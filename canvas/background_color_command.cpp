// The background colour command.
#include "canvas/background_color_command.h"

#include "document/vek_document.h"

void changeBackgroundColor(VekDocument &document, ColorControl &sender)
{
    Color color = sender.color();
    const QString space = color.colorSpaceName();
    if (space == CustomColorSpace && color.numberOfComponents() == 5) {
        if (const std::optional<Color> cmyk = color.colorUsingColorSpaceName(DeviceCMYKColorSpace)) {
            float c, m, y, k, a;
            cmyk->getCyan(&c, &m, &y, &k, &a);
            color = Color::colorWithDeviceCyan(c, m, y, k, a);
            sender.setColor(color);
        }
    } else if (space == DeviceRGBColorSpace) {
        if (const std::optional<Color> calibrated = color.colorUsingColorSpaceName(CalibratedRGBColorSpace)) {
            color = *calibrated;
            sender.setColor(color);
        }
    }
    document.setBackgroundColor(color);
}
