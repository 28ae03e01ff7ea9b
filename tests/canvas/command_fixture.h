// A document with pages and a fake canvas for driving the canvas's commands without a window.
#pragma once

#include "canvas/canvas_command_context.h"
#include "document/vek_document.h"
#include "model/vek_object.h"
#include "platform/foundation/notification_center.h"
#include "tests/support/gui_app.h"

#include <QStringList>

#include <gtest/gtest.h>

// Records what the commands asked of the canvas.
class FakeCommandHost : public CanvasCommandHost {
public:
    void setNeedsDisplayInRect(const Rect &rect) override { redrawn.push_back(rect); }
    void updateRulers() override { ++rulerUpdates; }
    void setCurrentPageTo(int page) override { currentPage = page; }
    void updateFrame() override { ++frameUpdates; }
    void setCurrentZoom(int percent) override { zoom = percent; }
    bool confirmPageRemoval(int page) override
    {
        askedToRemove.push_back(page);
        return allowPageRemoval;
    }
    void beep() override { ++beeps; }
    void selectObjectExclusively(const std::shared_ptr<VekObject> &object) override { selected = {object}; }
    Rect visibleRect() const override { return visible; }

    std::vector<Rect> redrawn;
    std::vector<int> askedToRemove;
    int rulerUpdates = 0;
    int currentPage = 1;
    int frameUpdates = 0;
    int zoom = 100;
    int beeps = 0;
    bool allowPageRemoval = true;
    std::vector<std::shared_ptr<VekObject>> selected;
    Rect visible;
};

// A document of `pages` pages of 200 x 100 and the canvas's state over it.
struct CommandFixture {
    static constexpr float PageWidth = 200, PageHeight = 100;

    explicit CommandFixture(int pages = 1)
    {
        ensureGuiApp();
        doc.setDrawAreaSizePerPage({PageWidth, PageHeight});
        doc.setNumberOfPages(pages);
        NotificationCenter::defaultCenter().addObserver(this, QString(), &host, [this](const Notification &n) {
            notifications << n.name;
        });
    }
    ~CommandFixture() { NotificationCenter::defaultCenter().removeObserver(this); }

    // A plain object with the bounds, behind the objects added before it.
    std::shared_ptr<VekObject> add(const Rect &bounds)
    {
        auto object = VekObject::create();
        object->setBounds(bounds);
        doc.insertObject(object, int(doc.objects().size()), false);
        return object;
    }
    // Ends the event pass: what was registered becomes one undo step.
    void step() { doc.undoManager()->closeEventGroup(); }
    // The setup is not undoable.
    void settle()
    {
        step();
        doc.undoManager()->removeAllActions();
        notifications.clear();
    }
    CanvasCommandContext context(std::vector<std::shared_ptr<VekObject>> selection = {}, int currentPage = 1)
    {
        return CanvasCommandContext{doc, host, std::move(selection), currentPage, 100, &host};
    }
    std::vector<Rect> allBounds() const
    {
        std::vector<Rect> out;
        for (const auto &object : doc.objects())
            out.push_back(object->bounds());
        return out;
    }
    std::vector<VekObject *> order() const
    {
        std::vector<VekObject *> out;
        for (const auto &object : doc.objects())
            out.push_back(object.get());
        return out;
    }
    void undo()
    {
        step();
        doc.undoManager()->undo();
        step();
    }
    void redo()
    {
        step();
        doc.undoManager()->redo();
        step();
    }

    VekDocument doc;
    FakeCommandHost host;
    QStringList notifications;
};
