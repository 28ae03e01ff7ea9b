// New path objects from paths, text and the chosen object set.
#include "canvas/path_object_commands.h"

#include "canvas/glyph_outlines.h"
#include "document/vek_document.h"
#include "model/services/shell_services.h"
#include "model/vek_obj_path.h"
#include "platform/geometry/affine_transform.h"
#include "platform/text/layout_manager.h"
#include "toolkit/path_editing.h"

#include <cmath>

namespace {

// What text set into the conversion's rectangle may add below it before it counts as not
// fitting.
constexpr float GlyphAreaExtraHeight = 100.0f;

void movePath(BezierPath &path, Point by)
{
    AffineTransform move;
    move.translateXBy(by.x, by.y);
    path.transformUsingAffineTransform(move);
}

} // namespace

std::shared_ptr<VekObject> insertNewPathObject(CanvasCommandContext &context, const BezierPath &path)
{
    const std::shared_ptr<VekObjPath> object = VekObjPath::create();
    object->setBounds(path.bounds());
    object->setBezierPath(path);
    context.document.insertObject(object, 0, true);
    context.host.selectObjectExclusively(object);
    return object;
}

void createObjPathFromObjObj(CanvasCommandContext &context, const std::shared_ptr<VekObject> &drawn)
{
    const std::vector<std::shared_ptr<VekObject>> set = shellServices().selectedObjectSetObjects();
    if (set.empty() || !drawn)
        return;
    Rect area = drawn->bounds();
    area.origin = HalfPosition(area.origin);
    context.document.removeObjectAtIndex(context.document.indexOfObject(drawn.get()), true);

    Rect united = set.front()->bounds();
    for (const auto &object : set)
        united = unionRect(united, object->bounds());
    if (united.width() <= 0 || united.height() <= 0) {
        united.size.width = std::max(united.width(), 1.0f);
        united.size.height = std::max(united.height(), 1.0f);
    }
    const float sx = area.width() / united.width(), sy = area.height() / united.height();
    for (const auto &object : set) {
        const Rect b = object->bounds();
        const std::shared_ptr<VekObject> copy = object->copy();
        if (!copy)
            continue;
        copy->setBoundsSimplyAs(Rect(area.origin.x + (b.origin.x - united.origin.x) * sx,
                                     area.origin.y + (b.origin.y - united.origin.y) * sy, b.width() * sx,
                                     b.height() * sy));
        if (auto *path = dynamic_cast<VekObjPath *>(copy.get()))
            path->setOriginalSize(b.size);
        context.document.insertObject(copy, 0, true);
    }
}

std::shared_ptr<VekObject> createObjPathWith(CanvasCommandContext &context, BezierPath path,
                                             const std::shared_ptr<VekObject> &imageObject)
{
    if (path.isEmpty())
        return nullptr;
    const bool imageInDocument = imageObject && context.document.indexOfObject(imageObject.get()) >= 0;
    movePath(path, imageInDocument ? imageObject->bounds().origin : context.host.visibleRect().origin);
    return insertNewPathObject(context, path);
}

std::shared_ptr<VekObject> makeGlyphObjectsFrom(CanvasCommandContext &context, const AttributedString &text,
                                                const Rect &rect)
{
    if (text.isEmpty())
        return nullptr;
    LayoutManager layout;
    TextContainer container;
    const float pad = container.lineFragmentPadding();
    container.setContainerSize({std::ceil(rect.width() + 2 * pad),
                                std::ceil(rect.height() + 2 * pad) + GlyphAreaExtraHeight});
    layout.addTextContainer(&container);
    layout.setAttributedString(text);
    // Glyph indexes are character indexes in this layout.
    const TextRange fitting = layout.glyphRangeForTextContainer(&container);
    if (fitting.isEmpty())
        return nullptr;
    BezierPath outlines = bezierPathWithText(text, fitting);
    if (outlines.isEmpty())
        return nullptr;
    movePath(outlines, rect.origin);
    return insertNewPathObject(context, outlines);
}
