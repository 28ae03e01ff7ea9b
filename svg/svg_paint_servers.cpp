// Gradient paint servers: whether the document's gradient kinds hold one exactly, and the
// image of one that they do not.
#include "svg/svg_paint_servers.h"

#include "platform/graphics/path_conversion.h"
#include "platform/image/bitmap_rep.h"
#include "svg/svg_clipping.h"
#include "svg/svg_definitions.h"
#include "svg/svg_geometry.h"
#include "svg/svg_scanner.h"
#include "svg/svg_shapes.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>
#include <functional>

namespace {

bool isLinear(const SvgDefinition &server) { return server.gradientClass == u"SVGLinearGradient"; }
bool isRadial(const SvgDefinition &server) { return server.gradientClass == u"SVGRadialGradient"; }
bool inBoundingBox(const SvgDefinition &server) { return server.text(QStringLiteral("gradientUnits")) != u"userSpaceOnUse"; }

// A coordinate of the gradient: in bounding-box units a fraction ("50%" or "0.5"), in user
// space a length against the viewport's width or height.
double coordinate(const SvgDefinition &server, const char *key, const SvgGraphicsState &state, bool vertical,
                  double fallback)
{
    const QString text = server.text(QLatin1String(key)).trimmed();
    if (text.isEmpty())
        return fallback;
    if (inBoundingBox(server))
        return text.endsWith(u'%') ? svgLeadingDouble(text) / 100 : svgLeadingDouble(text);
    const double reference = !state.viewBox ? 0
                             : vertical     ? state.viewBox->size.height
                                            : state.viewBox->size.width;
    return unitToPix(text, state, reference);
}

QTransform qtTransform(const SvgMatrix &m) { return QTransform(m.m11, m.m21, m.m12, m.m22, m.tX, m.tY); }

// The gradient transform of the server, applied to user space before the element's.
QTransform gradientTransform(const SvgDefinition &server, const SvgGraphicsState &state)
{
    const QString text = server.text(QStringLiteral("gradientTransform"));
    if (text.trimmed().isEmpty())
        return QTransform();
    SvgGraphicsState identity = state;
    identity.resetTransform();
    return qtTransform(svgTransform(text, identity).ctm);
}

bool hasHardEdge(const std::vector<SvgStop> &stops)
{
    for (size_t i = 1; i < stops.size(); ++i)
        if (stops[i].offset <= stops[i - 1].offset)
            return true;
    return false;
}

bool near(double a, double b) { return std::abs(a - b) < 1e-6; }

// Whether the path object's own gradient of the kind gives this fill: a linear gradient across
// the object's box from its left edge to its right, or circles about the centre of a square box
// out to its edge, under a transform that neither turns, skews nor mirrors.
bool documentHoldsGradient(const SvgDefinition &server, const SvgGraphicsState &state, const Rect &pageBounds)
{
    const SvgMatrix &m = state.ctm;
    if (!inBoundingBox(server) || !server.text(QStringLiteral("gradientTransform")).trimmed().isEmpty()
        || m.m12 != 0 || m.m21 != 0 || m.m11 <= 0 || m.m22 <= 0 || hasHardEdge(server.stops))
        return false;
    auto at = [&](const char *key, bool vertical, double fallback) { return coordinate(server, key, state, vertical, fallback); };
    if (isLinear(server))
        return near(at("X1", false, 0), 0) && near(at("X2", false, 1), 1) && near(at("Y1", true, 0), at("Y2", true, 0));
    if (!isRadial(server))
        return false;
    const double w = pageBounds.size.width, h = pageBounds.size.height;
    return near(at("Cx", false, 0.5), 0.5) && near(at("Cy", true, 0.5), 0.5) && near(at("fx", false, 0.5), 0.5)
           && near(at("fy", true, 0.5), 0.5) && near(at("R", false, 0.5), 0.5) && near(at("fr", false, 0), 0)
           && w > 0 && std::abs(w - h) <= 0.005 * w;
}

QColor stopColor(const SvgStop &stop)
{
    const Color &c = stop.color;
    return QColor::fromRgbF(float(c.redComponent()), float(c.greenComponent()), float(c.blueComponent()),
                            std::clamp(c.alphaComponent() * stop.opacity, 0.0f, 1.0f));
}

// The gradient in its own coordinates, with the stops, spread and focal point of the server;
// nothing when SVG draws it as one colour (a line of no length, a radius of 0).
std::unique_ptr<QGradient> qtGradient(const SvgDefinition &server, const SvgGraphicsState &state)
{
    auto at = [&](const char *key, bool vertical, double fallback) { return coordinate(server, key, state, vertical, fallback); };
    std::unique_ptr<QGradient> gradient;
    const double half = inBoundingBox(server) ? 0.5 : 0;
    if (isLinear(server)) {
        const QPointF start(at("X1", false, 0), at("Y1", true, 0)), end(at("X2", false, 1), at("Y2", true, 0));
        if (start == end)
            return nullptr;
        gradient = std::make_unique<QLinearGradient>(start, end);
    } else {
        const double cx = at("Cx", false, half), cy = at("Cy", true, half), r = at("R", false, half);
        if (!(r > 0))
            return nullptr;
        double fx = at("fx", false, cx), fy = at("fy", true, cy);
        // A focal point outside the circle is moved onto it, just inside.
        const double distance = std::hypot(fx - cx, fy - cy);
        if (distance > r * 0.999) {
            fx = cx + (fx - cx) * r * 0.999 / distance;
            fy = cy + (fy - cy) * r * 0.999 / distance;
        }
        gradient = std::make_unique<QRadialGradient>(QPointF(cx, cy), r, QPointF(fx, fy), std::max(0.0, at("fr", false, 0)));
    }
    const QString spread = server.text(QStringLiteral("spreadMethod")).trimmed();
    gradient->setSpread(spread == u"reflect" ? QGradient::ReflectSpread
                        : spread == u"repeat" ? QGradient::RepeatSpread
                                              : QGradient::PadSpread);
    // Stops at one offset make a hard edge: the later stop takes over just after it.
    QGradientStops stops;
    for (const SvgStop &stop : server.stops) {
        double offset = stop.offset;
        if (!stops.isEmpty() && offset <= stops.last().first)
            offset = std::min(1.0, stops.last().first + 1e-6);
        if (!stops.isEmpty() && offset <= stops.last().first)
            stops.last().second = stopColor(stop);
        else
            stops.append({offset, stopColor(stop)});
    }
    gradient->setStops(stops);
    return gradient;
}

// The image of the fill over the outline's box on the page, and the info that shows it
// clipped to the outline; nothing when the outline has no area.
// Paints a fill: given the painter on the image and the map from the element's user space
// to the image's pixels; false when SVG draws nothing.
using FillPainter = std::function<bool(QPainter &, const QTransform &userToImage)>;

// The image of a paint over the box of `outline` (the fill's outline, or the stroke's) on the
// page, and the info that shows it clipped to the outline; nothing when the outline has no
// area or the paint paints nothing.
std::optional<SvgObjectInfo> filledImage(const SvgObjectInfo &info, const SvgClip &outline, float opacity,
                                         const FillPainter &paint)
{
    const Rect bounds = outline.path.bounds();
    if (!(bounds.size.width > 0 && bounds.size.height > 0))
        return std::nullopt;
    const double pixels = bounds.size.width * bounds.size.height * SvgFillImageScale * SvgFillImageScale;
    const double scale = SvgFillImageScale * std::min(1.0, std::sqrt(SvgFillImageMaximumPixels / pixels));
    const QSize size(std::max(1, int(std::ceil(bounds.size.width * scale))), std::max(1, int(std::ceil(bounds.size.height * scale))));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        const QTransform toPixels = QTransform::fromTranslate(-bounds.origin.x, -bounds.origin.y)
                                    * QTransform::fromScale(double(size.width()) / bounds.size.width,
                                                            double(size.height()) / bounds.size.height);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setOpacity(std::clamp(double(opacity), 0.0, 1.0));
        if (!paint(painter, qtTransform(info.state.ctm) * toPixels))
            return std::nullopt;
    }
    SvgObjectInfo imageInfo;
    imageInfo.classNr = SvgImageObject;
    imageInfo.state = info.state;
    // The pixels cover the outline's box at the image scale: the picture's size is the box's.
    BitmapRep bitmap(image);
    bitmap.setSize(bounds.size);
    imageInfo.image = Image(bitmap);
    imageInfo.imageFrame = bounds;
    imageInfo.clip = info.clip ? svgIntersectedClip(outline, *info.clip) : outline;
    return imageInfo;
}

