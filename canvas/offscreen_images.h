// Off-screen images of a document as the canvas draws it: any rectangle (or the selected
// objects alone, trimmed to what they cover) and the preview of a page on its paper.
#pragma once

#include "platform/geometry/geometry.h"
#include "platform/image/image.h"

#include <QImage>
#include <QString>

#include <functional>

#include <memory>
#include <vector>

class VekDocument;
class VekObject;

struct CanvasImageRequest {
    Rect rect;                 // canvas coordinates; empty: the whole canvas
    bool opaque = false;       // a (nearly) transparent background becomes white
    // Only `selected` is drawn, the background only inside their outlines, and the image
    // is trimmed to the drawn pixels.
    bool pathClip = false;
    bool drawingToCopy = false;   // no background at all (the clipboard's picture)
    std::vector<std::shared_ptr<VekObject>> selected;
    bool keepRGB = false;         // no CMYK conversion, whatever the document uses
    float scale = 1;              // pixels per point
};

// `scale` pixels per point (one as the canvas draws at 100 %); a CMYK image when the document uses
// CMYK (the RGB image when that conversion fails). Invalid when nothing can be drawn.
Image imageWithinRect(VekDocument &document, const CanvasImageRequest &request);

// The image imageWithinRect makes (in RGB, whatever the document uses), drawn in bands
// (renderInBands) rather than whole: `start` gets the image's size and answers the height of
// the bands, then `take` gets each band as it is drawn, from several threads and in any
// order. False (and nothing started) for a path clip, which trims the image to what it
// draws, or when nothing can be drawn; false afterwards when a band could not be drawn.
bool imageWithinRectInBands(VekDocument &document, const CanvasImageRequest &request,
                            const std::function<int(QSize pixels)> &start,
                            const std::function<void(int band, const QImage &pixels)> &take);

// The preview of a page on white paper of the print settings' size, at `scale` pixels per
// point: the page at its place on the paper, with header and footer when the document
// adds them there, and the page's outline in grey when showMargin. A page number out of
// range shows page 1.
QImage previewOfPage(VekDocument &document, int page, bool showMargin, float scale, const QString &displayName);
