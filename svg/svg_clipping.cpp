// Clip outlines: clip path children united, clips intersected.
#include "svg/svg_clipping.h"

#include "platform/foundation/c_locale.h"
#include "platform/graphics/path_conversion.h"
#include "svg/svg_definitions.h"
#include "svg/svg_geometry.h"
#include "svg/svg_shapes.h"

#include <QPainterPath>
#include <QTransform>

namespace {

// Clip paths that refer to themselves (or a chain too long) end here.
constexpr int MaximumClipDepth = 8;

QPainterPath qtPath(const SvgClip &clip)
{
    QPainterPath path = toQPainterPath(clip.path);
    path.setFillRule(clip.rule == 1 ? Qt::OddEvenFill : Qt::WindingFill);
    return path;
}

SvgClip fromQt(const QPainterPath &path)
{
    return SvgClip{fromQPainterPath(path), path.fillRule() == Qt::OddEvenFill ? 1 : 0};
}

QTransform qtTransform(const SvgMatrix &m) { return QTransform(m.m11, m.m21, m.m12, m.m22, m.tX, m.tY); }

} // namespace

SvgClip svgIntersectedClip(const SvgClip &a, const SvgClip &b)
{
    return fromQt(qtPath(a).intersected(qtPath(b)));
}

void svgClipStateTo(SvgGraphicsState &state, const SvgClip &clip)
{
    if (!state.clipped) {
        state.clipPath = clip.path;
        state.clipPathRule = clip.rule;
        state.clipped = true;
        return;
    }
    const SvgClip narrowed = svgIntersectedClip(SvgClip{state.clipPath, state.clipPathRule}, clip);
    state.clipPath = narrowed.path;
    state.clipPathRule = narrowed.rule;
}

std::optional<Rect> svgUserBounds(const SvgObjectInfo &info)
{
    bool invertible = false;
    const QTransform inverse = qtTransform(info.state.ctm).inverted(&invertible);
    if (!invertible)
        return std::nullopt;
    QPainterPath page;
    if (info.classNr == SvgImageObject)
        page.addRect(QRectF(info.imageFrame.origin.x, info.imageFrame.origin.y, info.imageFrame.size.width,
                            info.imageFrame.size.height));
    else
        page = toQPainterPath(info.bezierPath);
    const QRectF box = inverse.map(page).boundingRect();
    return Rect(float(box.x()), float(box.y()), float(box.width()), float(box.height()));
}

std::optional<SvgClip> svgClipPathOutline(const SvgDefinition &clipPath, const SvgMatrix &userToPage,
                                          const std::optional<Rect> &userBox)
{
    if (!clipPath.state)
        return std::nullopt;
    SvgImportTables &tables = *clipPath.state->tables;
    if (tables.clipDepth >= MaximumClipDepth)
        return std::nullopt;
    QTransform toPage = qtTransform(userToPage);
    if (clipPath.text(QStringLiteral("clipPathUnits")) == u"objectBoundingBox") {
        if (!userBox || !(userBox->size.width > 0 && userBox->size.height > 0))
            return std::nullopt;
        toPage = QTransform(userBox->size.width, 0, 0, userBox->size.height, userBox->origin.x, userBox->origin.y) * toPage;
    }
    ++tables.clipDepth;
    SvgGraphicsState state = *clipPath.state;
    // The whole transform set (the shape handlers read its scale parts too).
    state.resetTransform();
    state = svgTransform(formatC("matrix(%.9g %.9g %.9g %.9g %.9g %.9g)", toPage.m11(), toPage.m12(), toPage.m21(),
                                 toPage.m22(), toPage.dx(), toPage.dy()),
                         state);
    state.clipped = false;
    state.boundingBoxClips.clear();
    QPainterPath united;
    for (xmlNode *child : clipPath.elements) {
        const SvgObjectInfo info = elementToObjInfo(svgQualifiedName(child), svgAttributes(child), state);
        if (info.classNr != SvgPathObject || !info.state.isDrawn())
            continue;
        SvgClip outline{info.bezierPath, info.state.clipRule};
        if (const auto own = svgInfoClip(info))
            outline = svgIntersectedClip(outline, *own);
        united = united.united(qtPath(outline));
    }
    --tables.clipDepth;
    SvgClip result = fromQt(united);
    // The clip path's own clip-path (read into its state when it was filed) cuts it further.
    if (clipPath.state->clipped)
        result = svgIntersectedClip(result, SvgClip{clipPath.state->clipPath, clipPath.state->clipPathRule});
    return result;
}

std::optional<SvgClip> svgInfoClip(const SvgObjectInfo &info)
{
    const SvgGraphicsState &state = info.state;
    if (!state.clipped && state.boundingBoxClips.empty())
        return std::nullopt;
    std::optional<SvgClip> clip;
    if (state.clipped)
        clip = SvgClip{state.clipPath, state.clipPathRule};
    const std::optional<Rect> box = state.boundingBoxClips.empty() ? std::nullopt : svgUserBounds(info);
    for (const SvgBoundingBoxClip &pending : state.boundingBoxClips) {
        // A clip that cannot be laid out (no box) leaves nothing to draw.
        const SvgClip outline = svgClipPathOutline(*pending.clipPath, pending.userToPage, box).value_or(SvgClip());
        clip = clip ? svgIntersectedClip(*clip, outline) : outline;
    }
    return clip;
}