// The user-space box of the element, for servers in bounding-box units; nothing for a box
// without area (SVG then paints nothing).
std::optional<QTransform> boxTransform(const SvgObjectInfo &info)
{
    const std::optional<Rect> box = svgUserBounds(info);
    if (!box || !(box->size.width > 0 && box->size.height > 0))
        return std::nullopt;
    return QTransform(box->size.width, 0, 0, box->size.height, box->origin.x, box->origin.y);
}

bool paintGradient(const SvgObjectInfo &info, const SvgDefinition &server, QPainter &painter, const QTransform &userToImage)
{
    QTransform toUser;   // gradient space to user space
    if (inBoundingBox(server)) {
        const auto box = boxTransform(info);
        if (!box)
            return false;
        toUser = *box;
    }
    // The gradient transform works in the gradient's own units (the box's, when it has them);
    // the gradient is painted in its own coordinates over the part of its plane the image shows.
    const QTransform toImage = gradientTransform(server, info.state) * toUser * userToImage;
    bool invertible = false;
    const QTransform fromImage = toImage.inverted(&invertible);
    if (!invertible)
        return false;
    const std::unique_ptr<QGradient> gradient = qtGradient(server, info.state);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient ? QBrush(*gradient) : QBrush(stopColor(server.stops.back())));
    painter.setTransform(toImage);
    painter.drawPolygon(fromImage.map(QPolygonF(QRectF(0, 0, painter.device()->width(), painter.device()->height()))));
    return true;
}

