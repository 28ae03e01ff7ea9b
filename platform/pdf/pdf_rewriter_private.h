// The parsed document that PdfRewriter's changes share.
#pragma once

#include "platform/pdf/pdf_rewriter.h"

#include <qpdf/QPDF.hh>

#include <memory>
#include <vector>

struct PdfRewriter::Private {
    // Another document whose pages were copied in.
    struct Source {
        QPDF pdf;
        QByteArray data;
    };
    // Declared first so that they outlive the document that refers to them.
    std::vector<std::unique_ptr<Source>> sources;
    QPDF pdf;
    QByteArray data; // the source bytes, which QPDF reads from while the document lives
    QString error;
    bool open = false;
    bool encrypt = false;
    bool dropEncryption = false;
    QByteArray userPassword;
    QByteArray ownerPassword;
};
