// Text of the SVG importer: `text`, `tspan`, `textPath` and `tref` become text runs (a
// string, its text attributes, the glyph positions as written, and where the next run
// continues); the font is chosen from the family list, weight and style.
#pragma once

#include "svg/svg_object_info.h"
#include "svg/svg_xml_loader.h"

// The element's state (a run, when one is made, is in `info`, and the state is marked as
// holding one).
SvgGraphicsState textElement(xmlNode *element, const SvgGraphicsState &state, SvgObjectInfo &info);
std::optional<SvgGraphicsState> textPathElement(xmlNode *element, const SvgGraphicsState &state, SvgObjectInfo &info);
std::optional<SvgGraphicsState> trefElement(xmlNode *element, const SvgGraphicsState &state, SvgObjectInfo &info);

// Moves the runs of each text chunk by its text anchor (middle: half the chunk's width back,
// end: all of it); `runs` are the runs of one text element.
void anchorTextChunks(std::vector<SvgObjectInfo> &runs);

// The most characters the text runs of one import hold; text beyond is left out.
inline constexpr qint64 SvgMaximumTextCharacters = 1000000;

// Sets the state's font name from its family list, weight and style.
void fontWithGstate(SvgGraphicsState &state);

// The SVG white-space rules (collapse: the default; otherwise preserve) with the status kept
// in `status` across the runs of one text, then character references expanded.
QString tspanString(const QString &text, bool collapse, int &status);
