// Image representations: bitmaps and PDF pages, measured and drawn alike.
#include "platform/image/image_rep.h"

#include "platform/image/pixel_budget.h"

#include "platform/pdf/pdf_document.h"

#include <cmath>

ImageRep::ImageRep(BitmapRep bitmap) : m_bitmap(std::move(bitmap)) {}

ImageRep::ImageRep(std::shared_ptr<const PdfDocument> document, int page)
    : m_pdf(std::move(document)), m_page(page), m_pdfSize(m_pdf ? m_pdf->pageSize(page) : Size{})
{
}

int ImageRep::pixelsWide() const
{
    return m_pdf ? int(std::lround(m_pdfSize.width)) : m_bitmap.pixelsWide();
}

int ImageRep::pixelsHigh() const
{
    return m_pdf ? int(std::lround(m_pdfSize.height)) : m_bitmap.pixelsHigh();
}

Size ImageRep::size() const
{
    return m_pdf ? m_pdfSize : m_bitmap.size();
}

void ImageRep::setSize(Size size)
{
    if (m_pdf)
        m_pdfSize = size;
    else
        m_bitmap.setSize(size);
}

void ImageRep::drawInRect(QPainter &painter, const QRectF &target) const
{
    if (m_pdf) {
        m_pdf->drawPage(m_page, painter, target);
        return;
    }
    if (m_bitmap.isNull())
        return;
    painter.drawImage(target, m_bitmap.toQImage());
}

QImage ImageRep::toQImage(QSize pixels) const
{
    if (pixels.isEmpty())
        pixels = QSize(pixelsWide(), pixelsHigh());
    if (pixels.isEmpty())
        return {};
    if (!m_pdf && pixels == QSize(m_bitmap.pixelsWide(), m_bitmap.pixelsHigh()))
        return m_bitmap.toQImage();
    // A rendering only has to look right: one larger than the budget is made smaller.
    pixels = PixelBudget::fitted(pixels.width(), pixels.height());
    QImage out = PixelBudget::allocate(pixels.width(), pixels.height(), QImage::Format_RGBA8888_Premultiplied);
    if (out.isNull())
        return out;
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    drawInRect(painter, QRectF(0, 0, pixels.width(), pixels.height()));
    return out;
}
