// PdfRewriter::setInfo: the entries of the document's information dictionary.
#include "platform/pdf/pdf_rewriter.h"
#include "platform/pdf/pdf_rewriter_private.h"

void PdfRewriter::setInfo(const QMap<QString, QString> &entries)
{
    if (!d->open || entries.isEmpty())
        return;
    QPDFObjectHandle trailer = d->pdf.getTrailer();
    QPDFObjectHandle info = trailer.getKey("/Info");
    if (!info.isDictionary()) {
        info = d->pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        trailer.replaceKey("/Info", info);
    }
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        const std::string key = "/" + it.key().toStdString();
        if (it.value().isEmpty())
            info.removeKey(key);
        else
            info.replaceKey(key, QPDFObjectHandle::newUnicodeString(it.value().toStdString()));
    }
}
