// Reordering the document's stacking order from the objects table and the group outline.
// Rows run in the order of the object list (row 0 is index 0, the front-most object).
#pragma once

#include "canvas/stacking_order.h"

#include <memory>
#include <optional>
#include <vector>

class VekDocument;
class VekObject;

using ObjectList = std::vector<std::shared_ptr<VekObject>>;

// The top-most group of the object's group tree, or "" for an ungrouped object.
QString topGroupOf(const VekDocument &document, const VekObject &object);

// Moves the objects as one block. With `anchor` (a typed line number: the object shown in the
// target row) the block goes to the anchor's place; without, the block moves one step towards
// row 0 (towardsFront) or away from it, past the neighbouring object or the whole top-level
// group that the neighbour belongs to. With an option showing one row per group, a grouped
// object brings its whole group. One undo step "Reorder"; false when nothing moves.
bool moveObjects(VekDocument &document, ObjectList moving, ObjectsTableOption option, bool towardsFront,
                 const std::shared_ptr<VekObject> &anchor = nullptr);

// Moves the object one place within its group, over its neighbour of the same group; one undo
// step "Reorder"; false when the neighbour is not a sibling object.
bool moveWithinGroup(VekDocument &document, const std::shared_ptr<VekObject> &object, bool towardsFront);
