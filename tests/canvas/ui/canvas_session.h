// A canvas on a 400 x 300 page in a shown view of the same size, so that window and canvas
// coordinates agree, with a scripted event source and a tool palette the test sets.
#pragma once

#include "canvas/ui/vek_view.h"

#include "document/vek_document.h"
#include "model/services/shell_services.h"
#include "model/vek_obj_path.h"
#include "tests/model/fakes.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>


class ToolShell : public ShellServices {
public:
    int tool = 0;
    int selectedTool() const override { return tool; }
    void selectArrowTool() override { tool = 0; }
};

inline std::shared_ptr<VekObject> filledRect(const Rect &r)
{
    auto o = VekObjPath::create();
    o->setBezierPath(BezierPath::bezierPathWithRect(r));
    o->setBounds(r);
    o->setDrawsFill(true);
    return o;
}

// A 400 x 300 page shown at 100 % in a view of the same size, so that window and canvas
// coordinates agree.
class CanvasSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureWidgetApp();
        setShellServices(&shell);
        doc.setDrawAreaSizePerPage({400, 300});
        view = std::make_unique<VekView>(doc);
        view->setFrameShape(QFrame::NoFrame);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->resize(400, 300);
        view->show();
        view->setEventSource(&events);
    }
    void TearDown() override
    {
        view.reset();
        setShellServices(nullptr);
    }

    // A mouse-down at `from`, drags through `path`, mouse-up at the last point.
    void drag(Point from, std::vector<Point> path, unsigned flags = 0, int clicks = 1)
    {
        for (const Point p : path)
            events.drag(p);
        events.up(path.empty() ? from : path.back());
        view->mouseDownWithEvent({EventType::LeftMouseDown, from, flags, clicks});
        doc.undoManager()->closeEventGroup();
    }
    void click(Point at, unsigned flags = 0) { drag(at, {}, flags); }
    std::shared_ptr<VekObject> add(const Rect &r)
    {
        auto o = filledRect(r);
        doc.insertObject(o, 0, false);
        doc.undoManager()->removeAllActions();
        return o;
    }
    void undo() { doc.undoManager()->undo(); }
    void redo() { doc.undoManager()->redo(); }

    ToolShell shell;
    VekDocument doc;
    ScriptedEventSource events;
    std::unique_ptr<VekView> view;
};
