// The print tab's edits of a document's print settings, as changes of a PrintSettings value
// (panels/docinfo/document_settings.h). Lengths are in points unless said otherwise; the page
// size (drawAreaSize) is in document pixels at the resolution.
#pragma once

#include "panels/docinfo/document_settings.h"

// The page of the settings in points.
Size pageSizeInPoints(const PrintSettings &settings);
// The largest page (document pixels) the paper and margins leave, paper turned for landscape.
Size drawAreaSizePerPaper(const PrintSettings &settings);

// Centring on: the margins of that direction become half of what the paper leaves beside the
// page (0 when the page is larger).
void setPrintCentered(PrintSettings &settings, bool horizontally, bool vertically);
// Negative or non-finite margins are taken as 0. Unequal opposite margins switch that
// direction's centring off.
void setMargins(PrintSettings &settings, float left, float right, float top, float bottom);
// A new paper (or orientation): the print settings take it and the page becomes the largest
// the paper leaves inside the margins, so the canvas shows the paper chosen.
void setPaper(PrintSettings &settings, const QString &name, Size size);
void setOrientation(PrintSettings &settings, PrintInfo::Orientation orientation);
// The paper becomes the page at the print scaling plus the margins (whole points up); it
// carries no paper name, and lies as the page lies (a tall one upright).
void setPaperSizeToMatchPage(PrintSettings &settings);
// Values below 72 dots per inch are ignored; the scaling follows the resolution.
void setResolution(PrintSettings &settings, int resolution);
// Sides below 8 points and non-finite sizes are ignored (size in points).
void setPageSizeInPoints(PrintSettings &settings, Size points);
