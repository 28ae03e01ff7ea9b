// A copy of a PDF file whose text no longer renders, for use as a background.
#pragma once

#include <QString>

// Writes to destination a copy of the PDF at source with all text removed (the pages
// keep their graphics and images). True only when the copy was written and exists at
// destination; false at once when either path is null, and false when the source cannot
// be read or the copy cannot be written (an existing destination is then left as it
// was). Nothing is reported to the user.
bool CreatePDFwoText(const QString &destination, const QString &source);
