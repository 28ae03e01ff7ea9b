// Images as the tiles of pattern colours.
#pragma once

#include "platform/graphics/pattern_tile.h"
#include "platform/image/image.h"

// The pattern image of a pattern colour made from an Image: one tile is the image at
// its size in points (one pixel a point).
class ImagePatternTile : public PatternTile {
public:
    explicit ImagePatternTile(Image image) : m_image(std::move(image)) {}
    const Image &image() const { return m_image; }
    QImage tileImage() const override;

private:
    Image m_image;
};
