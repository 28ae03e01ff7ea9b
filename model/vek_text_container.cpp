// The text box's container: clip shapes, exclusive objects and page boundaries.
#include "model/vek_text_container.h"

#include "model/services/canvas_services.h"
#include "model/services/document_services.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_spaceholder.h"
#include "model/vek_obj_text.h"
#include "platform/text/layout_manager.h"
#include "toolkit/path_editing.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float Gap = 2.0f;   // kept free between text and an exclusive object

} // namespace

VekTextContainer::VekTextContainer(Size size) : TextContainer(size) {}

void VekTextContainer::setObjectsAndCurrentTextObject(std::vector<std::shared_ptr<VekObject>> objects,
                                                      VekObjText *textObject)
{
    m_objects = std::move(objects);
    m_textObject = textObject;
    if (textObject)
        setLineFragmentPadding(textObject->tcPadding());
    resetVars();
}

void VekTextContainer::resetVars()
{
    m_clipPath.reset();
    m_clipType = -1;
    m_lineNumber = 0;
    m_lastProposed = Rect(-1, -1, 0, 0);
    m_paragraphStart = 0;
    m_isFirstFragment = true;
    m_floatingObjects.clear();
}

std::optional<BezierPath> VekTextContainer::clipOfCurrentTextObject() const
{
    m_clipType = 0;
    if (!m_textObject || m_objects.empty() || m_textObject->simpleClip())
        return std::nullopt;
    const auto it = std::find_if(m_objects.begin(), m_objects.end(),
                                 [&](const auto &o) { return o.get() == m_textObject; });
    if (it == m_objects.end() || it + 1 == m_objects.end())
        return std::nullopt;
    const auto *path = dynamic_cast<const VekObjPath *>((it + 1)->get());
    if (!path)
        return std::nullopt;
    m_clipType = path->clipType();
    if (m_clipType < 1 || !path->pathCreated())
        return std::nullopt;
    return path->bezierPath();
}

void VekTextContainer::lookUpClip() const
{
    if (m_clipType == -1 && !m_clipPath)
        m_clipPath = clipOfCurrentTextObject();
}

bool VekTextContainer::containsPoint(Point point) const
{
    lookUpClip();
    if (!m_clipPath || !m_textObject || (m_clipType != 1 && m_clipType != 2))
        return TextContainer::containsPoint(point);
    if (!TextContainer::containsPoint(point))
        return false;
    const Point onCanvas{point.x + m_textObject->bounds().minX(), point.y + m_textObject->bounds().minY()};
    return (m_clipType == 1) == m_clipPath->containsPoint(onCanvas);
}

Rect VekTextContainer::textFrame(int page, const Rect &fragment) const
{
    Rect frame = m_textObject->bounds();
    DocumentServices *document = m_textObject->document();
    CanvasServices *view = document ? document->vekView() : nullptr;
    if (view && document->numberOfPages() >= 2 && page >= 1 && m_textObject->repeatType() != 0)
        frame = m_textObject->boundsOnPage(page, view->rectForPage(page));
    // A turned or sheared box: the other objects are compared with the frame where the
    // transform moves the fragment's far corner.
    if (const auto transform = m_textObject->currentTransform(); transform && frame.height() > 0) {
        const Point corner{fragment.maxX(), fragment.maxY()};
        const Point moved = transform->transformPoint(corner);
        frame.origin.x += std::fabs(moved.x - corner.x);
        const float dy = moved.y - corner.y;
        const float skewY = m_textObject->skewY();
        const float shift = dy * std::sin(skewY) * (1 - fragment.minY() / frame.height());
        frame.origin.y += skewY > 0 ? shift : -shift;
    }
    return frame;
}

bool VekTextContainer::continueLine(Rect &fragment)
{
    if (LayoutManager *layout = layoutManager(); layout && layout->currentParagraphRange().location != m_paragraphStart)
        return false;
    if (fragment.minX() == m_lastProposed.minX() && fragment.height() > m_lastProposed.height()) {
        m_lastProposed.size.height = fragment.height();
    } else if (fragment.minX() > m_lastProposed.minX() && fragment.height() < m_lastProposed.height()
               && fragment.minY() == m_lastProposed.minY()) {
        // A lower fragment beside a taller one sits on the same baseline.
        fragment.origin.y += m_lastProposed.height() - fragment.height();
        fragment.size.height = m_lastProposed.height();
    }
    return true;
}

