// Dragging the selection out of the canvas: a move that leaves the canvas's window becomes a
// drag of copies of the selected objects, as the document's own data with their picture
// beside it (what the clipboard carries), so that another canvas or program can take them.
#include "canvas/ui/vek_view.h"

#include "canvas/canvas_notifications.h"
#include "document/vek_document.h"
#include "model/vek_object.h"
#include "platform/foundation/notification_center.h"
#include "toolkit/ui/drag_session.h"

#include <QDrag>
#include <QMimeData>
#include <QPixmap>

namespace {

// Marks the data of a canvas's selection, which Qt hands the drop target as it was made.
const char *const CanvasSourceProperty = "vekCanvasSelection";

} // namespace

QMimeData *VekView::mimeDataOfSelection() const
{
    const ObjectList selected = selectedObjectsInObjectsOrder();
    if (selected.empty())
        return nullptr;
    auto *mime = new QMimeData;
    mime->setData(VekantoDocumentMimeType, m_document.vekDocumentDataForObjects(selected, std::nullopt, false, false));
    mime->setImageData(imageOfSelectedObjects());
    mime->setProperty(CanvasSourceProperty, true);
    return mime;
}

bool VekView::isCanvasSelectionData(const QMimeData &mime)
{
    return mime.property(CanvasSourceProperty).toBool() && mime.hasFormat(VekantoDocumentMimeType);
}

bool VekView::pointLeavesView(Point inWindow) const
{
    return !window()->rect().contains(QPointF(inWindow.x, inWindow.y).toPoint());
}

void VekView::prepareDragToObjMatrix()
{
    if (selectedObjects().empty())
        return;
    NotificationCenter::defaultCenter().postNotificationName(VekViewDidPrepareDraggingNotification, this);
    dragSelectionOut();
}

void VekView::dragSelectionOut()
{
    QMimeData *mime = mimeDataOfSelection();
    if (!mime)
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    const QImage picture = qvariant_cast<QImage>(mime->imageData());
    if (!picture.isNull()) {
        const QPixmap pixmap = QPixmap::fromImage(picture);
        drag->setPixmap(pixmap);
        drag->setHotSpot(QPoint(pixmap.width() / 2, pixmap.height() / 2));
    }
    runDrag(drag, Qt::CopyAction, Qt::CopyAction);
}
