// Colours dragged between the program's windows: the archived colour under our own type, so
// that any colour (CMYK, patterns) arrives as it is, and a plain RGB colour beside it for
// other programs.
#pragma once

#include "platform/color/color.h"

#include <QString>

#include <optional>

class QMimeData;

inline const QString VekantoColorMimeType = QStringLiteral("application/x-vekanto-color");

QMimeData *mimeDataOfColor(const Color &color);
// Our own type first, else the plain colour; nothing without either.
std::optional<Color> colorOfMimeData(const QMimeData &mime);
