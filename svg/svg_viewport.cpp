// Viewports and groups.
#include "svg/svg_viewport.h"

#include "platform/foundation/c_locale.h"
#include "svg/svg_clipping.h"
#include "svg/svg_geometry.h"
#include "svg/svg_scanner.h"
#include "svg/svg_styles.h"
#include "svg/svg_text.h"

namespace {

std::optional<Rect> readViewBox(const QString &value)
{
    SvgScanner scanner(value, u"");
    double numbers[4];
    int count = 0;
    while (count < 4) {
        if (count > 0) {
            const QStringView rest = scanner.remaining();
            qsizetype i = 0;
            while (i < rest.size() && !QStringView(u"0123456789-+.").contains(rest[i]))
                ++i;
            scanner.setLocation(scanner.location() + i);
        }
        const auto n = scanner.scanDouble();
        if (!n)
            break;
        numbers[count++] = *n;
    }
    if (count == 0)
        return std::nullopt;
    for (int i = count; i < 4; ++i)
        numbers[i] = numbers[count - 1];
    return Rect(float(numbers[0]), float(numbers[1]), float(numbers[2]), float(numbers[3]));
}

} // namespace

SvgGraphicsState svgElement(const SvgAttributes &attributes, const SvgGraphicsState &current, bool nested)
{
    SvgGraphicsState state = current;
    const double bw = current.bounds.size.width, bh = current.bounds.size.height;
    double x = 0, y = 0, width = bw, height = bh;
    std::optional<Rect> viewBox = current.viewBox;
    bool viewBoxSet = false;
    SvgAspectRatio ratio;
    bool overflows = false;
    for (const auto &[name, value] : attributes) {
        if (name == u"x") {
            if (current.viewBox)
                x = unitToPix(value, current, current.viewBox->size.width);
        } else if (name == u"y") {
            if (current.viewBox)
                y = unitToPix(value, current, current.viewBox->size.height);
        } else if (name == u"width") {
            width = unitToPix(value, current, bw);
        } else if (name == u"height") {
            height = unitToPix(value, current, bh);
        } else if (name == u"viewBox") {
            if (const auto vb = readViewBox(value)) {
                viewBox = vb;
                viewBoxSet = true;
            }
        } else if (name == u"overflow") {
            overflows = value.trimmed() == u"visible" || value.trimmed() == u"auto";
        } else if (name == u"preserveAspectRatio") {
            ratio = svgAspectRatio(value);
        }
    }
    double sx, sy, tx, ty;
    if (viewBoxSet && viewBox->size.width > 0 && viewBox->size.height > 0) {
        const Rect &vb = *viewBox;
        const Rect fitted = svgFittedRect(vb.size, Rect(float(x), float(y), float(width), float(height)), ratio);
        sx = fitted.size.width / vb.size.width;
        sy = fitted.size.height / vb.size.height;
        tx = fitted.origin.x - vb.origin.x * sx;
        ty = fitted.origin.y - vb.origin.y * sy;
    } else if (viewBoxSet) {
        // A view box of zero (or negative) size shows nothing.
        sx = sy = 0;
        tx = x;
        ty = y;
    } else {
        // Without a view box the content keeps the enclosing scale (already in the matrix).
        sx = sy = 1;
        tx = x;
        ty = y;
        if (!viewBox)
            viewBox = Rect(0, 0, float(width), float(height));
    }
    // A nested viewport hides what lies outside it, unless its overflow is visible.
    if (nested && !overflows) {
        BezierPath clip;
        const Point corners[4] = {current.ctm.map(x, y), current.ctm.map(x + width, y),
                                  current.ctm.map(x + width, y + height), current.ctm.map(x, y + height)};
        clip.appendBezierPathWithPoints(corners, 4);
        clip.closePath();
        svgClipStateTo(state, SvgClip{clip, 0});
    }
    state = svgTransform(formatC("translate(%.9g %.9g) scale(%.9g %.9g)", tx, ty, sx, sy), state);
    state.bounds = Rect(float(x), float(y), float(width), float(height));
    state.scaleX = sx * current.scaleX;
    state.scaleY = sy * current.scaleY;
    state.viewBox = viewBox;
    return state;
}

SvgGraphicsState gElement(const SvgAttributes &attributes, const SvgGraphicsState &current)
{
    SvgGraphicsState state = current;
    for (const auto &[name, value] : attributes) {
        const QString selector = QLatin1Char('[') + name + QStringLiteral("=\"") + value + QStringLiteral("\"]");
        if (const QString *rule = state.tables->styles.find(selector))
            cssStyle(QString(*rule), state);
        if (name == u"id") {
            if (const QString *rule = state.tables->styles.find(QLatin1Char('#') + value))
                cssStyle(QString(*rule), state);
        } else if (name == u"class") {
            if (classSearch(value, QStringLiteral("g"), state) || !state.className)
                state.className = value;
        } else if (name == u"style") {
            cssStyle(value, state);
        } else if (name == u"transform") {
            state = svgTransform(value, state);
        } else {
            xmlStyle(name, value, state);
        }
    }
    if (state.fontChanged) {
        fontWithGstate(state);
        state.fontChanged = false;
    }
    return state;
}