// Draws a content info of a pattern tile: its image, or its outline filled and stroked in
// plain colours.
void paintContent(QPainter &painter, const SvgObjectInfo &info, const QTransform &contentToTile)
{
    const SvgGraphicsState &s = info.state;
    painter.setTransform(contentToTile);
    if (info.clip) {
        QPainterPath clip = toQPainterPath(info.clip->path);
        clip.setFillRule(info.clip->rule == 1 ? Qt::OddEvenFill : Qt::WindingFill);
        painter.setClipPath(clip);
    } else {
        painter.setClipping(false);
    }
    if (info.classNr == SvgImageObject) {
        const Rect &f = info.imageFrame;
        painter.drawImage(QRectF(f.origin.x, f.origin.y, f.size.width, f.size.height), info.image.toQImage());
        return;
    }
    auto qtColor = [&](const Color &c, float alpha) {
        return QColor::fromRgbF(c.redComponent(), c.greenComponent(), c.blueComponent(),
                                std::clamp(c.alphaComponent() * alpha, 0.0f, 1.0f));
    };
    QPainterPath path = toQPainterPath(info.bezierPath);
    path.setFillRule(s.fillRule == 1 ? Qt::OddEvenFill : Qt::WindingFill);
    if (s.fillColor.color && s.fillColor.color->alphaComponent() > 0)
        painter.fillPath(path, qtColor(*s.fillColor.color, s.fillOpacity * s.effectiveOpacity()));
    if (s.strokeColor.color && s.strokeColor.color->alphaComponent() > 0 && s.strokeWidth > 0) {
        const double scale = 0.5 * (std::abs(s.scaleX) + std::abs(s.scaleY));
        QPen pen(qtColor(*s.strokeColor.color, s.strokeOpacity * s.effectiveOpacity()), s.strokeWidth * scale);
        pen.setCapStyle(s.lineCap == 1 ? Qt::RoundCap : s.lineCap == 2 ? Qt::SquareCap : Qt::FlatCap);
        pen.setJoinStyle(s.lineJoin == 1 ? Qt::RoundJoin : s.lineJoin == 2 ? Qt::BevelJoin : Qt::SvgMiterJoin);
        pen.setMiterLimit(s.miterLimit);
        painter.strokePath(path, pen);
    }
}

// Patterns nest at most this deep (a pattern whose content uses itself ends here).
constexpr int MaximumPatternDepth = 4;

