// PdfRewriter::setPageSizeKeepingTop: exact page sizes for pages written in whole points.
#include "platform/pdf/pdf_rewriter.h"
#include "platform/pdf/pdf_rewriter_private.h"

#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

bool PdfRewriter::setPageSizeKeepingTop(double width, double height)
{
    if (!d->open)
        return fail(QStringLiteral("no document is open"));
    try {
        for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(d->pdf).getAllPages()) {
            QPDFObjectHandle box = page.getMediaBox();
            if (!box.isRectangle())
                return fail(QStringLiteral("a page has no media box"));
            const QPDFObjectHandle::Rectangle r = box.getArrayAsRectangle();
            page.getObjectHandle().replaceKey(
                "/MediaBox", QPDFObjectHandle::newFromRectangle(
                                 QPDFObjectHandle::Rectangle(r.llx, r.ury - height, r.llx + width, r.ury)));
        }
        return true;
    } catch (const std::exception &e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
}
