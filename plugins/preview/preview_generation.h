// The preview plug-in's two generations: the preview (a PDF of the pages) and the thumbnail
// (page 1 as PNG), answered from the previews stored in the file when its preview option
// says so, else drawn from the document's objects.
#pragma once

#include "plugins/preview/gui_context.h"
#include "plugins/preview/preview_interface.h"

// Pages beyond this many are left out of a preview drawn as page images, and page images
// are at most this many pixels a side: a file cannot make the preview use unbounded memory.
inline constexpr int maximumPreviewPages = 50;
inline constexpr float maximumPreviewPageSide = 3000;

// `path` is the file's name as the file system holds it. With a GUI context the pages are
// drawn here; in a host without one the thumbnailer draws them (drawing_process.h).
// 0, or -1 when the file holds no document.
int32_t generatePreview(VekPreviewRequest &request, const char *path, GuiContext context);
// Always 0; no answer when there is nothing to show.
int32_t generateThumbnail(VekPreviewRequest &request, const char *path, VekPreviewSize maxSize, GuiContext context);
