// Zoom commands.
#include "canvas/zoom_commands.h"

#include "canvas/page_geometry.h"

void zoomTo(CanvasCommandContext &context, int percent)
{
    percent = clampedZoom(percent);
    if (percent == context.zoom)
        return;
    context.zoom = percent;
    context.host.setCurrentZoom(percent);
}

void zoomIn(CanvasCommandContext &context)
{
    zoomTo(context, zoomInStep(context.zoom));
}

void zoomOut(CanvasCommandContext &context)
{
    zoomTo(context, zoomOutStep(context.zoom));
}
