// The preview plug-in's two generations: the preview (a PDF of the pages) and the thumbnail
// (page 1 as PNG), answered from the previews stored in the file when its preview option
// says so, else drawn from the document's objects.
#pragma once

#include "plugins/preview/preview_interface.h"

#include <QString>

// Pages beyond this many are left out of a preview drawn as page images, and page images
// are at most this many pixels a side: a file cannot make the preview use unbounded memory.
inline constexpr int maximumPreviewPages = 50;
inline constexpr float maximumPreviewPageSide = 3000;

// 0, or -1 when the file holds no document.
int32_t generatePreview(VekPreviewRequest &request, const QString &path);
// Always 0; no answer when there is nothing to show.
int32_t generateThumbnail(VekPreviewRequest &request, const QString &path, VekPreviewSize maxSize);
