// Placing a file on the current page: pictures and PDF files as one image object, SVG files
// as the drawing objects they hold, each at its natural size unless the page is smaller.
#include "canvas/ui/vek_view.h"

#include "document/vek_document.h"
#include "model/vek_object.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/undo_manager.h"
#include "platform/image/image_file.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

// The factor (at most 1) that brings `size` inside `room`, keeping its proportions.
float fittingScale(Size size, Size room)
{
    if (!(size.width > 0) || !(size.height > 0))
        return 1;
    return std::min({1.0f, room.width / size.width, room.height / size.height});
}

bool isSvgFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("svg") || suffix == QLatin1String("svgz");
}

} // namespace

bool VekView::placeFileOnCurrentPage(const QString &path, QString *error)
{
    QString reason;
    const Rect page = rectForPage(m_currentPage);
    const Point middle{page.midX(), page.midY()};
    if (isSvgFile(path)) {
        const std::unique_ptr<VekDocument> imported = VekDocument::documentFromSVGFile(path, &reason);
        if (!imported) {
            *error = reason;
            return false;
        }
        const float scale = fittingScale(VekDocument::boundsForObjects(imported->objects()).size, page.size);
        if (scale < 1)
            imported->scaleObjectsByX(scale, scale);
        if (!pasteObjects(imported->vekDocumentDataForObjects(imported->objects(), std::nullopt, false, false), NoPoint)) {
            *error = localizedString(QStringLiteral("The SVG file holds nothing that can be drawn."));
            return false;
        }
        const ObjectList placed = selectedObjects();
        const Rect all = VekDocument::boundsForObjects(placed);
        const float dx = std::round(middle.x - all.midX()), dy = std::round(middle.y - all.midY());
        for (const auto &object : placed)
            object->moveBy(dx, dy);
    } else {
        const Image image = readImageFile(path, &reason);
        if (!image.isValid()) {
            *error = reason.isEmpty() ? localizedString(QStringLiteral("It is not an image, PDF or SVG file.")) : reason;
            return false;
        }
        const float scale = fittingScale(image.size(), page.size);
        const Size size{image.size().width * scale, image.size().height * scale};
        const Point origin{middle.x - size.width / 2, middle.y - size.height / 2};
        if (!createObjImageWith(image, origin, size)) {
            *error = localizedString(QStringLiteral("It is not an image, PDF or SVG file."));
            return false;
        }
    }
    m_document.undoManager()->setActionName(localizedString(QStringLiteral("Place Image")));
    viewport()->update();
    return true;
}
