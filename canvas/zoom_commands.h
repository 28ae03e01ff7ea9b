// The zoom buttons and the zoom field: the next step, or a typed value kept within the limits.
#pragma once

#include "canvas/canvas_command_context.h"

// One step in or out (page_geometry.h); nothing at the limit.
void zoomIn(CanvasCommandContext &context);
void zoomOut(CanvasCommandContext &context);
// A typed zoom, kept within 10 and 900 percent; nothing when the canvas shows it already.
void zoomTo(CanvasCommandContext &context, int percent);