bool paintPattern(const SvgObjectInfo &info, const SvgDefinition &pattern, QPainter &painter, const QTransform &userToImage)
{
    if (!pattern.state)
        return false;
    SvgImportTables &tables = *pattern.state->tables;
    if (tables.patternDepth >= MaximumPatternDepth)
        return false;
    // The tile in pattern space, and the pattern space on the image.
    double x = pattern.patternX, y = pattern.patternY, w = pattern.patternWidth, h = pattern.patternHeight;
    QTransform contentInTile;   // content units to the tile's own space (origin at its corner)
    const std::optional<QTransform> box = boxTransform(info);
    if (pattern.text(QStringLiteral("patternUnits")) != u"userSpaceOnUse") {
        if (!box)
            return false;
        x = box->dx() + x * box->m11();
        y = box->dy() + y * box->m22();
        w *= box->m11();
        h *= box->m22();
    }
    if (!(w > 0 && h > 0))
        return false;
    if (pattern.patternHasViewBox) {
        const Rect &vb = pattern.patternViewBox;
        if (!(vb.size.width > 0 && vb.size.height > 0))
            return false;
        const Rect fitted = svgFittedRect(vb.size, Rect(0, 0, float(w), float(h)), pattern.patternAspectRatio);
        const double sx = fitted.size.width / vb.size.width, sy = fitted.size.height / vb.size.height;
        contentInTile = QTransform(sx, 0, 0, sy, fitted.origin.x - vb.origin.x * sx, fitted.origin.y - vb.origin.y * sy);
    } else if (pattern.text(QStringLiteral("patternContentUnits")) == u"objectBoundingBox") {
        if (!box)
            return false;
        contentInTile = QTransform(box->m11(), 0, 0, box->m22(), 0, 0);
    }
    SvgGraphicsState identity = *pattern.state;
    identity.resetTransform();
    const QTransform patternToImage = qtTransform(svgTransform(pattern.text(QStringLiteral("patternTransform")), identity).ctm)
                                      * userToImage;
    // The tile at the resolution it shows with on the image.
    const double scale = std::max(1e-3, std::sqrt(std::abs(patternToImage.determinant())));
    const double tileScale = std::min(scale, std::sqrt(SvgFillImageMaximumPixels / (w * h)));
    const QSize tileSize(std::max(1, int(std::ceil(w * tileScale))), std::max(1, int(std::ceil(h * tileScale))));
    QImage tile(tileSize, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    {
        QPainter tilePainter(&tile);
        tilePainter.setRenderHint(QPainter::Antialiasing);
        const QTransform toTile = contentInTile * QTransform::fromScale(tileSize.width() / w, tileSize.height() / h);
        SvgGraphicsState content = *pattern.state;
        content.resetTransform();
        content.clipped = false;
        content.boundingBoxClips.clear();
        ++tables.patternDepth;
        for (xmlNode *element : pattern.elements) {
            std::vector<SvgObjectInfo> drawn;
            SvgObjectInfo child = elementToObjInfo(svgQualifiedName(element), svgAttributes(element), content);
            if (child.isEmpty() || !child.state.isDrawn())
                continue;
            child.clip = svgInfoClip(child);
            svgAppendFilledPath(std::move(child), drawn);
            for (const SvgObjectInfo &part : drawn)
                paintContent(tilePainter, part, toTile);
        }
        --tables.patternDepth;
    }
    QBrush brush(tile);
    brush.setTransform(QTransform::fromScale(w / tileSize.width(), h / tileSize.height()) * QTransform::fromTranslate(x, y)
                       * patternToImage);
    painter.setPen(Qt::NoPen);
    painter.setBrush(brush);
    painter.resetTransform();
    painter.drawRect(QRect(0, 0, painter.device()->width(), painter.device()->height()));
    return true;
}

// The outline a stroke covers on the page, under the element's width, caps, joins and dashes.
SvgClip strokeOutline(const SvgObjectInfo &info)
{
    const SvgGraphicsState &s = info.state;
    const double scale = 0.5 * (std::abs(s.scaleX) + std::abs(s.scaleY));
    QPainterPathStroker stroker;
    stroker.setWidth(s.strokeWidth * scale);
    stroker.setCapStyle(s.lineCap == 1 ? Qt::RoundCap : s.lineCap == 2 ? Qt::SquareCap : Qt::FlatCap);
    stroker.setJoinStyle(s.lineJoin == 1 ? Qt::RoundJoin : s.lineJoin == 2 ? Qt::BevelJoin : Qt::SvgMiterJoin);
    stroker.setMiterLimit(s.miterLimit);
    if (!s.dashArray.empty() && s.strokeWidth > 0) {
        QList<qreal> dashes;
        for (float dash : s.dashArray)
            dashes.append(dash / s.strokeWidth);
        if (dashes.size() % 2 == 1)
            dashes += dashes;
        stroker.setDashPattern(dashes);
        stroker.setDashOffset(s.dashOffset / s.strokeWidth);
    }
    QPainterPath outline = stroker.createStroke(toQPainterPath(info.bezierPath));
    outline.setFillRule(Qt::WindingFill);
    return SvgClip{fromQPainterPath(outline.simplified()), 0};
}

// The painter of a gradient or pattern server; nothing for a server of another kind.
std::optional<FillPainter> serverPainter(const SvgObjectInfo &info, const SvgDefinitionRef &server)
{
    if (isLinear(*server) || isRadial(*server))
        return FillPainter([&info, server](QPainter &painter, const QTransform &userToImage) {
            return paintGradient(info, *server, painter, userToImage);
        });
    if (server->gradientClass == u"SVGPattern")
        return FillPainter([&info, server](QPainter &painter, const QTransform &userToImage) {
            return paintPattern(info, *server, painter, userToImage);
        });
    return std::nullopt;
}

// A gradient of fewer than two stops paints as one colour (the one stop's), or not at all.
std::optional<SvgPaint> plainPaint(const SvgDefinition &server)
{
    if (!(isLinear(server) || isRadial(server)) || server.stops.size() >= 2)
        return std::nullopt;
    const SvgStop only = server.stops.empty() ? SvgStop{0, svgColor(0, 0, 0, 0), 0} : server.stops.front();
    return SvgPaint{svgColorWithAlpha(only.color, float(only.color.alphaComponent()) * only.opacity), nullptr};
}

} // namespace

