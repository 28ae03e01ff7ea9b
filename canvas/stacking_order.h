// Sorting objects into the document's stacking order, and the objects table's column sort
// that reorders the document.
#pragma once

#include <QString>

#include <memory>
#include <vector>

class VekDocument;
class VekObject;

// The objects ordered by their place in the document's list, front-most first; objects
// that are not in the list come last, in their given order.
std::vector<std::shared_ptr<VekObject>> sortObjectsInOrder(const VekDocument &document,
                                                           const std::vector<std::shared_ptr<VekObject>> &objects);

// The objects table's sort keys: "tcNote" (the note as text), "tcPosY" (top edge), "tcPosX"
// (left edge), "tcSzH" (height), "tcSzW" (width). True when a sorts before b; an unknown
// key orders nothing.
bool objectSortsBefore(const VekObject &a, const VekObject &b, const QString &key);
// Sorted by the key, ascending; equal objects keep their order.
void sortObjectsByKey(std::vector<std::shared_ptr<VekObject>> &objects, const QString &key);

// What the objects table shows.
enum class ObjectsTableOption {
    AllObjects = 0,
    CurrentPage = 1,
    OnePerGroup = 2,
    CurrentPageOnePerGroup = 3,
};

// Reorders the document's stacking order by the clicked column of the objects table, whose
// rows are `displayed`, as one undo step "Sort". The options that show one object per group
// move each group's whole tree with it; the options that show a part of the document put the
// sorted rows as one block where the front-most of them stood. A list that would lose or
// repeat an object is never applied: false, and the document is unchanged.
bool sortObjectsWithKey(VekDocument &document, const QString &key,
                        const std::vector<std::shared_ptr<VekObject>> &displayed, ObjectsTableOption option);
