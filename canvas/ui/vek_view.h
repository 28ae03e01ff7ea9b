// VekView: the canvas widget of a document window. It shows the document's pages one below
// the other on a grey desk, at a zoom, drawn by the page loop (canvas/document_renderer.h)
// through a graphics context on the viewport, and answers the drawing objects' questions
// of their canvas (CanvasServices).
#pragma once

#include "model/services/canvas_services.h"

#include <QAbstractScrollArea>

class VekDocument;

class VekView : public QAbstractScrollArea, public CanvasServices {
public:
    // The view attaches itself to the document as its canvas and detaches when it goes.
    explicit VekView(VekDocument &document, QWidget *parent = nullptr);
    ~VekView() override;

    VekDocument &document() const { return m_document; }
    // The zoom in percent, 10 to 6400.
    void setCurrentZoom(int percent);

    // ---- CanvasServices ----
    Rect rectForPage(int page) const override;
    int pageIncludingPoint(Point p) const override;
    int pageOfLocation(Point p) const override;
    int drawingPage() const override { return m_drawingPage; }
    int currentPage() const override { return m_currentPage; }
    int numberOfPages() const override;
    Point convertRelativeToPage(Point p) const override;
    int currentZoom() const override { return m_zoom; }
    float gridSpacing() const override { return 0; }
    bool snapsToGrid() const override { return false; }
    bool shouldDrawControlLines() const override { return true; }
    bool shouldDrawControlPoints() const override { return true; }
    void drawKnobAtPoint(Point p, const Color &color) override;
    Color backgroundColor() const override;
    bool drawingToPDF() const override { return false; }
    bool drawingToSave() const override { return false; }
    void invalidateObject(const VekObject &object) override;
    bool objectIsSelected(const VekObject &object) const override;
    void selectObjectExclusively(const std::shared_ptr<VekObject> &object) override;
    std::vector<std::shared_ptr<VekObject>> sortObjectsInOrder(
        const std::vector<std::shared_ptr<VekObject>> &objects) const override;
    std::shared_ptr<VekObject> editingObject() const override { return m_editing.lock(); }
    TextView *editorView() const override { return m_editor; }
    void setEditingObject(const std::shared_ptr<VekObject> &object, TextView *editor) override;
    void resetCursorRects() override {}
    void endEditing() override;
    std::shared_ptr<VekObject> creatingObject() const override { return nullptr; }
    std::shared_ptr<VekObject> currentPageLineSpaceHolder() const override { return nullptr; }
    Point currentGlobalMouseInView() const override { return NoPoint; }
    bool showInvisibleChars() const override { return false; }
    void disableTextRulerAccessory() override {}
    void updateRulers() override {}
    Rect visibleRect() const override;
    void setNeedsDisplayInRect(const Rect &r) override;
    void displayRect(const Rect &r) override;
    void display() override;
    void autoscroll(const MouseEvent &) override {}
    bool rulersVisible() const override { return false; }
    void scrollRectToVisible(const Rect &r) override;
    bool hasWindow() const override { return true; }
    Rect bounds() const override;
    Point convertPointFromWindow(Point p) const override;
    EventSource &eventSource() override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Where the canvas's top-left corner lies in the viewport (the pages are centred when
    // they are narrower than the viewport).
    QPointF canvasOrigin() const;
    double scale() const { return m_zoom / 100.0; }
    void updateScrollBars();

    VekDocument &m_document;
    int m_zoom = 100;
    int m_drawingPage = 0;
    int m_currentPage = 1;
    std::vector<std::weak_ptr<VekObject>> m_selection;
    std::weak_ptr<VekObject> m_editing;
    TextView *m_editor = nullptr;
};
