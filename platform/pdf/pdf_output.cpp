// Vector PDF output through QPdfWriter and the QPDF passes.
#include "platform/pdf/pdf_output.h"

#include "platform/foundation/file_writing.h"
#include "platform/graphics/cmyk_stand_ins.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/pdf_page_markers.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace {
// One device unit a point: coordinates stay short, and the context makes shadow masks at
// their own resolution.
constexpr int Resolution = 72;
} // namespace

struct PdfOutput::Private {
    QByteArray bytes;
    QBuffer buffer{&bytes};
    std::unique_ptr<QPdfWriter> writer;
    std::unique_ptr<GraphicsContext> context;
    std::shared_ptr<CmykStandIns> standIns;
    std::shared_ptr<PdfPageMarkers> markers = std::make_shared<PdfPageMarkers>();
    Size pageSize;

    void startContext()
    {
        context = std::make_unique<GraphicsContext>(writer.get(), GraphicsContext::Output::PDF);
        context->saveGraphicsState();   // drawing code restores down to this, never below
        context->setCMYKStandIns(standIns);
        context->setPdfPageMarkers(markers);
    }
};

PdfOutput::PdfOutput(Size pageSize, bool keepCmyk) : d(std::make_unique<Private>())
{
    d->pageSize = Size{std::max(1.0f, pageSize.width), std::max(1.0f, pageSize.height)};
    d->buffer.open(QIODevice::WriteOnly);
    d->writer = std::make_unique<QPdfWriter>(&d->buffer);
    d->writer->setResolution(Resolution);
    d->writer->setCreator(QStringLiteral("Vekanto"));
    d->writer->setPageLayout(QPageLayout(
        QPageSize(QSizeF(d->pageSize.width, d->pageSize.height), QPageSize::Point),
        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    if (keepCmyk)
        d->standIns = std::make_shared<CmykStandIns>();
    d->startContext();
}

PdfOutput::~PdfOutput() = default;

GraphicsContext &PdfOutput::context()
{
    return *d->context;
}

void PdfOutput::newPage()
{
    if (!d->context)
        return;
    // Back to the page's base state, so nothing of one page's state reaches the next.
    d->context->restoreGraphicsState();
    d->context->newPage();
    d->context->saveGraphicsState();
    ++m_pages;
}

QByteArray PdfOutput::finish(QString *error)
{
    auto failed = [&](const QString &why) {
        if (error)
            *error = why;
        return QByteArray();
    };
    if (!d->context)
        return failed(QStringLiteral("the output was finished before"));
    d->context.reset();
    d->writer.reset();
    d->buffer.close();
    if (d->bytes.isEmpty())
        return failed(QStringLiteral("the PDF writer wrote nothing"));

    PdfRewriter rewriter;
    if (!rewriter.openData(d->bytes))
        return failed(rewriter.errorString());
    if (!rewriter.resolveStandIns(d->standIns.get(), d->markers.get()))
        return failed(rewriter.errorString());
    // Qt writes pages in whole points, drawn from the top: the exact size keeps the top.
    if (!rewriter.setPageSizeKeepingTop(d->pageSize.width, d->pageSize.height))
        return failed(rewriter.errorString());
    if (!rewriter.compactContents())
        return failed(rewriter.errorString());
    rewriter.setInfo(m_info);
    if (m_linkPlacer) {
        const QByteArray pages = rewriter.writeToData();
        if (pages.isEmpty())
            return failed(rewriter.errorString());
        const std::vector<PdfLinkAnnotation> placed = m_linkPlacer(pages);
        m_links.insert(m_links.end(), placed.begin(), placed.end());
    }
    if (!rewriter.addLinks(m_links))
        return failed(rewriter.errorString());
    QByteArray result = rewriter.writeToData();
    if (result.isEmpty())
        return failed(rewriter.errorString());
    return result;
}

bool PdfOutput::finishToFile(const QString &path, QString *error)
{
    const QByteArray pdf = finish(error);
    if (pdf.isEmpty())
        return false;
    return writeWholeFile(path, pdf, error);
}
