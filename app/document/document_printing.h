// Printing a document through Qt PrintSupport: each page on paper as the print settings
// place it (margins, scaling, centring), with headers and footers when the document adds
// them. Printing runs on the main thread, modally: the document cannot change meanwhile.
#pragma once

#include <QString>

class QPrinter;
class QWidget;
class VekDocument;

// Prints the pages the printer's range names (all when it names none) on paper of the
// print settings' size. False with the reason in *error when the printer cannot be used.
bool printDocumentPages(VekDocument &document, QPrinter &printer, const QString &displayName,
                        QString *error = nullptr);

// The print command: the print dialog for the installed printers, or, when there is none,
// a save panel for a PDF file that the document is printed into.
void printDocumentInteractively(QWidget *parent, VekDocument &document, const QString &displayName);
