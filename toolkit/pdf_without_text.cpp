// CreatePDFwoText: parses the source with QPDF, strips its text and fonts, writes atomically.
#include "toolkit/pdf_without_text.h"

#include "platform/pdf/pdf_rewriter.h"

#include <QFileInfo>

bool CreatePDFwoText(const QString &destination, const QString &source)
{
    if (destination.isNull() || source.isNull())
        return false;
    PdfRewriter pdf;
    if (!pdf.open(source) || !pdf.removeText())
        return false;
    return pdf.write(destination) && QFileInfo::exists(destination);
}
