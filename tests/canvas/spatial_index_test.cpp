// The spatial index when many objects crowd the same cells: objects leave and join cells in
// any order (each remembering its place in a cell), and areas moved along with a drag step
// answer every query as an index built afresh does.
#include "canvas/spatial_index.h"

#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "platform/foundation/undo_manager.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<const VekObject *> found(const SpatialIndex &index, const Rect &rect)
{
    std::vector<const VekObject *> objects;
    for (const auto &o : index.objectsMeeting(rect))
        objects.push_back(o.get());
    return objects;
}

} // namespace

TEST(SpatialIndexCrowd, MovedAreasAnswerAsAFreshIndex)
{
    VekDocument doc;
    doc.setDrawAreaSizePerPage({1000, 1000});
    doc.undoManager()->disableUndoRegistration();
    std::mt19937 random(11);
    std::uniform_real_distribution<float> place(0, 300), size(2, 40);
    for (int i = 0; i < 400; ++i) {   // hundreds an area of a few cells
        const Rect r(place(random), place(random), size(random), size(random));
        auto o = VekObjPath::create();
        o->setBezierPath(BezierPath::bezierPathWithRect(r));
        o->setBounds(r);
        doc.insertObject(o, 0, false);
    }
    SpatialIndex kept(doc);
    std::uniform_real_distribution<float> step(-90, 90);
    std::uniform_int_distribution<size_t> pick(0, doc.objects().size() - 1);
    for (int round = 0; round < 30; ++round) {
        // A drag step of a random part of the objects, small and large steps alike (some
        // stay in their cells, some change them).
        const float dx = round % 3 == 0 ? 1.5f : step(random), dy = round % 3 == 0 ? -2 : step(random);
        for (int k = 0; k < 150; ++k) {
            const auto &object = doc.objects()[pick(random)];
            object->startBoundsManipulation();
            object->moveBy(dx, dy);
            kept.moveBy(*object, dx, dy);
            object->stopBoundsManipulation();
        }
        SpatialIndex fresh(doc);
        for (const Rect &query : {Rect(0, 0, 1000, 1000), Rect(100, 100, 60, 60), Rect(-200, -200, 250, 250),
                                  Rect(250, 0, 10, 400), Rect(127, 127, 2, 2)})
            ASSERT_EQ(found(kept, query), found(fresh, query)) << "round " << round;
    }
}
