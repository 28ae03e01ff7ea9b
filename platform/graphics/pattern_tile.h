// The pixels of a pattern colour: the drawing layer's view of a colour's pattern image.
#pragma once

#include "platform/color/color.h"

#include <QImage>

// A pattern image that can hand out its tile. The image layer's images implement it; a
// pattern colour whose image does not draws nothing.
class PatternTile : public PatternImage {
public:
    // One repetition of the pattern, top row first, tiled from the origin of user space.
    virtual QImage tileImage() const = 0;
};

// A pattern tile that is just a QImage.
class QImagePatternTile : public PatternTile {
public:
    explicit QImagePatternTile(QImage image) : m_image(std::move(image)) {}
    QImage tileImage() const override { return m_image; }

private:
    QImage m_image;
};
