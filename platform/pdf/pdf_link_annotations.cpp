// PdfRewriter::addLinks: link annotations to URIs and to places on other pages.
#include "platform/pdf/pdf_rewriter.h"
#include "platform/pdf/pdf_rewriter_private.h"

#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

bool PdfRewriter::addLinks(const std::vector<PdfLinkAnnotation> &links)
{
    if (!d->open)
        return fail(QStringLiteral("no document is open"));
    try {
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(d->pdf).getAllPages();
        for (const PdfLinkAnnotation &link : links) {
            if (link.page < 0 || link.page >= int(pages.size()))
                return fail(QStringLiteral("a link names page %1, which does not exist").arg(link.page + 1));
            QPDFObjectHandle annotation = QPDFObjectHandle::newDictionary();
            annotation.replaceKey("/Type", QPDFObjectHandle::newName("/Annot"));
            annotation.replaceKey("/Subtype", QPDFObjectHandle::newName("/Link"));
            const QRectF r = link.rect.normalized();
            annotation.replaceKey("/Rect", QPDFObjectHandle::newFromRectangle(
                                               QPDFObjectHandle::Rectangle(r.left(), r.top(), r.right(), r.bottom())));
            annotation.replaceKey("/Border", QPDFObjectHandle::parse("[0 0 0]"));
            if (!link.uri.isEmpty()) {
                QPDFObjectHandle action = QPDFObjectHandle::newDictionary();
                action.replaceKey("/S", QPDFObjectHandle::newName("/URI"));
                action.replaceKey("/URI", QPDFObjectHandle::newString(link.uri.toUtf8().toStdString()));
                annotation.replaceKey("/A", action);
            } else if (link.destinationPage >= 0) {
                if (link.destinationPage >= int(pages.size()))
                    return fail(QStringLiteral("a link shows page %1, which does not exist").arg(link.destinationPage + 1));
                QPDFObjectHandle destination = QPDFObjectHandle::newArray();
                destination.appendItem(pages[size_t(link.destinationPage)].getObjectHandle());
                destination.appendItem(QPDFObjectHandle::newName("/XYZ"));
                destination.appendItem(QPDFObjectHandle::newReal(link.destination.x(), 2));
                destination.appendItem(QPDFObjectHandle::newReal(link.destination.y(), 2));
                destination.appendItem(QPDFObjectHandle::newNull());
                annotation.replaceKey("/Dest", destination);
            }
            QPDFObjectHandle page = pages[size_t(link.page)].getObjectHandle();
            QPDFObjectHandle annots = page.getKey("/Annots");
            if (!annots.isArray()) {
                annots = QPDFObjectHandle::newArray();
                page.replaceKey("/Annots", annots);
            }
            annots.appendItem(d->pdf.makeIndirectObject(annotation));
        }
        return true;
    } catch (const std::exception &e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
}
