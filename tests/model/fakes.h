// Stand-ins for the document, the canvas, the shell and the panels, and a scripted event
// source, for tests of the drawing objects.
//
// Every answer is a public field the test sets; every request the model makes is recorded.
#pragma once

#include "model/services/canvas_services.h"
#include "model/services/document_services.h"
#include "model/services/event_source.h"
#include "model/services/panel_services.h"
#include "model/services/shell_services.h"
#include "model/vek_object.h"
#include "platform/foundation/undo_manager.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <utility>
#include <vector>

// Replays a list of events; when the list runs out it answers a mouse-up where the last
// event was, as a real source does when its widget goes away.
class ScriptedEventSource : public EventSource {
public:
    std::deque<MouseEvent> events;
    std::vector<unsigned> masksAsked;

    void drag(Point p) { events.push_back({EventType::LeftMouseDragged, p}); }
    void up(Point p) { events.push_back({EventType::LeftMouseUp, p}); }

    MouseEvent nextEvent(unsigned mask) override
    {
        masksAsked.push_back(mask);
        while (!events.empty()) {
            MouseEvent e = events.front();
            events.pop_front();
            m_last = e.locationInWindow;
            if (mask & eventMaskFor(e.type))
                return e;
        }
        return {EventType::LeftMouseUp, m_last};
    }

private:
    Point m_last;
};

class FakeCanvas : public CanvasServices {
public:
    // Answers.
    Rect frame{0, 0, 600, 800};
    Size pageSize{600, 800};
    int pages = 1;
    int page = 1;
    int drawing = 0;
    int zoom = 100;
    float grid = 10;
    bool snaps = false;
    bool controlLines = false;
    bool controlPoints = false;
    bool toPDF = false;
    bool toSave = false;
    bool showsRulers = false;
    bool hidesBackground = false;
    Rect visible{0, 0, 600, 800};
    Color background = Color::whiteColor();
    std::vector<const VekObject *> selected;
    std::weak_ptr<VekObject> creating;
    std::weak_ptr<VekObject> editing;
    TextView *hostedEditor = nullptr;
    ScriptedEventSource events;

    // Requests.
    std::vector<std::pair<Point, Color>> knobsDrawn;
    std::vector<Rect> needsDisplay;
    std::vector<Rect> displayed;
    int fullDisplays = 0;
    int invalidations = 0;
    int autoscrolls = 0;
    int rulerUpdates = 0;
    int cursorResets = 0;

    Rect rectForPage(int n) const override
    {
        return {frame.origin.x, frame.origin.y + float(n - 1) * pageSize.height, pageSize.width, pageSize.height};
    }
    int pageIncludingPoint(Point p) const override
    {
        const int n = int(std::floor(p.y / pageSize.height)) + 1;
        return std::clamp(n, 1, pages);
    }
    int pageOfLocation(Point p) const override { return int(std::ceil(p.y / pageSize.height)); }
    int drawingPage() const override { return drawing; }
    int currentPage() const override { return page; }
    int numberOfPages() const override { return pages; }
    Point convertRelativeToPage(Point p) const override
    {
        const Rect r = rectForPage(pageIncludingPoint(p));
        return {p.x - r.origin.x, p.y - r.origin.y};
    }
    int currentZoom() const override { return zoom; }
    float gridSpacing() const override { return grid; }
    bool snapsToGrid() const override { return snaps; }
    bool shouldDrawControlLines() const override { return controlLines; }
    bool shouldDrawControlPoints() const override { return controlPoints; }
    void drawKnobAtPoint(Point p, const Color &color) override { knobsDrawn.emplace_back(p, color); }
    Color backgroundColor() const override { return background; }
    bool drawingToPDF() const override { return toPDF; }
    bool drawingToSave() const override { return toSave; }
    void invalidateObject(const VekObject &) override { ++invalidations; }
    bool objectIsSelected(const VekObject &object) const override
    {
        return std::find(selected.begin(), selected.end(), &object) != selected.end();
    }
    void selectObjectExclusively(const std::shared_ptr<VekObject> &object) override { selected = {object.get()}; }
    std::vector<std::shared_ptr<VekObject>> sortObjectsInOrder(
        const std::vector<std::shared_ptr<VekObject>> &objects) const override
    {
        return objects;
    }
    std::shared_ptr<VekObject> editingObject() const override { return editing.lock(); }
    TextView *editorView() const override { return hostedEditor; }
    void setEditingObject(const std::shared_ptr<VekObject> &object, TextView *editor) override
    {
        editing = object;
        hostedEditor = editor;
    }
    void resetCursorRects() override { ++cursorResets; }
    void endEditing() override { editing.reset(); }
    std::shared_ptr<VekObject> creatingObject() const override { return creating.lock(); }
    std::shared_ptr<VekObject> currentPageLineSpaceHolder() const override { return nullptr; }
    Point currentGlobalMouseInView() const override { return NoPoint; }
    bool backgroundHidden() const override { return hidesBackground; }
    bool showInvisibleChars() const override { return false; }
    void disableTextRulerAccessory() override {}
    void updateRulers() override { ++rulerUpdates; }
    Rect visibleRect() const override { return visible; }
    void setNeedsDisplayInRect(const Rect &r) override { needsDisplay.push_back(r); }
    void displayRect(const Rect &r) override { displayed.push_back(r); }
    void display() override { ++fullDisplays; }
    void autoscroll(const MouseEvent &) override { ++autoscrolls; }
    bool rulersVisible() const override { return showsRulers; }
    void scrollRectToVisible(const Rect &) override {}
    bool hasWindow() const override { return true; }
    Rect bounds() const override { return {0, 0, pageSize.width, pageSize.height * float(pages)}; }
    Point convertPointFromWindow(Point p) const override { return p; }
    EventSource &eventSource() override { return events; }
};

