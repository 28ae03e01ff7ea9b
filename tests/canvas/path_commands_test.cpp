// The path commands of the selection: merging and the conversion into plain path objects,
// each against the document and its undo.
#include "canvas/path_commands.h"

#include "model/object_registry.h"
#include "model/vek_obj_marker.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_points.h"
#include "model/services/shell_services.h"
#include "tests/canvas/command_fixture.h"
#include "tests/support/path_helpers.h"

namespace {

struct PathFixture : CommandFixture {
    // A path object of the path, behind the objects added before it.
    template <typename Kind = VekObjPath>
    std::shared_ptr<VekObject> addPath(const BezierPath &path)
    {
        auto object = Kind::create();
        object->setBounds(path.bounds());
        object->setBezierPath(path);
        doc.insertObject(object, int(doc.objects().size()), false);
        return object;
    }
};

} // namespace

TEST(PathCommands, MergeJoinsTheEditablePathsIntoTheFirstAndUndoesExactly)
{
    PathFixture f;
    const auto a = f.addPath(polyline({{0, 0}, {10, 0}}));
    const auto text = f.add({50, 50, 20, 20});   // no editable path
    const auto b = f.addPath(polyline({{10, 0}, {10, 10}}));
    const auto c = f.addPath(polyline({{40, 40}, {60, 60}}));
    f.settle();
    const BezierPath pathBefore = a->bezierPath();
    const Rect boundsBefore = a->bounds();

    auto context = f.context({a, text, b, c});
    mergeBezierPaths(context);
    f.step();

    EXPECT_EQ(f.order(), (std::vector<VekObject *>{a.get(), text.get()}));
    // B continues A at the shared end; C, apart, is a sub-path of its own.
    EXPECT_EQ(kinds(a->bezierPath()), (std::vector<int>{0, 1, 1, 0, 1}));
    EXPECT_TRUE(pointNear(a->bezierPath().element(2).endPoint(), {10, 10}));
    EXPECT_EQ(a->bounds(), Rect(0, 0, 60, 60));
    EXPECT_EQ(f.doc.undoManager()->undoActionName(), QStringLiteral("Merge Paths"));

    f.undo();
    EXPECT_EQ(f.order(), (std::vector<VekObject *>{a.get(), text.get(), b.get(), c.get()}));
    EXPECT_EQ(a->bounds(), boundsBefore);
    ASSERT_EQ(a->bezierPath().elementCount(), pathBefore.elementCount());
    for (int i = 0; i < pathBefore.elementCount(); ++i)
        EXPECT_TRUE(pointNear(a->bezierPath().element(i).endPoint(), pathBefore.element(i).endPoint()));

    f.redo();
    EXPECT_EQ(f.order(), (std::vector<VekObject *>{a.get(), text.get()}));
    EXPECT_EQ(a->bounds(), Rect(0, 0, 60, 60));
    EXPECT_EQ(kinds(a->bezierPath()), (std::vector<int>{0, 1, 1, 0, 1}));
}

TEST(PathCommands, MergeNeedsTwoSelectedObjectsAndAnEditablePath)
{
    PathFixture f;
    const auto a = f.addPath(polyline({{0, 0}, {10, 0}}));
    const auto plain1 = f.add({0, 0, 5, 5});
    const auto plain2 = f.add({10, 0, 5, 5});
    f.settle();
    for (const auto &selection : {std::vector<std::shared_ptr<VekObject>>{a},
                                  std::vector<std::shared_ptr<VekObject>>{plain1, plain2}}) {
        auto context = f.context(selection);
        mergeBezierPaths(context);
        f.step();
        EXPECT_EQ(f.doc.objects().size(), 3u);
        EXPECT_FALSE(f.doc.undoManager()->canUndo());
    }
}

TEST(PathCommands, ConversionReplacesMarkersAndPointPathsInPlaceAndInTheirGroup)
{
    PathFixture f;
    const auto front = f.add({0, 0, 5, 5});
    const auto marker = f.addPath<VekObjMarker>(polyline({{0, 0}, {30, 10}}));
    const auto points = f.addPath<VekObjPoints>(polyline({{5, 5}, {25, 5}, {25, 25}}));
    const auto other = f.add({40, 40, 5, 5});
    f.doc.groupObjects({points, other});
    static_cast<VekObjMarker &>(*marker).setColorNr(3);
    f.settle();
    const QString group = points->groupID();
    const Color markerColour = marker->strokeColor();

    auto context = f.context({marker, front, points});
    convertToNormal(context);
    f.step();

    const auto &objects = f.doc.objects();
    ASSERT_EQ(objects.size(), 4u);
    EXPECT_EQ(objects[0], front);
    for (size_t i : {1u, 2u})
        EXPECT_EQ(objects[i]->className(), QStringLiteral("VekObjPath"));
    EXPECT_EQ(objects[3], other);
    // The converted marker keeps its look as a plain stroke colour.
    EXPECT_EQ(objects[1]->strokeColor(), markerColour);
    EXPECT_FALSE(objects[1]->propertyListRepresentation().contains(QStringLiteral("markerColor")));
    EXPECT_EQ(objects[1]->bezierPath().elementCount(), marker->bezierPath().elementCount());
    EXPECT_EQ(objects[2]->groupID(), group);
    EXPECT_EQ(objects[2]->bounds(), points->bounds());
    EXPECT_EQ(f.doc.undoManager()->undoActionName(), QStringLiteral("Class Conversion"));

    f.undo();
    EXPECT_EQ(f.order(), (std::vector<VekObject *>{front.get(), marker.get(), points.get(), other.get()}));
    EXPECT_EQ(points->groupID(), group);
}

TEST(PathCommands, SimpleCommandsNameTheirStepsAsTheirUsersSeeThem)
{
    struct Case {
        void (*command)(CanvasCommandContext &);
        const char *undoName;   // null: the step keeps no name of its own
    };
    const Case cases[] = {{makeSmoother, "Smooth"}, {closeBezierPaths, "Close Path"}, {pathReverse, "Reverse"},
                          {makePositive, nullptr}, {makeStraight, nullptr}};
    for (const Case &c : cases) {
        PathFixture f;
        const auto path = f.addPath(polyline({{0, 0}, {10, 0}, {10, 10}, {20, 15}}));
        f.settle();
        auto empty = f.context();
        c.command(empty);
        f.step();
        EXPECT_FALSE(f.doc.undoManager()->canUndo());

        auto context = f.context({path});
        c.command(context);
        f.step();
        EXPECT_EQ(f.doc.undoManager()->undoActionName(), c.undoName ? QString::fromLatin1(c.undoName) : QString());
    }
}

TEST(PathCommands, CloseAndReverseChangeThePathAndUndoRestoresIt)
{
    PathFixture f;
    const auto path = f.addPath(polyline({{0, 0}, {10, 0}, {10, 10}}));
    f.settle();
    auto context = f.context({path});
    closeBezierPaths(context);
    f.step();
    EXPECT_EQ(kinds(path->bezierPath()).back(), 3);
    f.undo();
    EXPECT_EQ(kinds(path->bezierPath()), (std::vector<int>{0, 1, 1}));

    pathReverse(context);
    f.step();
    EXPECT_TRUE(pointNear(path->bezierPath().element(0).endPoint(), {10, 10}));
    f.undo();
    EXPECT_TRUE(pointNear(path->bezierPath().element(0).endPoint(), {0, 0}));
}
