// Archive coders of colours: NSColor in the platform's layout, and VekCustomColor, our own
// class for colours in a custom colour space, whose platform layout is not known.
//
// NSColor (version 0) holds a char giving the kind, then the components as one group:
//   1 calibrated RGB, 2 device RGB: "ffff" red, green, blue, alpha
//   3 calibrated white, 4 device white: "ff" white, alpha (the black spaces are written
//     as these, with their white level)
//   5 device CMYK: "fffff" cyan, magenta, yellow, black, alpha
//   6 named: "@@@" catalogue name, colour name, the colour it stands for
// Other kinds (pattern colours and the like) read as an UnsupportedObject.
//
// VekCustomColor (version 1, see docs/archive-format.md): "ii" colour-space model and
// colour-component count, "[Nf]" the components with alpha last, "@" the space's name,
// "@" its ICC profile data (or nil).
//
// Pattern colours are written by the image layer, which knows how to store the image: it
// installs a pattern-colour encoder and registers a decoder for the class it writes.
#pragma once

#include <functional>

class Archiver;
class ArchiveCoderRegistry;
class Color;

void registerColorCoders(ArchiveCoderRegistry &registry);

// Writes a pattern colour as a whole object (beginObject first); answers false after
// Archiver::fail. Without one, archiving a pattern colour fails.
using PatternColorEncoder = std::function<bool(Archiver &out, const Color &color)>;
void setPatternColorEncoder(PatternColorEncoder encoder);
