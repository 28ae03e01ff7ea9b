// The "Merge Background..." command: a PDF or an image file appended to the document's
// background pages.
#pragma once

#include <QString>

class QWidget;
class VekDocument;

// Merges the file's pages (an image as one page) into the background; false when the file
// cannot be read or is neither a PDF nor an image.
bool mergeBackgroundFromFile(VekDocument &document, const QString &path);

// Asks for the file in an open panel and merges it; a failure names the file in an alert.
void mergeBackgroundInteractively(QWidget *parent, VekDocument &document);
