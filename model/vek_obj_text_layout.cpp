// Measuring text boxes with the shared layout manager: the required and natural sizes and
// the knob limits.
#include "model/vek_obj_text_layout.h"

#include "model/services/canvas_services.h"
#include "model/services/document_services.h"
#include "model/vek_obj_text.h"

#include <cmath>
#include <memory>

namespace {

struct SharedTextLayout {
    LayoutManager layoutManager;
    VekTextContainer container{Size{1.0e6f, 1.0e6f}};
    SharedTextLayout() { layoutManager.addTextContainer(&container); }
    ~SharedTextLayout() { layoutManager.removeTextContainer(&container); }
};

// One layout per thread: the canvas draws its tiles on worker threads, each of which lays
// its text boxes out at the same time as the others.
std::unique_ptr<SharedTextLayout> &sharedLayout()
{
    thread_local std::unique_ptr<SharedTextLayout> layout;
    return layout;
}

SharedTextLayout &sharedLayoutManager()
{
    auto &layout = sharedLayout();
    if (!layout)
        layout = std::make_unique<SharedTextLayout>();
    return *layout;
}

// The document's objects with the canvas's page line space holder behind them.
std::vector<std::shared_ptr<VekObject>> exclusionList(const VekObjText &box)
{
    DocumentServices *document = box.document();
    if (!document)
        return {};
    std::vector<std::shared_ptr<VekObject>> objects = document->objects();
    if (CanvasServices *view = document->vekView()) {
        if (auto holder = view->currentPageLineSpaceHolder(); holder && (objects.empty() || objects.back() != holder))
            objects.push_back(holder);
    }
    return objects;
}

} // namespace

bool sharedTextLayoutExists()
{
    return sharedLayout() != nullptr;
}

void releaseSharedTextLayout()
{
    sharedLayout().reset();
}

TextBoxLayout::TextBoxLayout(VekObjText &box, const AttributedString &text, Size containerSize) : m_box(box)
{
    SharedTextLayout &shared = sharedLayoutManager();
    shared.layoutManager.setHyphenationFactor(box.hyphenFactor());
    shared.container.setContainerSize(containerSize);
    shared.container.setObjectsAndCurrentTextObject(exclusionList(box), &box);
    shared.layoutManager.setAttributedString(text);
    shared.layoutManager.invalidateLayout();
}

TextBoxLayout::~TextBoxLayout()
{
    if (auto &shared = sharedLayout()) {
        m_box.noteFloatingObjects(shared->container.floatingObjects());
        shared->layoutManager.setAttributedString(AttributedString());
        shared->container.setObjectsAndCurrentTextObject({}, nullptr);
    }
}

LayoutManager &TextBoxLayout::layoutManager()
{
    return sharedLayoutManager().layoutManager;
}

VekTextContainer &TextBoxLayout::container()
{
    return sharedLayoutManager().container;
}

int TextBoxLayout::charactersThatFit()
{
    return layoutManager().glyphRangeForTextContainer(&container()).end();
}

Size VekObjText::maxSize() const
{
    CanvasServices *view = _document ? _document->vekView() : nullptr;
    return view ? view->bounds().size : Size{};
}

Size VekObjText::requiredSize(float widthLimit, Point origin)
{
    if (_contents.length() == 0)
        return minSize();
    Size limit = maxSize();
    if (limit.width <= 0 || limit.height <= 0)
        limit = {1.0e6f, 1.0e6f};   // a loose box measures without a canvas
    Size need;
    {
        TextBoxLayout layout(*this, _contents.text(), {std::min(widthLimit, limit.width), limit.height});
        const Rect used = layout.layoutManager().usedRectForTextContainer(&layout.container());
        need = {std::max(used.maxX() + 1.0f, minSize().width), std::max(used.maxY(), minSize().height)};
    }
    // Two points for every page boundary the box crosses.
    if (CanvasServices *view = _document ? _document->vekView() : nullptr) {
        const float pageHeight = view->rectForPage(1).height();
        const float bottom = origin.y + need.height;
        if (pageHeight > 0 && bottom / pageHeight >= 1.0f) {
            float boundary = pageHeight * std::ceil(origin.y / pageHeight);
            float extra = 0;
            while (bottom + extra > boundary) {
                extra += 2.0f;
                boundary += pageHeight;
            }
            need.height += extra;
        }
    }
    return need;
}

Size VekObjText::originalSize() const
{
    return const_cast<VekObjText *>(this)->requiredSize(1.0e6f, {0, 0});
}

void VekObjText::setToNaturalSize()
{
    CanvasServices *view = vekView();
    if (view && view->editingObject().get() == this)
        view->endEditing();
    const float limit = _bounds.width() > minSize().width ? _bounds.width() : 1.0e6f;
    const Size need = requiredSize(limit, _bounds.origin);
    float width = need.width;
    const bool centred = _contents.length() > 0
                         && _contents.text().attributesAt(0).paragraphStyle.value_or(ParagraphStyle{}).alignment
                                == TextAlignment::Center;
    if (need.width != _bounds.width() && centred)
        width = _bounds.width();
    const bool wider = _bounds.width() > need.width && !centred;
    if (wider || need.height != _bounds.height())
        setBounds(Rect(_bounds.origin, {width, need.height}));
}

int VekObjText::resizeByMovingKnob(int knob, Point p)
{
    const Size m = minSize();
    if (knob == 1 || knob == 4 || knob == 6)
        p.x = std::min(p.x, _bounds.maxX() - m.width);
    if (knob == 3 || knob == 5 || knob == 8)
        p.x = std::max(p.x, _bounds.minX() + m.width);
    if (knob >= 1 && knob <= 3)
        p.y = std::min(p.y, _bounds.maxY() - m.height);
    if (knob >= 6 && knob <= 8)
        p.y = std::max(p.y, _bounds.minY() + m.height);
    return VekObject::resizeByMovingKnob(knob, p);
}
