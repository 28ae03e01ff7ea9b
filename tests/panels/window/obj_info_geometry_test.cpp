// Location and size typed in centimetres for three objects, with relative move on and off,
// rotation of a selection, and the point table of a path: a point edited in the table and
// the points copied as text.
#include "tests/panels/window/obj_info_fixture.h"

#include "model/services/shell_services.h"
#include "platform/foundation/c_locale.h"
#include "platform/foundation/notification_center.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QClipboard>
#include <QComboBox>
#include <QTableWidget>

namespace {

constexpr float PointsPerCm = 28.35f;

class InspectorGeometry : public InspectorWindow {
protected:
    void selectThree()
    {
        objects = {addRect(Rect(30, 30, 60, 40)), addRect(Rect(150, 80, 40, 40)), addRect(Rect(300, 200, 80, 20))};
        select({objects[0], objects[1], objects[2]});
        current = inspector().currentObject();
        ASSERT_TRUE(current);
    }
    // Every object's bounds, rotation and path points: what a geometry step changes. Turning
    // back a path rounds its points, so undo is compared within a thousandth of a point.
    std::vector<float> geometry() const
    {
        std::vector<float> values;
        for (const auto &o : doc.objects()) {
            const Rect b = o->bounds();
            values.insert(values.end(), {b.origin.x, b.origin.y, b.width(), b.height(), o->objRotation()});
            const BezierPath path = o->bezierPath();
            for (int i = 0; i < path.elementCount(); ++i) {
                Point points[3];
                const int count = path.element(i).pointCount();
                path.elementAtIndex(i, points);
                for (int j = 0; j < count; ++j)
                    values.insert(values.end(), {points[j].x, points[j].y});
            }
        }
        return values;
    }
    static void expectNear(const std::vector<float> &actual, const std::vector<float> &expected)
    {
        ASSERT_EQ(actual.size(), expected.size());
        for (size_t i = 0; i < actual.size(); ++i)
            EXPECT_NEAR(actual[i], expected[i], 1e-3) << i;
    }
    void expectGeometryStep(const std::vector<float> &before, const QString &name)
    {
        const std::vector<float> after = geometry();
        EXPECT_NE(after, before);
        EXPECT_EQ(doc.undoManager()->undoActionName(), name);
        doc.undoManager()->undo();
        settle();
        expectNear(geometry(), before);
        doc.undoManager()->redo();
        settle();
        expectNear(geometry(), after);
        doc.undoManager()->removeAllActions();
    }
    void setOption(QCheckBox *option, bool on)
    {
        if (option->isChecked() != on)
            press(option);
    }
    std::vector<std::shared_ptr<VekObject>> objects;
    std::shared_ptr<VekObject> current;
};

TEST_F(InspectorGeometry, ALocationInCentimetresMovesThreeObjectsRelativelyOrLinesThemUp)
{
    selectThree();
    EXPECT_EQ(inspector().txUnit->text(), "Unit: Centimeters");
    EXPECT_TRUE(inspector().optRelativeMove->isEnabled());
    EXPECT_FALSE(inspector().txMultiSelInfo->text().isEmpty());

    setOption(inspector().optRelativeMove, true);
    std::vector<float> xs;
    for (const auto &o : objects)
        xs.push_back(o->bounds().origin.x);
    const float d = 5 * PointsPerCm - current->bounds().origin.x;
    PropertyList before = snapshot();
    type(inspector().txLocX, "5");
    for (size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(objects[i]->bounds().origin.x, xs[i] + d, 1e-3) << i;
    EXPECT_EQ(inspector().txLocX->text(), "5.00");
    expectOneUndoableStep(before, "Set Bounds");

    setOption(inspector().optRelativeMove, false);
    before = snapshot();
    type(inspector().txLocY, "2.5");
    for (size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(objects[i]->bounds().origin.y, 2.5f * PointsPerCm, 1e-3) << i;
    expectOneUndoableStep(before, "Set Bounds");

    // Within 0.1 point of where it is: no step at all.
    doc.undoManager()->removeAllActions();
    type(inspector().txLocY, "2.5");
    EXPECT_FALSE(doc.undoManager()->canUndo());
}

TEST_F(InspectorGeometry, ASizeInCentimetresGoesToAllOrScalesThemInProportion)
{
    selectThree();
    setOption(inspector().optResizeProportional, false);
    setOption(inspector().optResizeWHtogether, false);
    std::vector<float> before = geometry();
    type(inspector().txSzW, "3");
    for (const auto &o : objects)
        EXPECT_NEAR(o->bounds().width(), 3 * PointsPerCm, 1e-3);
    expectGeometryStep(before, "Set Bounds");

    setOption(inspector().optResizeProportional, true);
    setOption(inspector().optRelativeMove, true);
    std::vector<Rect> old;
    for (const auto &o : objects)
        old.push_back(o->bounds());
    const float k = 2 * PointsPerCm / current->bounds().height();
    before = geometry();
    type(inspector().txSzH, "2");
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(objects[i]->bounds().height(), old[i].height() * k, 1e-3) << i;
        EXPECT_NEAR(objects[i]->bounds().width(), old[i].width(), 1e-3) << i;
    }
    expectGeometryStep(before, "Set Bounds");
    setOption(inspector().optResizeProportional, false);
    setOption(inspector().optRelativeMove, false);
}

TEST_F(InspectorGeometry, RotatingASelectionTurnsEveryObjectAboutItsCentre)
{
    const auto a = addRect(Rect(60, 60, 80, 40));
    const auto b = addRect(Rect(200, 60, 40, 80));
    select({a, b});
    const std::vector<float> turned = geometry();
    type(inspector().txRotate, "30");
    EXPECT_FLOAT_EQ(a->objRotation(), 30);
    EXPECT_FLOAT_EQ(b->objRotation(), 30);
    EXPECT_EQ(inspector().txRotate->text(), "30");
    // The rotation names no step of its own.
    expectGeometryStep(turned, "");

    // One object flipped through its switch.
    select({a});
    const std::vector<float> unflipped = geometry();
    press(inspector().optFlipH);
    EXPECT_TRUE(a->flippedHorizontally());
    expectGeometryStep(unflipped, "Object Property");
}

TEST_F(InspectorGeometry, APointEditedInTheTableMovesThePathsPoint)
{
    auto path = VekObjPath::create();
    BezierPath shape;
    shape.moveToPoint(Point(100, 100));
    shape.lineToPoint(Point(200, 120));
    shape.lineToPoint(Point(150, 200));
    path->setBezierPath(shape);
    path->setBounds(shape.bounds());
    add(path);
    select({path});
    showPageOf(inspector().ptsTable);
    press(inspector().mtxPtsRelative->button(0));
    QTableWidget *table = inspector().ptsTable;
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(1, 1)->text(), "200.00");
    EXPECT_EQ(table->item(1, 3)->text(), "L");

    // The user edits the y of the second point.
    inspector().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&inspector()));
    PropertyList before = snapshot();
    table->setCurrentCell(1, 2);
    table->editItem(table->item(1, 2));
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_TRUE(editor);
    editor->selectAll();
    QTest::keyClicks(editor, "150");
    QTest::keyClick(editor, Qt::Key_Return);
    settle();
    Point points[3];
    path->bezierPath().elementAtIndex(1, points);
    EXPECT_EQ(points[0], Point(200, 150));
    EXPECT_EQ(path->selectedElementNr(), 1);
    doc.undoManager()->undo();
    settle();
    path->bezierPath().elementAtIndex(1, points);
    EXPECT_EQ(points[0], Point(200, 120));
    EXPECT_EQ(path->bounds(), shape.bounds());
    doc.undoManager()->redo();
    settle();
    path->bezierPath().elementAtIndex(1, points);
    EXPECT_EQ(points[0], Point(200, 150));
    (void)before;

    // Copied as text with keywords, then with brackets and commas.
    if (!inspector().optPtsCopyL->isChecked())
        press(inspector().optPtsCopyL);
    if (inspector().optPtsCopyP->isChecked())
        press(inspector().optPtsCopyP);
    if (inspector().optPtsCopyC->isChecked())
        press(inspector().optPtsCopyC);
    press(inspector().btnCopyPoints);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "M 100.00 100.00 L 200.00 150.00 L 150.00 200.00");
    press(inspector().optPtsCopyP);
    press(inspector().optPtsCopyC);
    press(inspector().btnCopyPoints);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "{\nM {100.00,100.00}, L {200.00,150.00}, L {150.00,200.00}\n}");
    // The options are remembered.
    const PropertyList states = UserDefaults::standardUserDefaults().dictionaryForKey(DefaultsKey::LastStates);
    EXPECT_EQ(states.value("optPtsCopyP").intValue(), 1);
    EXPECT_EQ(states.value("optPtsCopyC").intValue(), 1);
}

} // namespace

