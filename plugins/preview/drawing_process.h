// Pages drawn in a process of their own, for hosts whose Qt application has no GUI (there
// the plug-in can neither use fonts nor make a second application): the thumbnailer, a Qt
// GUI host of this same plug-in, draws the file and the answer is read back.
#pragma once

#include "plugins/preview/preview_interface.h"

#include <QByteArray>

// The preview PDF (preview) or the thumbnail PNG fitted into `maxSize` of the document at
// `path`; empty when the thumbnailer is missing or gave nothing.
QByteArray drawnByThumbnailer(const char *path, bool preview, VekPreviewSize maxSize);