bool VekTextContainer::applyClip(Rect &fragment, Rect *remaining, const Rect &frame) const
{
    const float pad = lineFragmentPadding();
    const float minW = minimumWidth();
    float x = fragment.minX(), y = fragment.minY(), w = fragment.width(), h = fragment.height();
    // The clip in the box's coordinates.
    BezierPath shape = *m_clipPath;
    const Rect shapeBounds = shape.bounds();
    setBoundsAtX(shape, shapeBounds.minX() - frame.minX(), shapeBounds.minY() - frame.minY());
    // Flattened once as finely as containsPoint flattens curves: the same answers, without
    // flattening the curves again for each of the many points asked about.
    shape.setFlatness(0.01f);
    shape = shape.bezierPathByFlatteningPath();
    auto inside = [&](float px, float py) { return shape.containsPoint({px, py}); };
    if (m_clipType == 1) {
        if (remaining)
            *remaining = Rect();
        const Rect local = shape.bounds();
        const Rect within = intersectionRect(Rect(x, y, w, h), local);
        if (within.height() < h && y < local.minY())
            y += std::ceil(pad + (h - within.height()));
        auto leftInside = [&] {
            return inside(x, y + h) && inside(x, y) && inside(x + pad, y + h) && inside(x + pad, y);
        };
        while (!leftInside() && w > minW) {
            x += 1;
            w -= 1;
        }
        auto rightInside = [&] {
            return inside(x + w, y + h) && inside(x + w, y) && inside(x + w - pad, y) && inside(x + w - pad, y + h);
        };
        while (!rightInside() && w > minW)
            w -= 1;
    } else {
        float s = 0;
        const float limit = frame.width();
        while (s < limit && !(inside(x + s, y + h) || inside(x + s, y) || inside(x + s + pad, y + h)
                              || inside(x + s + pad, y)))
            s += 1;
        float leftFree = s <= pad + 4 ? 0 : s;
        float t = frame.width() - pad;
        while (t > leftFree + x && !(inside(t, y + h) || inside(t, y)))
            t -= 1;
        const float rightFree = frame.width() - t;
        if (remaining) {
            *remaining = rightFree - pad > 4 ? Rect(t, y, rightFree - pad, h) : Rect();
            if (remaining->width() <= minW)
                *remaining = Rect();
        }
        if (leftFree >= w)   // the shape does not meet the line at all
            leftFree = w;
        w = leftFree > minW ? leftFree : 0;
        if (w == 0 && remaining && !remaining->isEmpty()) {
            // Nothing fits left of the shape: the line starts right of it.
            fragment = *remaining;
            *remaining = Rect();
            return true;
        }
    }
    fragment = Rect(x, y, w, h);
    return w > minW;
}

std::optional<Rect> VekTextContainer::exclusiveRect(const VekObject &object, int page, const Rect &frame,
                                                    const Rect &fragment) const
{
    DocumentServices *document = m_textObject->document();
    CanvasServices *view = document ? document->vekView() : nullptr;
    Rect r = object.bounds();
    if (view && object.repeatType() != 0 && document->numberOfPages() > 1) {
        if (page >= 1) {
            const Rect pageRect = view->rectForPage(page);
            if (!object.shouldDrawOnPage(page, pageRect))
                return std::nullopt;
            r = object.boundsOnPage(page, pageRect);
        } else {
            // No known page: the first page whose copy meets the line.
            const int type = object.repeatType();
            const int step = type == 3 ? 1 : 2;
            bool found = false;
            for (int p = type == 2 ? 2 : 1; p <= document->numberOfPages(); p += step) {
                const Rect onPage = object.boundsOnPage(p, view->rectForPage(p));
                const Rect local(onPage.minX() - frame.minX(), onPage.minY() - frame.minY(), onPage.width(),
                                 onPage.height());
                if (intersectsRect(local, fragment)) {
                    r = onPage;
                    found = true;
                    break;
                }
            }
            if (!found)
                return std::nullopt;
        }
    }
    return Rect(r.minX() - frame.minX(), r.minY() - frame.minY(), r.width(), r.height());
}

