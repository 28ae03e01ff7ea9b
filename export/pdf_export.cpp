// Writing documents, areas and selections as PDF.
#include "export/pdf_export.h"

#include "canvas/offscreen_canvas.h"
#include "canvas/paper_pages.h"
#include "document/vek_document.h"
#include "export/pdf_links.h"
#include "export/pdfx_conversion.h"
#include "platform/foundation/file_writing.h"
#include "platform/graphics/graphics_context.h"
#include "platform/pdf/pdf_document.h"
#include "platform/pdf/pdf_output.h"
#include "toolkit/text_extensions.h"

#include <algorithm>

QMap<QString, QString> pdfInfoFor(VekDocument &document)
{
    QMap<QString, QString> info;
    if (!document.author().isEmpty())
        info.insert(QStringLiteral("Author"), document.author());
    if (!document.title().isEmpty())
        info.insert(QStringLiteral("Title"), document.title());
    if (!document.subject().isEmpty())
        info.insert(QStringLiteral("Subject"), document.subject());
    QStringList keywords = StripSpacesOfCommaSeparatedString(document.keywords()).split(QLatin1Char(','));
    keywords.removeAll(QString());
    if (!keywords.isEmpty())
        info.insert(QStringLiteral("Keywords"), keywords.join(QStringLiteral(", ")));
    if (info.isEmpty())
        return {{QStringLiteral("Creator"), QString()}, {QStringLiteral("Title"), QString()}};
    info.insert(QStringLiteral("Creator"), QStringLiteral("Vekanto"));
    if (!info.contains(QStringLiteral("Title")))
        info.insert(QStringLiteral("Title"), QString());
    return info;
}

QByteArray currentDocumentAsPDF(VekDocument &document, int page, const QString &displayName, QString *error)
{
    OffscreenCanvas canvas(document);
    canvas.setDrawingToPDF(true);
    OffscreenCanvasScope scope(document, canvas);
    const PaperLayout layout = paperLayoutFor(document, true);
    const int count = document.numberOfPages();
    const int first = page > 0 ? std::min(page, count) : 1;
    const int last = page > 0 ? first : count;

    PdfOutput output(layout.paper, document.useCMYK());
    {
        GraphicsContext::Scope current(output.context());
        for (int p = first; p <= last; ++p) {
            if (p > first)
                output.newPage();
            drawPageOnPaper(document, canvas, layout, p, displayName);
        }
    }
    // The links are placed once the pages exist: where a box's text was printed can differ
    // from its layout at page breaks. Reading the pages costs a write, so only with links.
    if (documentHasTextLinks(document))
        output.setLinkPlacer([&](const QByteArray &pages) {
            const std::shared_ptr<PdfDocument> printed = PdfDocument::openData(pages);
            return linkAnnotationsFor(document, layout, first, last, printed.get());
        });
    output.setInfo(pdfInfoFor(document));
    return output.finish(error);
}

QByteArray areaAsPDF(VekDocument &document, const ExportSelection &selection, QString *error)
{
    if (selection.area.isEmpty()) {
        if (error)
            *error = QStringLiteral("the area is empty");
        return {};
    }
    PdfOutput output(selection.area.size, document.useCMYK());
    {
        GraphicsContext::Scope current(output.context());
        drawDocumentArea(document, selection, false, false);
    }
    return output.finish(error);
}

bool saveAsPdf(VekDocument &document, const QString &path, const ExportSelection &selection, int flattenResolution,
               const QString &displayName, QString *error, QString *warning)
{
    if (path.isEmpty())
        return false;
    const QByteArray pdf = selection.isWholeDocument() ? currentDocumentAsPDF(document, 0, displayName, error)
                                                       : areaAsPDF(document, selection, error);
    if (pdf.isEmpty())
        return false;
    if (flattenResolution > 0) {
        QString why;
        if (convertToPdfX3(pdf, path, flattenResolution, document.title().isEmpty() ? displayName : document.title(),
                           &why))
            return true;
        if (warning)
            *warning = why;
    }
    return writeWholeFile(path, pdf, error);
}
