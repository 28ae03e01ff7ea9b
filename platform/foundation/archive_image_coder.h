// Archive decoders of images as the platform archived them: NSImage (version 46) holding an
// NSBitmapImageRep (version 17) whose data is the whole image as a TIFF file. Other image
// versions and representations have no established layout and read as unsupported objects.
// docs/archive-format.md describes the layout.
#pragma once

#include "platform/foundation/archive_result.h"
#include "platform/geometry/geometry.h"

#include <QByteArray>

class ArchiveCoderRegistry;

// What an archived image holds: its image file (TIFF) and its size in points.
struct ArchivedImage {
    QByteArray fileData;
    Size size;
};

void registerImageCoders(ArchiveCoderRegistry &registry);

// The image of an archive whose root is an NSImage in the known layout.
ArchiveResult<ArchivedImage> unarchiveImageWithData(const QByteArray &data);
