// OffscreenCanvas: the canvas services of a document without a window, for drawing its
// pages into images, PDF files and previews.
//
// Pages lie one below the other at 100 % zoom, nothing is selected or edited, and the
// drawing flags (saving, PDF) are those of the output. The background is hidden when the
// document's window hides it, so that every output shows what the window shows. The page being drawn is the one the
// renderer set for the calling thread (tiles draw in parallel). Redraw requests go nowhere;
// tracking loops get an event source that ends at once.
#pragma once

#include "model/services/canvas_services.h"

class VekDocument;

class OffscreenCanvas : public CanvasServices {
public:
    explicit OffscreenCanvas(VekDocument &document);

    void setDrawingToPDF(bool flag) { m_toPDF = flag; }
    void setDrawingToSave(bool flag) { m_toSave = flag; }
    void setBackgroundHidden(bool flag) { m_backgroundHidden = flag; }

    Rect rectForPage(int page) const override;
    int pageIncludingPoint(Point p) const override;
    int pageOfLocation(Point p) const override;
    int drawingPage() const override;
    int currentPage() const override { return 1; }
    int numberOfPages() const override;
    Point convertRelativeToPage(Point p) const override;
    int currentZoom() const override { return 100; }
    float gridSpacing() const override { return 0; }
    bool snapsToGrid() const override { return false; }
    bool shouldDrawControlLines() const override { return false; }
    bool shouldDrawControlPoints() const override { return false; }
    void drawKnobAtPoint(Point, const Color &) override {}
    Color backgroundColor() const override;
    bool drawingToPDF() const override { return m_toPDF; }
    bool drawingToSave() const override { return m_toSave; }
    void invalidateObject(const VekObject &) override {}
    bool objectIsSelected(const VekObject &) const override { return false; }
    void selectObjectExclusively(const std::shared_ptr<VekObject> &) override {}
    std::vector<std::shared_ptr<VekObject>> sortObjectsInOrder(
        const std::vector<std::shared_ptr<VekObject>> &objects) const override;
    std::shared_ptr<VekObject> editingObject() const override { return nullptr; }
    TextView *editorView() const override { return nullptr; }
    void setEditingObject(const std::shared_ptr<VekObject> &, TextView *) override {}
    void resetCursorRects() override {}
    void endEditing() override {}
    std::shared_ptr<VekObject> creatingObject() const override { return nullptr; }
    std::shared_ptr<VekObject> currentPageLineSpaceHolder() const override { return nullptr; }
    Point currentGlobalMouseInView() const override { return NoPoint; }
    bool backgroundHidden() const override { return m_backgroundHidden; }
    bool showInvisibleChars() const override { return false; }
    void disableTextRulerAccessory() override {}
    void updateRulers() override {}
    Rect visibleRect() const override { return bounds(); }
    void setNeedsDisplayInRect(const Rect &) override {}
    void displayRect(const Rect &) override {}
    void display() override {}
    void autoscroll(const MouseEvent &) override {}
    bool rulersVisible() const override { return false; }
    void scrollRectToVisible(const Rect &) override {}
    bool hasWindow() const override { return false; }
    Rect bounds() const override;
    Point convertPointFromWindow(Point p) const override { return p; }
    EventSource &eventSource() override;

private:
    VekDocument &m_document;
    bool m_toPDF = false;
    bool m_toSave = true;
    bool m_backgroundHidden = false;
};

// Makes an off-screen canvas the document's canvas while it draws, so that objects asking
// their document's canvas (the page being drawn, for page-number fields) get its answers;
// the document's own canvas, if any, comes back at the end.
class OffscreenCanvasScope {
public:
    OffscreenCanvasScope(VekDocument &document, OffscreenCanvas &canvas);
    ~OffscreenCanvasScope();
    OffscreenCanvasScope(const OffscreenCanvasScope &) = delete;
    OffscreenCanvasScope &operator=(const OffscreenCanvasScope &) = delete;

private:
    VekDocument &m_document;
    CanvasServices *m_previous;
};
