// The canvas's background colour command: the colour a colour control picked becomes the
// document's page background, in the colour space the document keeps.
#pragma once

#include "platform/color/color.h"

class VekDocument;

// A control that shows a colour and can be told a new one (a colour well).
class ColorControl {
public:
    virtual ~ColorControl() = default;
    virtual Color color() const = 0;
    virtual void setColor(const Color &color) = 0;
};

// A five-component custom colour (CMYK and alpha) becomes a device CMYK colour and a device
// RGB colour a calibrated one, each shown back in the control; other colours are taken as
// they are. The document then takes the colour as its background colour.
void changeBackgroundColor(VekDocument &document, ColorControl &sender);