class FakeDocument : public DocumentServices {
public:
    // Answers. `window` set means the document has a window and its canvas is `canvas`.
    bool window = true;
    FakeCanvas canvas;
    UndoManager undo;
    std::vector<std::shared_ptr<VekObject>> list;
    int pages = 1;
    Size pageSize{600, 800};
    bool cmyk = false;
    QString version = QStringLiteral("1.5.1");
    bool shadowOn = false;
    float blur = 0;
    Size shadowOffset{0, 0};
    PropertyList shadowValues;

    // Requests.
    std::vector<const VekObject *> invalidated;
    std::vector<Rect> redrawRects;
    std::vector<Color> recentColors;

    const std::vector<std::shared_ptr<VekObject>> &objects() const override { return list; }
    UndoManager *undoManager() override { return &undo; }
    bool hasWindow() const override { return window; }
    CanvasServices *vekView() override { return window ? &canvas : nullptr; }
    void invalidateObject(const VekObject &object) override
    {
        if (window)
            invalidated.push_back(&object);
    }
    void vekViewNeedsDisplayInRect(const Rect &r) override
    {
        if (window)
            redrawRects.push_back(r);
    }
    int numberOfPages() const override { return pages; }
    Size drawAreaSizePerPage() override { return pageSize; }
    void addLastPage() override { ++pages; }
    bool useCMYK() const override { return cmyk; }
    bool smoothFonts() const override { return true; }
    bool antialiasDraw() const override { return true; }
    QString documentVersion() const override { return version; }
    bool shadowState() const override { return shadowOn; }
    float shadowBlur() const override { return blur; }
    Size shadowOffsetSize() const override { return shadowOffset; }
    Size shadowOffsetFor(float) const override { return shadowOffset; }
    PropertyList documentShadowValues() const override { return shadowValues; }
    Color linkTextColor() const override { return Color::blueColor(); }
    int linkTextULine() const override { return 1; }
    Rect anchorInView(const QString &) const override { return {}; }
    void continueFindAfter(const VekObject &, int) override {}
    void updateMyColorWith(const Color &color) override { recentColors.push_back(color); }
    void updateMyFontWith(const QString &) override {}
    void updateMySizeWith(float) override {}
    QMap<QString, std::shared_ptr<VekGroup>> groups() const override { return {}; }
    std::shared_ptr<VekGroup> groupFor(const QString &) const override { return nullptr; }
    void insertObject(const std::shared_ptr<VekObject> &object, int index, bool) override
    {
        list.insert(list.begin() + std::clamp(index, 0, int(list.size())), object);
        object->setDocument(this, false);
    }

    // Keeps the document's objects alive and adopts them, as a document does.
    void adopt(const std::shared_ptr<VekObject> &object, bool readFromFile = false)
    {
        list.push_back(object);
        object->setDocument(this, readFromFile);
    }
    ~FakeDocument() override
    {
        for (const auto &object : list)
            object->setDocument(nullptr, false);
    }
};

// Panels whose shadow defaults are fixed fields.
class FakePanels : public PanelServices {
public:
    PropertyList shadowDefaults;
    std::vector<const VekObject *> deleted;

    PropertyList defaultShadowValues() const override { return shadowDefaults; }
    void objectWillBeDeleted(const VekObject &object) override { deleted.push_back(&object); }
};

// Installs a shell or panels for the scope of a test.
template <class Services, void (*Install)(Services *)>
class ScopedServices {
public:
    explicit ScopedServices(Services &services) { Install(&services); }
    ~ScopedServices() { Install(nullptr); }
    ScopedServices(const ScopedServices &) = delete;
    ScopedServices &operator=(const ScopedServices &) = delete;
};
using ScopedShell = ScopedServices<ShellServices, setShellServices>;
using ScopedPanels = ScopedServices<PanelServices, setPanelServices>;
