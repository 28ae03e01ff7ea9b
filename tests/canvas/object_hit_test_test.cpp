// Hit testing through the spatial index finds what walking every object finds: the same
// object under each point and the same objects in each rectangle, with overlapping, grouped,
// repeating and thin objects, whatever is selected, and after objects move.
#include "canvas/object_hit_test.h"
#include "canvas/offscreen_canvas.h"
#include "canvas/spatial_index.h"

#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr float PageWidth = 400, PageHeight = 300;

// The plain definitions: the selected objects first, then every object front to back.
std::shared_ptr<VekObject> walkedObjectUnder(const VekDocument &doc, const HitObjects &selected, Point p,
                                             bool extended)
{
    for (const auto &object : selected)
        if (object->containsPoint(p, extended))
            return object;
    for (const auto &object : doc.objects())
        if (std::find(selected.begin(), selected.end(), object) == selected.end() && object->containsPoint(p, extended))
            return object;
    return nullptr;
}

HitObjects walkedObjectsIn(const VekDocument &doc, const Rect &r)
{
    HitObjects found;
    for (const auto &object : doc.objects())
        if (intersectsRect(withLeastSize(object->bounds(), 1), r))
            found.push_back(object);
    return found;
}

// Two pages of overlapping squares and curves, two groups, objects repeated on every page
// and on odd pages, a vertical line without width, and one object as large as the canvas.
struct HitDocument {
    HitDocument() : canvas(doc)
    {
        ensureGuiApp();
        doc.setDrawAreaSizePerPage({PageWidth, PageHeight});
        doc.setNumberOfPages(2);
        doc.setVekView(&canvas);
        doc.setHasWindow(true);
        doc.undoManager()->disableUndoRegistration();
        add(Rect(0, 0, PageWidth, 2 * PageHeight));   // at the back
        std::mt19937 random(11);
        std::uniform_real_distribution<float> x(-20, PageWidth), y(-20, 2 * PageHeight), side(5, 80);
        for (int i = 0; i < 150; ++i)
            add(Rect(x(random), y(random), side(random), side(random)));
        doc.groupObjects({doc.objects()[3], doc.objects()[10], doc.objects()[40]});
        doc.groupObjects({doc.objects()[70], doc.objects()[71]});
        add(Rect(50, 250, 80, 30))->setRepeatType(3);
        add(Rect(250, 20, 60, 40))->setRepeatType(1);
        add(Rect(333, 10, 0, 200));
        index = std::make_unique<SpatialIndex>(doc);
    }
    ~HitDocument()
    {
        index.reset();
        doc.setVekView(nullptr);
    }
    std::shared_ptr<VekObjPath> add(const Rect &r)
    {
        auto o = VekObjPath::create();
        o->setBezierPath(BezierPath::bezierPathWithRect(r));
        o->setBounds(r);
        o->setDrawsFill(true);
        o->setDrawsStroke(true);
        doc.insertObject(o, 0, false);
        return o;
    }
    // Every point of a 7-point grid over both pages and a little beyond: the same object.
    void expectSameObjectsUnderPoints(const HitObjects &selected, bool extended)
    {
        index->refresh();
        for (float py = -25; py < 2 * PageHeight + 25; py += 7)
            for (float px = -25; px < PageWidth + 25; px += 7) {
                const Point p{px, py};
                ASSERT_EQ(objectUnderPoint(*index, selected, p, extended), walkedObjectUnder(doc, selected, p, extended))
                    << px << "," << py << (extended ? " extended" : "");
            }
    }
    VekDocument doc;
    OffscreenCanvas canvas;
    std::unique_ptr<SpatialIndex> index;
};

} // namespace

TEST(ObjectHitTest, FindsTheSameObjectUnderEveryPointAsWalkingTheList)
{
    HitDocument t;
    const auto &objects = t.doc.objects();
    const HitObjects selections[] = {{},
                                     {objects[5]},
                                     {objects[120], objects[3], objects[10], objects[40]},   // a group among them
                                     {objects.back(), objects[0]}};   // the whole-canvas object in front
    for (const HitObjects &selected : selections)
        for (bool extended : {false, true})
            t.expectSameObjectsUnderPoints(selected, extended);
}

TEST(ObjectHitTest, FollowsObjectsThatMoveOrLeave)
{
    HitDocument t;
    const auto &objects = t.doc.objects();
    objects[7]->setBounds(Rect(150, 400, 90, 90));
    objects[20]->setRepeatType(3);
    t.doc.removeObject(objects[30]);
    t.expectSameObjectsUnderPoints({}, false);
}

TEST(ObjectHitTest, FindsTheSameObjectsInRectanglesAsWalkingTheList)
{
    HitDocument t;
    t.index->refresh();
    for (const Rect &r : {Rect(333, 50, 0.5f, 0.5f),   // only the line without width
                          Rect(0, 0, 60, 60), Rect(100, 320, 150, 150), Rect(60, 560, 20, 20),
                          Rect(-50, -50, 10, 10), Rect(0, 0, PageWidth, 2 * PageHeight)})
        EXPECT_EQ(objectsIntersectingRect(*t.index, r), walkedObjectsIn(t.doc, r)) << r.origin.x << "," << r.origin.y;
}
