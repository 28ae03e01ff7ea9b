// A small scroll area that plays the canvas for the rulers: a document of three 300 x 200
// pages, a selection, a zoom and a scroll offset, with a RulerHost in its margins.
#pragma once

#include "canvas/ui/ruler_host.h"
#include "document/vek_document.h"
#include "tests/canvas/command_fixture.h"
#include "tests/model/fakes.h"
#include "tests/support/widget_app.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QMouseEvent>

class RulerTestCanvas : public QAbstractScrollArea, public RulerCanvas {
public:
    RulerTestCanvas()
    {
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        doc.setDrawAreaSizePerPage({300, 200});
        doc.setNumberOfPages(3);
        services.pageSize = {300, 200};
        services.pages = 3;
        services.visible = {0, 0, 300, 200};
        resize(400, 300);
        host = std::make_unique<RulerHost>(*this);
        show();
    }
    ~RulerTestCanvas() override { host.reset(); }

    std::shared_ptr<VekObject> add(const Rect &bounds)
    {
        auto object = VekObject::create();
        object->setBounds(bounds);
        doc.insertObject(object, int(doc.objects().size()), false);
        doc.undoManager()->closeEventGroup();
        doc.undoManager()->removeAllActions();
        return object;
    }
    void select(std::vector<std::shared_ptr<VekObject>> objects)
    {
        selection = std::move(objects);
        host->updateRulers();
    }

    // ---- RulerCanvas ----
    QAbstractScrollArea &rulerScrollArea() override { return *this; }
    void setRulerMargins(const QMargins &margins) override { setViewportMargins(margins); }
    QPointF rulerCanvasOrigin() const override { return origin; }
    double rulerCanvasScale() const override { return scale; }
    CanvasCommandContext rulerCommandContext() override
    {
        return CanvasCommandContext{doc, commandHost, selection, services.page, int(scale * 100), this};
    }
    std::shared_ptr<VekObject> rulerCurrentObject() override
    {
        return selection.empty() ? nullptr : selection.front();
    }
    const CanvasServices &rulerCanvasServices() const override { return services; }

    VekDocument doc;
    FakeCommandHost commandHost;
    FakeCanvas services;
    std::vector<std::shared_ptr<VekObject>> selection;
    QPointF origin{10, 10};
    double scale = 1.0;
    std::unique_ptr<RulerHost> host;
};

// Sends a mouse event of the left button to the widget at the point.
inline void sendMouse(QWidget &widget, QEvent::Type type, QPointF at, Qt::KeyboardModifiers modifiers = {})
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, buttons, modifiers);
    QCoreApplication::sendEvent(&widget, &event);
}
