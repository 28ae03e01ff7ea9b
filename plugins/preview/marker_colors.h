// The marker colours of the user's preferences, read by the preview plug-in from the
// application's preferences file (it runs in another process, without the application's
// defaults): the five colours "cwMarker1" to "cwMarker5" of the "colors" dictionary.
#pragma once

#include "platform/color/color.h"

#include <QString>

#include <array>

using MarkerColors = std::array<Color, 5>;

// The five colours of the preferences file at `path`, or, when the file, its "colors" or
// any of the five entries cannot be read, all five defaults (never a mix).
MarkerColors markerColorsFromPreferences(const QString &path);
// The five defaults: yellow, green, cyan, magenta and orange at alpha 0.4.
MarkerColors defaultMarkerColors();
// Colour n from 1 to 5; any other n gives colour 1.
const Color &markerColor(const MarkerColors &colors, int n);
