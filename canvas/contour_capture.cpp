// Collecting the contour tool's points and making the smooth path object from them.
#include "canvas/contour_capture.h"

#include "canvas/path_object_commands.h"
#include "document/vek_document.h"
#include "model/services/canvas_services.h"
#include "platform/foundation/localized_strings.h"
#include "toolkit/path_smoothing.h"

#include <cmath>

namespace {

// The redraw margin around a point or the contour's path.
constexpr float RedrawMargin = 5.0f;
constexpr float PointSquare = 4.0f;
// The ends must lie further apart than this, in x and in y, before closing is offered.
constexpr int CloseDistance = 2;
constexpr int RefinementPasses = 3;

Rect pointArea(Point p)
{
    return insetRect(Rect(p.x - PointSquare / 2, p.y - PointSquare / 2, PointSquare, PointSquare), -RedrawMargin,
                     -RedrawMargin);
}

} // namespace

Rect ContourCapture::startContourAt(Point p)
{
    m_contour.emplace();
    m_contour->addPoint(p);
    return pointArea(p);
}

Rect ContourCapture::continueContourAt(Point p)
{
    if (!m_contour)
        return Rect();
    m_contour->addPoint(p);
    const BezierPath path = m_contour->getPath();
    return path.isEmpty() ? pointArea(p) : insetRect(path.bounds(), -RedrawMargin, -RedrawMargin);
}

std::shared_ptr<VekObject> ContourCapture::finish(CanvasCommandContext &context,
                                                  const ContourCloseQuestion &askToClose)
{
    std::optional<VekContourPoints> contour = std::move(m_contour);
    m_contour.reset();
    return contour ? createPathObjectWithContourPoints(context, std::move(*contour), askToClose) : nullptr;
}

void ContourCapture::drawPoints(CanvasServices &view) const
{
    if (!m_contour)
        return;
    for (const Point p : m_contour->points())
        view.drawKnobAtPoint(p, Color::redColor());
}

std::shared_ptr<VekObject> createPathObjectWithContourPoints(CanvasCommandContext &context,
                                                             VekContourPoints contour,
                                                             const ContourCloseQuestion &askToClose)
{
    if (contour.count() <= 1)
        return nullptr;
    if (!contour.closed() && contour.count() > 2) {
        const Point first = contour.firstPoint(), last = contour.lastPoint();
        const int dx = int(std::trunc(first.x - last.x)), dy = int(std::trunc(first.y - last.y));
        if (std::abs(dx) > CloseDistance && std::abs(dy) > CloseDistance && askToClose && askToClose())
            contour.close();
    }
    for (int pass = 0; pass < RefinementPasses; ++pass)
        contour = contour.doFourPoint();
    const BezierPath refined = contour.getPath();
    if (refined.isEmpty())
        return nullptr;
    const std::shared_ptr<VekObject> object = insertNewPathObject(context, smoother(refined));
    context.document.undoManager()->setActionName(localizedString(QStringLiteral("Create Object")));
    return object;
}
