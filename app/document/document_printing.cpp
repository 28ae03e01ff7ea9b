// Printing documents with QPrinter.
#include "app/document/document_printing.h"

#include "canvas/offscreen_canvas.h"
#include "canvas/paper_pages.h"
#include "document/vek_document.h"
#include "export/pdf_export.h"
#include "platform/foundation/localized_strings.h"
#include "platform/graphics/graphics_context.h"
#include "platform/pdf/pdf_rewriter.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

bool printDocumentPages(VekDocument &document, QPrinter &printer, const QString &displayName, QString *error)
{
    OffscreenCanvas canvas(document);
    canvas.setDrawingToPDF(false);
    OffscreenCanvasScope scope(document, canvas);
    const PaperLayout layout = paperLayoutFor(document, false);
    printer.setFullPage(true);
    // The printer gets the paper upright and the orientation, as print dialogs show it.
    const bool landscape = layout.paper.width > layout.paper.height;
    const QSizeF upright = landscape ? QSizeF(layout.paper.height, layout.paper.width)
                                     : QSizeF(layout.paper.width, layout.paper.height);
    printer.setPageLayout(QPageLayout(QPageSize(upright, QPageSize::Point),
                                      landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    const int count = document.numberOfPages();
    int first = 1, last = count;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::clamp(printer.fromPage(), 1, count);
        last = std::clamp(printer.toPage() > 0 ? printer.toPage() : count, first, count);
    }

    {
        GraphicsContext context(&printer, GraphicsContext::Output::Printer);
        if (!context.painter()->isActive()) {
            if (error)
                *error = QStringLiteral("The printer cannot be used.");
            return false;
        }
        GraphicsContext::Scope current(context);
        AffineTransform toDevice;
        toDevice.scaleXBy(printer.logicalDpiX() / 72.0, printer.logicalDpiY() / 72.0);
        context.concat(toDevice);
        for (int page = first; page <= last; ++page) {
            if (page > first)
                context.newPage();
            GraphicsStateSaver saver(context);
            drawPageOnPaper(document, canvas, layout, page, displayName);
        }
    }
    // Printing to a PDF file: the printer has written it (on ending the painting) with
    // nothing of the document's metadata; it gets the metadata the exported PDF has.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        PdfRewriter file;
        if (!file.open(printer.outputFileName())) {
            if (error)
                *error = file.errorString();
            return false;
        }
        file.setInfo(pdfInfoFor(document));
        if (!file.write(printer.outputFileName())) {
            if (error)
                *error = file.errorString();
            return false;
        }
    }
    return true;
}

void printDocumentInteractively(QWidget *parent, VekDocument &document, const QString &displayName)
{
    QPrinter printer(QPrinter::HighResolution);
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // No printer: print into a PDF file instead.
        const QString path = QFileDialog::getSaveFileName(
            parent, localizedString(QStringLiteral("Print to PDF")),
            QFileInfo(displayName).completeBaseName() + QStringLiteral(".pdf"), QStringLiteral("PDF (*.pdf)"), nullptr,
            QFileDialog::DontUseNativeDialog);
        if (path.isEmpty())
            return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    } else {
        printer.setFromTo(1, document.numberOfPages());
        QPrintDialog dialog(&printer, parent);
        dialog.setMinMax(1, document.numberOfPages());
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    QString error;
    if (!printDocumentPages(document, printer, displayName, &error))
        QMessageBox::warning(parent, localizedString(QStringLiteral("Sorry, failed to print.")), error);
}
