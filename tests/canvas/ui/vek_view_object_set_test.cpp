// The canvas's side of the object-set palette: a control-click drags the selection to it,
// and an empty rubber band drawn while its panel is open places the picked item.
#include "tests/canvas/ui/canvas_session.h"

#include "canvas/canvas_notifications.h"
#include "platform/foundation/modifier_flags.h"
#include "platform/foundation/notification_center.h"
#include "toolkit/ui/drag_session.h"

#include <QDrag>
#include <QMimeData>

namespace {

class PaletteShell : public ToolShell {
public:
    int visibleToolOption() const override { return panelOpen ? 1 : -1; }
    void selectObjectTool() override { tool = 1; }
    std::vector<std::shared_ptr<VekObject>> selectedObjectSetObjects() const override { return picked; }
    bool panelOpen = false;
    std::vector<std::shared_ptr<VekObject>> picked;
};

class CanvasToPalette : public CanvasSession {
protected:
    void SetUp() override
    {
        CanvasSession::SetUp();
        setShellServices(&paletteShell);
        NotificationCenter::defaultCenter().addObserver(this, VekViewDidPrepareDraggingNotification, nullptr,
                                                        [this](const Notification &) { ++prepared; });
        setDragPerformer([this](QDrag &drag) {
            dragged = VekView::isCanvasSelectionData(*drag.mimeData());
            return Qt::CopyAction;
        });
    }
    void TearDown() override
    {
        setDragPerformer({});
        NotificationCenter::defaultCenter().removeObserver(this);
        CanvasSession::TearDown();
    }
    PaletteShell paletteShell;
    int prepared = 0;
    bool dragged = false;
};

TEST_F(CanvasToPalette, ControlClickDragsTheSelectionWithTheArrowOrAnOpenShapePanel)
{
    const auto a = add(Rect(10, 10, 100, 50));
    click({50, 30}, ControlKeyMask);   // an unselected object joins the selection and goes
    EXPECT_EQ(prepared, 1);
    EXPECT_TRUE(dragged);
    EXPECT_EQ(a->bounds(), Rect(10, 10, 100, 50));   // nothing moved
    EXPECT_EQ(view->selectedObjects().size(), 1u);

    // The shape tool drags only while its panel is open; otherwise it draws.
    paletteShell.tool = 1;
    dragged = false;
    drag({200, 150}, {{260, 200}}, ControlKeyMask);
    EXPECT_FALSE(dragged);
    EXPECT_EQ(doc.objects().size(), 2u);
    view->selectObject(a);
    paletteShell.panelOpen = true;
    click({390, 290}, ControlKeyMask);
    EXPECT_TRUE(dragged);
    EXPECT_EQ(prepared, 2);
}

TEST_F(CanvasToPalette, AnEmptyBandPlacesThePickedItemWhileTheShapePanelIsOpen)
{
    auto item = VekObjPath::create();
    item->setBezierPath(BezierPath::bezierPathWithOvalInRect(Rect(1, 1, 20, 10)));
    paletteShell.picked = {item};
    drag({50, 50}, {{150, 100}});   // panel closed: an ordinary empty band
    EXPECT_TRUE(doc.objects().empty());

    paletteShell.panelOpen = true;
    drag({50, 50}, {{150, 100}});
    ASSERT_EQ(doc.objects().size(), 1u);
    EXPECT_EQ(paletteShell.tool, 1);
    EXPECT_EQ(doc.objects()[0]->className(), QStringLiteral("VekObjPath"));
    EXPECT_EQ(doc.objects()[0]->bounds(), Rect(50.5f, 50.5f, 100, 50));
    undo();
    EXPECT_TRUE(doc.objects().empty());
    redo();
    EXPECT_EQ(doc.objects().size(), 1u);
}

} // namespace
