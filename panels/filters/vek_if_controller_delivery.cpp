// Where the filter panel puts its preview: a TIFF file, a new image object beside the
// panel's object, the object itself, or the clipboard. A preview that a filter grew past
// the picture's edges keeps the object's scale: the bounds grow by the margin.
#include "panels/filters/vek_if_controller.h"

#include "model/services/document_services.h"
#include "model/vek_obj_image.h"
#include "panels/document_dialogs.h"
#include "panels/filters/filter_panel_services.h"
#include "panels/filters/vek_if_view.h"
#include "platform/foundation/localized_strings.h"
#include "platform/image/image_file.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

// The bounds that show `pixels` at the scale and about the centre at which `bounds` show the
// object's picture: a filter that spread past the picture's edges (blur, bloom) grows the
// bounds by its margin, in the object's units.
Rect boundsForPicture(const Rect &bounds, const BitmapRep &current, QSize pixels)
{
    if (current.pixelsWide() <= 0 || current.pixelsHigh() <= 0)
        return bounds;
    const float sx = bounds.size.width / float(current.pixelsWide());
    const float sy = bounds.size.height / float(current.pixelsHigh());
    const float grownX = float(pixels.width() - current.pixelsWide()) * 0.5f * sx;
    const float grownY = float(pixels.height() - current.pixelsHigh()) * 0.5f * sy;
    return Rect(bounds.origin.x - grownX, bounds.origin.y - grownY, bounds.size.width + 2 * grownX,
                bounds.size.height + 2 * grownY);
}

} // namespace

void VekIFController::useImage(int tag)
{
    const QImage picture = m_imageView->image();
    if (picture.isNull())
        return;
    const BitmapRep bitmap(picture);
    if (tag == TiffFile) {
        const std::optional<QString> path = filterPanelServices().runTiffSavePanel(this);
        if (!path)
            return;
        if (!path->isEmpty() && writeBitmapFile(bitmap, *path, "tiff"))
            filterPanelServices().revealFile(*path);
        else
            documentDialogs().showAlert(this, QString(), localizedString(QStringLiteral("Sorry, failed to save.")));
        return;
    }
    if (tag == NewImageObject || tag == ReplaceImage) {
        const auto object = m_object.lock();
        if (!object || !object->document() || !object->document()->vekView())
            return;
        const Rect bounds = boundsForPicture(object->bounds(), object->image().bitmap(), picture.size());
        if (tag == NewImageObject) {
            filterPanelServices().createObjImageWith(*object->document(), Image(bitmap),
                                                     Point(bounds.origin.x + 10, bounds.origin.y + 10), bounds.size);
        } else if (isCurrentReferentAlive()) {
            // An object that has left its document is never written to: it lives on only
            // in the document's undo history. The picture and the bounds change as one step.
            object->setImage(Image(bitmap));
            object->setBounds(bounds);
        }
        return;
    }
    auto *data = new QMimeData;
    data->setData(QStringLiteral("image/tiff"), encodeBitmap(bitmap, "tiff"));
    data->setData(QStringLiteral("image/png"), encodeBitmap(bitmap, "png"));
    QGuiApplication::clipboard()->setMimeData(data);
}