namespace {

TEST_F(InspectorGeometry, TheScaleSliderScalesTheSelectionAboutItsCentre)
{
    const auto a = addRect(Rect(100, 100, 100, 100));
    const auto b = addRect(Rect(200, 100, 100, 50));
    select({a, b});
    const std::vector<float> before = geometry();
    slide(inspector().sldrScale, 150);
    // 200 x 100 becomes 300 x 150 about the same centre (200, 150).
    EXPECT_NEAR(a->bounds().origin.x, 50, 1e-3);
    EXPECT_NEAR(a->bounds().origin.y, 75, 1e-3);
    EXPECT_NEAR(b->bounds().maxX(), 350, 1e-3);
    EXPECT_NEAR(b->bounds().height(), 75, 1e-3);
    EXPECT_DOUBLE_EQ(inspector().sldrScale->floatValue(), 100);
    expectGeometryStep(before, "Set Bounds");
}

TEST_F(InspectorGeometry, ADashOfAnotherDocumentGetsANumberAndAPopUpItemOfThisRun)
{
    PropertyList pattern = PropertyList::array();
    for (float length : {7.0f, 3.0f, 1.0f, 3.0f})
        pattern.append(PropertyList::fromFloat(length));
    PropertyList foreign = PropertyList::dictionary();
    foreign.insert("pattern", pattern);
    foreign.insert("phase", PropertyList::fromFloat(2));
    auto path = VekObjPath::create();
    path->setBezierPath(BezierPath::bezierPathWithRect(Rect(50, 50, 100, 80)));
    path->setBounds(Rect(50, 50, 100, 80));
    path->setDashPatternUpdate(1, false);
    path->setDashInfo(foreign);
    add(path);
    const int items = inspector().pupDash->count();
    select({path});
    EXPECT_GT(path->objDashPattern(), 1);
    EXPECT_EQ(path->dashInfo(), foreign);
    EXPECT_EQ(inspector().dashInfoFor(path->objDashPattern()), foreign);
    // The pop-up offers it, and shows it chosen.
    EXPECT_EQ(inspector().pupDash->count(), items + 1);
    EXPECT_EQ(inspector().pupDash->currentData().toInt(), path->objDashPattern());
}

} // namespace

namespace {

class InchShell : public ShellServices {
public:
    int selectedUnit() const override { return 1; }
};

TEST_F(InspectorGeometry, AUnitChangedWhileTheInspectorIsHiddenShowsWhenItComesBack)
{
    const auto a = addRect(Rect(72, 144, 36, 18));
    select({a});
    EXPECT_EQ(inspector().txLocX->text(), formatC("%.2f", 72 / 28.35));
    inspector().hide();
    InchShell inches;
    setShellServices(&inches);
    NotificationCenter::defaultCenter().postNotificationName(VekRulerUnitDidChangeNotification, nullptr);
    EXPECT_EQ(inspector().txUnit->text(), "Unit: Inches");
    EXPECT_EQ(inspector().txLocX->text(), "1.00");
    EXPECT_EQ(inspector().txLocY->text(), "2.00");
    EXPECT_EQ(inspector().txSzH->text(), "0.25");
    setShellServices(nullptr);
    NotificationCenter::defaultCenter().postNotificationName(VekRulerUnitDidChangeNotification, nullptr);
}

} // namespace
