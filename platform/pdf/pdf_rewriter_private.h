// The parsed document that PdfRewriter's changes share.
#pragma once

#include "platform/pdf/pdf_rewriter.h"

#include <qpdf/QPDF.hh>

struct PdfRewriter::Private {
    QPDF pdf;
    QByteArray data; // the source bytes, which QPDF reads from while the document lives
    QString error;
    bool open = false;
    bool encrypt = false;
    QByteArray userPassword;
    QByteArray ownerPassword;
};
