// Pattern tiles drawn from images.
#include "platform/image/image_pattern.h"

#include <cmath>

QImage ImagePatternTile::tileImage() const
{
    const Size size = m_image.size();
    const QSize pixels(int(std::ceil(size.width)), int(std::ceil(size.height)));
    return m_image.toQImage(pixels);
}
