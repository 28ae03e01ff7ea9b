// Where the filter panel puts its preview: a TIFF file, a new image object beside the
// panel's object, the object itself, or the clipboard.
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
        if (tag == NewImageObject) {
            const Rect bounds = object->bounds();
            filterPanelServices().createObjImageWith(*object->document(), Image(bitmap),
                                                     Point(bounds.origin.x + 10, bounds.origin.y + 10), bounds.size);
        } else if (isCurrentReferentAlive()) {
            // An object that has left its document is never written to: it lives on only
            // in the document's undo history.
            object->setImage(Image(bitmap));
        }
        return;
    }
    auto *data = new QMimeData;
    data->setData(QStringLiteral("image/tiff"), encodeBitmap(bitmap, "tiff"));
    data->setData(QStringLiteral("image/png"), encodeBitmap(bitmap, "png"));
    QGuiApplication::clipboard()->setMimeData(data);
}
