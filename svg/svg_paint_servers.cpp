// Gradient paint servers: whether the document's gradient kinds hold one exactly, and the
// image of one that they do not.
#include "svg/svg_paint_servers.h"

#include "platform/graphics/path_conversion.h"
#include "platform/image/bitmap_rep.h"
#include "svg/svg_clipping.h"
#include "svg/svg_definitions.h"
#include "svg/svg_geometry.h"
#include "svg/svg_scanner.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

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
std::optional<SvgObjectInfo> filledImage(const SvgObjectInfo &info, const SvgDefinition &server, float opacity)
{
    const Rect bounds = info.bezierPath.bounds();
    if (!(bounds.size.width > 0 && bounds.size.height > 0))
        return std::nullopt;
    const double pixels = bounds.size.width * bounds.size.height * SvgFillImageScale * SvgFillImageScale;
    const double scale = SvgFillImageScale * std::min(1.0, std::sqrt(SvgFillImageMaximumPixels / pixels));
    const QSize size(std::max(1, int(std::ceil(bounds.size.width * scale))), std::max(1, int(std::ceil(bounds.size.height * scale))));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QTransform toUser;   // gradient space to user space
        if (inBoundingBox(server)) {
            const std::optional<Rect> box = svgUserBounds(info);
            if (!box || !(box->size.width > 0 && box->size.height > 0))
                return std::nullopt;   // SVG draws no bounding-box gradient on a line
            toUser = QTransform(box->size.width, 0, 0, box->size.height, box->origin.x, box->origin.y);
        }
        // The gradient transform works in the gradient's own units (the box's, when it has them).
        const QTransform toPage = gradientTransform(server, info.state) * toUser * qtTransform(info.state.ctm);
        const QTransform toPixels = QTransform::fromTranslate(-bounds.origin.x, -bounds.origin.y)
                                    * QTransform::fromScale(double(size.width()) / bounds.size.width,
                                                            double(size.height()) / bounds.size.height);
        // The gradient is painted in its own coordinates, the painter mapping them onto the
        // pixels, over the part of its plane that the image shows.
        const QTransform toImage = toPage * toPixels;
        bool invertible = false;
        const QTransform fromImage = toImage.inverted(&invertible);
        QPainter painter(&image);
        painter.setOpacity(std::clamp(double(opacity), 0.0, 1.0));
        painter.setPen(Qt::NoPen);
        const std::unique_ptr<QGradient> gradient = qtGradient(server, info.state);
        painter.setBrush(gradient ? QBrush(*gradient) : QBrush(stopColor(server.stops.back())));
        if (invertible) {
            painter.setTransform(toImage);
            painter.drawPolygon(fromImage.map(QPolygonF(QRectF(image.rect()))));
        }
    }
    SvgObjectInfo imageInfo;
    imageInfo.classNr = SvgImageObject;
    imageInfo.state = info.state;
    // The pixels cover the outline's box at the image scale: the picture's size is the box's.
    BitmapRep bitmap(image);
    bitmap.setSize(bounds.size);
    imageInfo.image = Image(bitmap);
    imageInfo.imageFrame = bounds;
    const SvgClip outline{info.bezierPath, info.state.fillRule};
    imageInfo.clip = info.clip ? svgIntersectedClip(outline, *info.clip) : outline;
    return imageInfo;
}

} // namespace

void svgAppendFilledPath(SvgObjectInfo &&info, std::vector<SvgObjectInfo> &out)
{
    SvgGraphicsState &state = info.state;
    const SvgDefinitionRef server = state.fillColor.server;
    if (info.classNr != SvgPathObject || state.fillColor.isColor() || !server || !(isLinear(*server) || isRadial(*server))) {
        out.push_back(std::move(info));
        return;
    }
    // No stops: no fill; one stop: its colour.
    if (server->stops.size() < 2) {
        const SvgStop only = server->stops.empty() ? SvgStop{0, svgColor(0, 0, 0, 0), 0} : server->stops.front();
        state.fillColor = SvgPaint{svgColorWithAlpha(only.color, float(only.color.alphaComponent()) * only.opacity), nullptr};
        out.push_back(std::move(info));
        return;
    }
    if (documentHoldsGradient(*server, state, info.bezierPath.bounds())) {
        out.push_back(std::move(info));
        return;
    }
    if (auto image = filledImage(info, *server, state.fillOpacity * state.effectiveOpacity()))
        out.push_back(std::move(*image));
    // The stroke (and the markers) stay the path's, drawn over the fill.
    state.fillColor = SvgPaint{svgColor(0, 0, 0, 0), nullptr};
    const bool stroked = !state.strokeColor.isColor() || state.strokeColor.color->alphaComponent() > 0;
    if (stroked || !info.markerInfos.empty())
        out.push_back(std::move(info));
}
