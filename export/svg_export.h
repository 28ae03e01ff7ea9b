// Writing documents, areas and selections as SVG.
#pragma once

#include "export/export_selection.h"

#include <QByteArray>
#include <QString>

class VekDocument;

// The SVG of the selection: the whole document as the canvas shows it (all pages stacked),
// or the area with its objects. Every object draws through its own drawing code, so
// arrows, line patterns and shadows come out as what they draw (paths, gradients and
// images). Text stays text, or comes as glyph outlines without `textAsText`. Empty with the
// reason in *error when there is nothing to draw.
QByteArray documentAreaAsSVG(VekDocument &document, const ExportSelection &selection, bool textAsText,
                             QString *error = nullptr);
bool saveAsSvg(VekDocument &document, const QString &path, const ExportSelection &selection, bool textAsText,
               QString *error = nullptr);