Rect VekTextContainer::lineFragmentRectForProposedRect(const Rect &proposedRect, LineSweepDirection sweep,
                                                       LineMovementDirection movement, Rect *remaining)
{
    if (remaining)
        *remaining = Rect();
    Rect proposed = proposedRect;
    Rect fragment = TextContainer::lineFragmentRectForProposedRect(proposed, sweep, movement, nullptr);
    if (fragment.width() <= 0 || !m_textObject || m_textObject->contents().length() == 0)
        return fragment;

    // Page boundaries: a line whose top and bottom lie on different pages moves down until
    // it starts on the next page. This holds for a box alone on its pages too.
    DocumentServices *document = m_textObject->document();
    CanvasServices *view = document ? document->vekView() : nullptr;
    int page = 0;
    if (view) {
        const float top = m_textObject->bounds().minY();
        page = view->drawingPage();
        // A page holds the y in (its top, its bottom]: a line's top is taken just below it.
        auto pageOfTop = [&] { return view->pageOfLocation({proposed.minX(), top + proposed.minY() + 0.01f}); };
        const int topPage = pageOfTop();
        const int bottomPage = view->pageOfLocation({proposed.minX(), top + proposed.maxY()});
        if (bottomPage > topPage && m_textObject->repeatType() == 0) {
            while (pageOfTop() == topPage)
                proposed.origin.y += Gap;
            return plainFragment(proposed);
        }
        page = std::max(page, topPage);
    }
    if (m_objects.size() < 2)
        return fragment;

    const Rect frame = textFrame(page, fragment);
    const float pad = lineFragmentPadding();
    const float minW = minimumWidth();

    // Line tracking: a fragment at x 0 below the last one begins a new line.
    const bool newLine = m_lineNumber == 0 || (fragment.minX() == 0 && fragment.minY() > m_lastProposed.minY());
    LayoutManager *layout = layoutManager();
    float indent = 0;
    if (newLine) {
        const int paragraphStart = layout ? layout->currentParagraphRange().location : 0;
        // The layout sets a line's first fragment in from its left edge by the indent (the
        // first-line indent on a paragraph's first line), so an object that leaves less than
        // that free on the left leaves no room there.
        if (layout) {
            const ParagraphStyle &style = layout->currentParagraphStyle();
            const bool firstLine = m_lineNumber == 0 || paragraphStart != m_paragraphStart;
            indent = std::max(firstLine ? style.firstLineHeadIndent : style.headIndent, 0.0f);
        }
        m_lastProposed = fragment;
        ++m_lineNumber;
        m_isFirstFragment = true;
        m_paragraphStart = paragraphStart;
    } else if (!continueLine(fragment)) {
        return Rect();
    }

    // The clip shape behind the box, when it meets the box.
    lookUpClip();
    // A line with no room in the shape moves down by its height and is shaped again there,
    // so that no line stands outside the shape.
    if (m_clipPath && (m_clipType == 1 || m_clipType == 2) && intersectsRect(m_clipPath->bounds(), frame)) {
        while (!applyClip(fragment, remaining, frame)) {
            if (remaining)
                *remaining = Rect();
            proposed.origin.y += proposed.height();
            fragment = plainFragment(proposed);
            if (fragment.isEmpty())
                return fragment;
        }
    }

    // Exclusive objects: cut the line around them.
    int cuts = 0;
    const float frameWidth = frame.width();
    for (const auto &object : m_objects) {
        if (fragment.width() <= minW || fragment.minX() >= frameWidth - pad - minW)
            break;
        if (!object || object.get() == m_textObject || !object->isExclusive())
            continue;
        const std::optional<Rect> other = exclusiveRect(*object, page, frame, fragment);
        if (!other)
            continue;
        const Rect cut = intersectionRect(*other, fragment);
        if (cut.isEmpty())
            continue;
        m_floatingObjects.insert(object.get());
        if (dynamic_cast<const VekObjSpaceholder *>(object.get())) {
            // The page's line space holder: text goes on below it.
            Rect below = proposed;
            below.origin.y = other->minY() + 1.0f;
            return plainFragment(below);
        }
        if (fragment.width() <= pad + cut.width() + Gap) {
            // No room beside the object: the line goes below it.
            if (remaining)
                *remaining = Rect();
            if (fragment.width() < 2 * fragment.height() && fragment.minX() > 0 && !m_isFirstFragment)
                return Rect();
            Rect below = proposed;
            below.origin.y = other->minY() + std::max(cut.height() + Gap, proposed.height());
            return plainFragment(below);
        }
        ++cuts;
        // The part right of the object.
        Rect right(cut.maxX() + Gap, fragment.minY(), 0, fragment.height());
        right.size.width = std::min(fragment.maxX(), frameWidth) - right.minX();
        const bool rightUsable = right.width() >= minW && right.width() >= 2 * fragment.height()
                                 && right.minX() <= frameWidth + minW;
        if (cut.minX() <= fragment.minX() + (cuts == 1 ? indent : 0) + minW) {
            if (!rightUsable) {
                if (remaining)
                    *remaining = Rect();
                Rect below = proposed;
                below.origin.y = other->minY() + std::max(cut.height() + Gap, proposed.height());
                return plainFragment(below);
            }
            fragment = right;
        } else {
            const float leftWidth = cut.minX() - Gap - pad - fragment.minX();
            if (remaining)
                *remaining = rightUsable ? right : Rect();
            fragment.size.width = std::max(leftWidth, 0.0f);
        }
        m_isFirstFragment = false;
    }
    if (fragment.width() <= minW && remaining && !remaining->isEmpty()) {
        fragment = *remaining;
        *remaining = Rect();
    }
    if (cuts > 1 && remaining && !remaining->isEmpty() && remaining->minX() < fragment.maxX() + minW)
        remaining->origin.x = fragment.maxX();
    return fragment;
}
