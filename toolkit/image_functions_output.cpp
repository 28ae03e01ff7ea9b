// One-page PDF files of images, and the screen resolution.
#include "toolkit/image_functions.h"

#include "platform/foundation/file_writing.h"
#include "platform/pdf/pdf_document.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QScreen>

#include <cmath>

bool SaveImageAsPDF(const Image &image, const QString &path)
{
    if (path.isEmpty() || !image.isValid())
        return false;
    const BitmapRep bitmap = image.bitmap();
    const Size size = image.size();
    if (bitmap.isNull() || !(size.width > 0 && size.height > 0))
        return false;

    // The whole file is made in memory and checked before anything touches the path.
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(72);
        writer.setPageLayout(QPageLayout(QPageSize(QSizeF(size.width, size.height), QPageSize::Point),
                                         QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(0, 0, size.width, size.height), bitmap.toQImage());
        if (!painter.end())
            return false;
    }
    auto reopened = PdfDocument::openData(pdf);
    if (!reopened || reopened->pageCount() != 1)
        return false;

    return writeWholeFile(path, pdf);
}

float screenResolution(float widthPixels, float widthMillimetres)
{
    if (!(widthPixels > 0) || !(widthMillimetres > 0) || !std::isfinite(widthPixels)
        || !std::isfinite(widthMillimetres))
        return 72.0f;
    const float dpi = widthPixels / (widthMillimetres * 0.1f * 0.3937008f);
    return std::isfinite(dpi) ? dpi : 72.0f;
}

float GetCurrentScreenResolution()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return 72.0f;
    const QList<QScreen *> screens = QGuiApplication::screens();
    QScreen *first = screens.isEmpty() ? QGuiApplication::primaryScreen() : screens.first();
    QScreen *main = QGuiApplication::primaryScreen();
    if (!first || !main)
        return 72.0f;
    return screenResolution(float(first->geometry().width()), float(main->physicalSize().width()));
}
