// What an export takes from a document: the whole document, or an area with the objects in
// it, optionally only the selected objects with the background inside their outlines.
#pragma once

#include "platform/geometry/bezier_path.h"
#include "platform/geometry/geometry.h"

#include <memory>
#include <optional>
#include <vector>

class VekDocument;
class VekObject;

struct ExportSelection {
    Rect area;                                          // empty: the whole document
    std::vector<std::shared_ptr<VekObject>> objects;    // empty: every object of the document
    bool selectedOnly = false;                          // the background only inside the objects

    bool isWholeDocument() const { return area.isEmpty(); }
    // The clip of the background for a selection: the objects' outlines together (non-zero
    // winding); none otherwise.
    std::optional<BezierPath> backgroundClip() const;
};

// Draws the area of the document into the current graphics context with the area's top left
// at the origin: the page loop of the canvas (backgrounds, clip paths, repeating objects,
// shadows and drawing bounds) limited to the area and to the selection's objects. Outputs
// that end at the area themselves (a page of its size) need no clip to it.
void drawDocumentArea(VekDocument &document, const ExportSelection &selection, bool opaque, bool clipToArea);
