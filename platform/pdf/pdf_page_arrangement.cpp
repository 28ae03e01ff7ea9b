// Rearranging, repeating, blanking and appending pages of a PDF with QPDF.
#include "platform/pdf/pdf_rewriter_private.h"

#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <exception>

bool PdfRewriter::arrangePages(const std::vector<int> &pageMap, double blankWidth, double blankHeight)
{
    if (!d->open)
        return fail(QStringLiteral("no document is open"));
    try {
        QPDFPageDocumentHelper helper(d->pdf);
        std::vector<QPDFPageObjectHelper> old = helper.getAllPages();
        std::vector<QPDFObjectHandle> arranged;
        std::vector<bool> used(old.size(), false);
        for (int number : pageMap) {
            if (number >= 1 && number <= int(old.size())) {
                const size_t index = size_t(number - 1);
                // A page shown twice is a second page object sharing the first one's content.
                arranged.push_back(used[index] ? old[index].shallowCopyPage().getObjectHandle()
                                               : old[index].getObjectHandle());
                used[index] = true;
                continue;
            }
            QPDFObjectHandle blank = QPDFObjectHandle::parse(
                "<< /Type /Page /MediaBox [0 0 " + std::to_string(std::max(1.0, blankWidth)) + " "
                + std::to_string(std::max(1.0, blankHeight)) + "] /Resources << >> >>");
            blank.replaceKey("/Contents", d->pdf.newStream(std::string()));
            arranged.push_back(d->pdf.makeIndirectObject(blank));
        }
        for (const QPDFPageObjectHelper &page : old)
            helper.removePage(page);
        for (QPDFObjectHandle &page : arranged)
            helper.addPage(QPDFPageObjectHelper(page), false);
        return true;
    } catch (const std::exception &e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
}

bool PdfRewriter::appendPagesOf(const QByteArray &otherPdf)
{
    if (!d->open)
        return fail(QStringLiteral("no document is open"));
    try {
        // Copied pages read their streams from the other document when the result is
        // written, so it stays open (over its own bytes) as long as this one.
        auto source = std::make_unique<PdfRewriter::Private::Source>();
        source->data = otherPdf;
        source->pdf.setSuppressWarnings(true);
        source->pdf.processMemoryFile("appended", source->data.constData(), size_t(source->data.size()));
        QPDFPageDocumentHelper helper(d->pdf);
        for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(source->pdf).getAllPages())
            helper.addPage(page, false);
        d->sources.push_back(std::move(source));
        return true;
    } catch (const std::exception &e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
}
