// Drops on the canvas and the objects made from files and images: a colour recolours the
// selected object under it, files and pictures become image objects.
#include "canvas/ui/vek_view.h"

#include "document/vek_document.h"
#include "model/vek_obj_image.h"
#include "platform/foundation/localized_strings.h"
#include "platform/image/image_file.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>

#include <cmath>

namespace {

bool canDrop(const QMimeData &mime)
{
    return mime.hasColor() || mime.hasUrls() || mime.hasImage();
}

// A file that is not a picture shows its icon.
QImage iconOfFile(const QString &path)
{
    return QFileIconProvider().icon(QFileInfo(path)).pixmap(512, 512).toImage();
}

} // namespace

void VekView::dragEnterEvent(QDragEnterEvent *event)
{
    if (canDrop(*event->mimeData()))
        event->acceptProposedAction();
}

void VekView::dragMoveEvent(QDragMoveEvent *event)
{
    if (canDrop(*event->mimeData()))
        event->acceptProposedAction();
}

void VekView::dropEvent(QDropEvent *event)
{
    const QPointF inWindow = viewport()->mapTo(window(), event->position());
    if (dropMimeData(*event->mimeData(), convertPointFromWindow({float(inWindow.x()), float(inWindow.y())}),
                     event->modifiers() & Qt::AltModifier))
        event->acceptProposedAction();
}

bool VekView::dropMimeData(const QMimeData &mime, Point at, bool optionKey)
{
    clearPasteConditions();
    if (mime.hasColor()) {
        const auto object = objectUnderPoint(at, false);
        if (!object || !objectIsSelected(*object))
            return false;
        const QColor dropped = qvariant_cast<QColor>(mime.colorData()).toRgb();
        const Color color = Color::colorWithCalibratedRed(float(dropped.redF()), float(dropped.greenF()),
                                                          float(dropped.blueF()), float(dropped.alphaF()));
        if (object->canDrawFill())
            object->setFillColor(color);
        else if (object->canDrawStroke())
            object->setObjStrokeColor(color);
        else
            return false;
        m_document.undoManager()->setActionName(localizedString(QStringLiteral("Change Color")));
        return true;
    }
    if (mime.hasUrls()) {
        bool made = false;
        for (const QUrl &url : mime.urls()) {
            if (url.isLocalFile() && makeNewObjectFromFile(url.toLocalFile(), at, optionKey))
                made = true;
            at.y += 10;
        }
        return made;
    }
    return mime.hasImage() && makeNewImageObjectFromImage(qvariant_cast<QImage>(mime.imageData()), at);
}

bool VekView::makeNewObjectFromFile(const QString &path, Point at, bool)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    Image image;
    if (!QFileInfo(path).isDir())
        image = readImageFile(path);
    if (!image.isValid()) {
        const QImage icon = iconOfFile(path);
        if (icon.isNull())
            return false;
        image = Image(icon);
        image.setSize({512, 512});
    }
    return createObjImageWith(image, at, Size());
}

bool VekView::makeNewImageObjectFromImage(const QImage &picture, Point at)
{
    return !picture.isNull() && createObjImageWith(Image(picture), at, Size());
}

bool VekView::createObjImageWith(const Image &image, Point at, Size size)
{
    if (!image.isValid())
        return false;
    if (at == Point{0, 0} || at == NoPoint)
        at = visibleRect().origin;
    if (size == Size()) {
        // Fitted into the canvas, keeping the proportions, against the edge it fills.
        const Size canvas = bounds().size;
        size = image.size();
        const Size natural = size;
        if (size.width > canvas.width) {
            size.height *= canvas.width / size.width;
            size.width = canvas.width;
        }
        if (size.height > canvas.height) {
            size.width *= canvas.height / size.height;
            size.height = canvas.height;
        }
        if (!(size == natural) && !(size == Size())) {
            if (size.width == canvas.width)
                at.x = 0;
            if (size.height == canvas.height)
                at.y = 0;
        }
    }
    const auto object = VekObjImage::create();
    m_document.insertObject(object, 0, true);
    object->setBounds(Rect(std::round(at.x), std::round(at.y), size.width, size.height));
    object->setImage(image);
    clearSelection();
    selectObject(object);
    return true;
}
