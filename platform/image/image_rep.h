// One representation of an image: a bitmap, or a page of a PDF document drawn as vectors.
#pragma once

#include "platform/image/bitmap_rep.h"

#include <QPainter>

#include <memory>

class PdfDocument;

class ImageRep {
public:
    explicit ImageRep(BitmapRep bitmap);
    // A page (index from 0) of a PDF document; its size is the page's shown size.
    ImageRep(std::shared_ptr<const PdfDocument> document, int page);

    const BitmapRep *bitmap() const { return m_pdf ? nullptr : &m_bitmap; }
    BitmapRep *bitmap() { return m_pdf ? nullptr : &m_bitmap; }
    const std::shared_ptr<const PdfDocument> &pdfDocument() const { return m_pdf; }
    int pdfPage() const { return m_page; }

    // A PDF page counts one pixel per point.
    int pixelsWide() const;
    int pixelsHigh() const;
    Size size() const;
    void setSize(Size size);

    // Draws the representation upright into target (y-down painter coordinates).
    void drawInRect(QPainter &painter, const QRectF &target) const;
    // The representation as pixels of the given size (its own pixel size when empty).
    QImage toQImage(QSize pixels = {}) const;

private:
    BitmapRep m_bitmap;
    std::shared_ptr<const PdfDocument> m_pdf;
    int m_page = 0;
    Size m_pdfSize;
};