void svgAppendFilledPath(SvgObjectInfo &&info, std::vector<SvgObjectInfo> &out)
{
    SvgGraphicsState &state = info.state;
    if (info.classNr != SvgPathObject) {
        out.push_back(std::move(info));
        return;
    }
    for (SvgPaint *paint : {&state.fillColor, &state.strokeColor})
        if (paint->server)
            if (const auto plain = plainPaint(*paint->server))
                *paint = *plain;
    const SvgDefinitionRef fill = state.fillColor.isColor() ? nullptr : state.fillColor.server;
    const SvgDefinitionRef stroke = state.strokeColor.isColor() ? nullptr : state.strokeColor.server;
    const bool imageFill = fill && !documentHoldsGradient(*fill, state, info.bezierPath.bounds());
    if (!imageFill && !stroke) {
        out.push_back(std::move(info));
        return;
    }
    if (imageFill) {
        if (const auto painter = serverPainter(info, fill))
            if (auto image = filledImage(info, SvgClip{info.bezierPath, state.fillRule},
                                         state.fillOpacity * state.effectiveOpacity(), *painter))
                out.push_back(std::move(*image));
        state.fillColor = SvgPaint{svgColor(0, 0, 0, 0), nullptr};
    }
    // A fill the path object holds stays the path's, under the stroke's image.
    std::optional<SvgObjectInfo> strokeImage;
    if (stroke) {
        if (const auto painter = serverPainter(info, stroke); painter && state.strokeWidth > 0)
            strokeImage = filledImage(info, strokeOutline(info), state.strokeOpacity * state.effectiveOpacity(), *painter);
        state.strokeColor = SvgPaint{svgColor(0, 0, 0, 0), nullptr};
    }
    const bool filled = !state.fillColor.isColor() || state.fillColor.color->alphaComponent() > 0;
    const bool stroked = state.strokeColor.color && state.strokeColor.color->alphaComponent() > 0;
    // The path stays for what it still draws itself, and for its markers.
    std::vector<SvgObjectInfo> markers = std::move(info.markerInfos);
    if (filled || stroked)
        out.push_back(std::move(info));
    if (strokeImage)
        out.push_back(std::move(*strokeImage));
    if (!markers.empty()) {
        // The markers go with the last info made (they draw over the stroke).
        if (out.empty() || (!filled && !stroked && !strokeImage)) {
            SvgObjectInfo carrier = std::move(info);
            carrier.markerInfos = std::move(markers);
            out.push_back(std::move(carrier));
        } else {
            out.back().markerInfos = std::move(markers);
        }
    }
}
