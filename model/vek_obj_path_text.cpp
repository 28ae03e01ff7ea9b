// Text along a path: the text's storage and undoable setter, its CMYK form, the glyphs laid
// one by one along the path, and the font runs the document info lists.
#include "model/vek_obj_path.h"

#include "model/services/document_services.h"
#include "platform/geometry/affine_transform.h"
#include "platform/graphics/graphics_context.h"
#include "platform/text/layout_manager.h"
#include "platform/text/text_container.h"
#include "toolkit/path_measure.h"
#include "toolkit/text_extensions.h"

#include <cmath>

namespace {

// One layout manager with one huge container per thread, shared by the path objects drawn on
// that thread (tiles draw on several); a text is attached to it for the time of one drawing.
struct PathTextLayout {
    LayoutManager layoutManager;
    TextContainer container{Size{1.0e6f, 1.0e6f}};

    PathTextLayout()
    {
        layoutManager.addTextContainer(&container);
        layoutManager.setDrawsGlyphOutlines(true);
    }
    ~PathTextLayout() { layoutManager.removeTextContainer(&container); }
};

PathTextLayout &sharedLM()
{
    thread_local PathTextLayout layout;
    return layout;
}

// Detaches the text from the shared layout manager however the drawing ends.
struct AttachedText {
    explicit AttachedText(const AttributedString &text) { sharedLM().layoutManager.setAttributedString(text); }
    ~AttachedText() { sharedLM().layoutManager.setAttributedString(AttributedString()); }
};

} // namespace

std::optional<AttributedString> VekObjPath::attStringForPath() const
{
    if (!_attStringForPath)
        return std::nullopt;
    if (_attStringForPath->isEmpty() || !documentUsesCMYK())
        return _attStringForPath;
    return attributedStringUsingCMYK(*_attStringForPath);
}

void VekObjPath::setAttStringForPath(const std::optional<AttributedString> &text)
{
    std::optional<AttributedString> stored;
    if (text && !text->isEmpty())
        stored = text;
    // Compared by content: in a CMYK document the drawn text is a converted copy, and
    // handing it back unchanged must not make an undo step (nor convert the stored colours).
    if (stored == _attStringForPath || (stored && stored == attStringForPath()))
        return;
    // Undo takes the text back, also from a path that had none.
    registerUndo([old = _attStringForPath](VekObject &object) {
        static_cast<VekObjPath &>(object).setAttStringForPath(old);
    });
    _attStringForPath = stored;
    setWordCount(stored ? ::wordCount(stored->string()) : 0);
    _txtInfoArray = PropertyList();
    didChange();
    if (_document)
        postNotification(VekObjectWordcountDidChangeNotification);
}

void VekObjPath::drawString(const AttributedString &text, const BezierPath &path)
{
    GraphicsContext *context = GraphicsContext::current();
    LayoutManager &layoutManager = sharedLM().layoutManager;
    AttachedText attached(text);
    const TextRange glyphRange = layoutManager.glyphRangeForTextContainer(&sharedLM().container);
    const int n = glyphRange.length;
    if (n == 0 || !context)
        return;

    std::vector<Size> sizes(static_cast<size_t>(n));
    std::vector<bool> empty(static_cast<size_t>(n), true);
    for (int i = 0; i < n; ++i) {
        bool valid = false;
        const quint32 glyph = layoutManager.glyphAtIndex(glyphRange.location + i, &valid);
        if (!valid || glyph == 0 || glyph == ControlGlyph)
            continue;
        empty[size_t(i)] = false;
        sizes[size_t(i)] =
            layoutManager.boundingRectForGlyphRange({glyphRange.location + i, 1}, &sharedLM().container).size;
    }
    const std::vector<Point> centres = divideIntoAccordingToWithSpaceSlant(path, sizes, _attSpace, _attType);

    GraphicsStateSaver saver(*context);
    context->setImageInterpolation(ImageInterpolation::High);
    if (_document) {
        context->setShouldSmoothFonts(_document->smoothFonts());
        context->setShouldAntialias(_document->antialiasDraw());
    }
    Point previous = path.isEmpty() ? Point{} : path.element(0).endPoint();
    for (size_t i = 0; i < centres.size() && i < size_t(n); ++i) {
        if (empty[i])
            continue;
        const Point q = centres[i];
        const int glyphIndex = glyphRange.location + int(i);
        AffineTransform transform;
        transform.translateXBy(q.x, q.y);
        if (_attType == 1)
            transform.rotateByRadians(std::atan2(q.y - previous.y, q.x - previous.x));
        const Point location = layoutManager.locationForGlyphAtIndex(glyphIndex);
        const Point fragment = layoutManager.lineFragmentRectForGlyphAtIndex(glyphIndex).origin;
        GraphicsStateSaver glyphSaver(*context);
        context->concat(transform);
        layoutManager.drawGlyphsForGlyphRange({glyphIndex, 1},
                                              {-(location.x + fragment.x) - sizes[i].width / 2,
                                               -(_attOffset + location.y + fragment.y)});
        previous = q;
    }
}

PropertyList VekObjPath::textInfo() const
{
    std::lock_guard lock(_drawingCacheMutex);
    if (_txtInfoArray.isAbsent() && _attStringForPath)
        _txtInfoArray = getTextInfoArrayFor(*_attStringForPath);
    return _txtInfoArray;
}
