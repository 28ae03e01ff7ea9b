// Writing documents, areas and selections as SVG: the drawing is recorded, then written.
#include "export/svg_export.h"

#include "canvas/offscreen_canvas.h"
#include "document/vek_document.h"
#include "platform/foundation/file_writing.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/recording_paint_device.h"
#include "platform/graphics/svg_writer.h"

#include <cmath>

QByteArray documentAreaAsSVG(VekDocument &document, const ExportSelection &selection, bool textAsText, QString *error)
{
    const Rect area = selection.isWholeDocument() ? OffscreenCanvas(document).bounds() : selection.area;
    if (area.isEmpty()) {
        if (error)
            *error = QStringLiteral("the area is empty");
        return {};
    }
    // The recording is 72 dpi, one unit a point, so the drawing is vector output as for print.
    RecordingPaintDevice device(QSize(int(std::ceil(area.size.width)), int(std::ceil(area.size.height))));
    {
        GraphicsContext context(&device, GraphicsContext::Output::Printer);
        GraphicsContext::Scope current(context);
        drawDocumentArea(document, selection, false, false);
    }
    return svgDocumentFromDraws(device.draws(), QSizeF(area.size.width, area.size.height), textAsText);
}

bool saveAsSvg(VekDocument &document, const QString &path, const ExportSelection &selection, bool textAsText,
               QString *error)
{
    const QByteArray svg = documentAreaAsSVG(document, selection, textAsText, error);
    return !svg.isEmpty() && writeWholeFile(path, svg, error);
}
