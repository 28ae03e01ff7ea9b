// EPS export: through Ghostscript from our own PDF of the area, or written by our own
// simple PostScript generator (plain paths with RGB fills and strokes, text in standard
// PostScript fonts) for receivers that cannot handle more.
#pragma once

#include "export/export_selection.h"
#include "platform/text/attributed_string.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class VekDocument;
class VekObject;

// The area (the whole canvas when empty) as EPS through Ghostscript's eps2write. False with
// the reason in *error, also when Ghostscript is not installed.
bool saveAsEps(VekDocument &document, const QString &path, const ExportSelection &selection,
               QString *error = nullptr);

// The simple EPS of the objects (stacking order, front first) over the area (the whole
// canvas when empty): paths, text boxes line by line as laid out, tables (lines and cell
// texts) and page-number or date fields on each page they show on. False for no objects
// or a failed write (*error, when given, says why).
bool savePathsAsEps(VekDocument &document, const QString &path, const Rect &area,
                    const std::vector<std::shared_ptr<VekObject>> &objects, QString *error = nullptr);

// The pieces of the simple writer, for the text objects that lay out their own text.
namespace SimpleEps {
// The standard PostScript font for a font name: a standard name stays; Japanese faces
// become "Ryumin-Light-H" (Mincho) or "GothicBBB-Medium-H"; otherwise Times, Symbol,
// Courier (fixed pitch) or Helvetica with the bold and italic suffixes of the face.
QString postScriptFontName(const QString &fontName);
// A line of text as the bytes of a PostScript string body: Latin-1 with backslash and
// parentheses escaped once and every other byte outside printable ASCII as an octal
// escape; characters beyond Latin-1 become "?".
QByteArray latin1StringBody(const QString &line);
// A line of Japanese text as ISO-2022-JP, every byte (escape sequences included) as an
// octal escape, so the PostScript file stays 7-bit and the CID font reads the JIS codes.
QByteArray jisStringBody(const QString &line);
// The font and colour of a run: its standard PostScript font (a Latin one reading Latin-1),
// the size cut to whole points, the colour in RGB. *japanese tells which string body to use.
QByteArray runSetup(const TextAttributes &attributes, bool *japanese);
// "m" at the point (EPS coordinates, y up) and "show" of the line.
QByteArray showLine(float x, float y, const QString &line, bool japanese);
// The drawing commands of a text: one "m" and "show" per non-empty line, the pen starting
// at origin (EPS coordinates, y up) and moving down by the point size per line.
QByteArray textCommands(const AttributedString &text, float originX, float originY);
} // namespace SimpleEps
