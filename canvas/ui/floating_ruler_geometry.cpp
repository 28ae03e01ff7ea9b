// Frames, resizing and ticks of the floating rulers.
#include "canvas/ui/floating_ruler_geometry.h"

#include "platform/geometry/geometry.h"

#include <algorithm>

QString floatingRulerFrameKey(bool horizontal)
{
    return horizontal ? QStringLiteral("fRulerFrameH") : QStringLiteral("fRulerFrameV");
}

QRect defaultFloatingRulerFrame(bool horizontal, const QRect &screen)
{
    // The horizontal ruler opens in the lower part of the screen, clear of the document
    // windows' toolbars at the top.
    if (horizontal)
        return QRect(screen.left() + 50, std::max(screen.top() + 50, screen.bottom() + 1 - 160), 600,
                     FloatingRulerThickness);
    return QRect(screen.left() + 50, screen.top() + 100, FloatingRulerThickness, 600);
}

QRect floatingRulerFrame(const PropertyList &prefs, bool horizontal, const QList<QRect> &screens)
{
    const PropertyList stored = prefs.value(floatingRulerFrameKey(horizontal));
    if (!stored.isString())
        return defaultFloatingRulerFrame(horizontal, screens.isEmpty() ? QRect(0, 0, 1024, 768) : screens.front());
    const Rect r = rectFromString(stored.stringValue());
    QRect frame(int(r.origin.x), int(r.origin.y), int(r.size.width), int(r.size.height));
    if (horizontal) {
        frame.setHeight(FloatingRulerThickness);
        frame.setWidth(std::max(frame.width(), FloatingRulerMinimumLength));
    } else {
        frame.setWidth(FloatingRulerThickness);
        frame.setHeight(std::max(frame.height(), FloatingRulerMinimumLength));
    }
    // Negative places are fine on a screen left of or above the first one; a frame left on
    // a screen that is gone comes back onto the first.
    const bool onAScreen = std::any_of(screens.begin(), screens.end(),
                                       [&frame](const QRect &screen) { return screen.contains(frame.topLeft()); });
    if (!onAScreen) {
        const QRect first = screens.isEmpty() ? QRect(0, 0, frame.width(), frame.height()) : screens.front();
        frame.moveLeft(std::clamp(frame.left(), first.left(), std::max(first.left(), first.right() + 1 - frame.width())));
        frame.moveTop(std::clamp(frame.top(), first.top(), std::max(first.top(), first.bottom() + 1 - frame.height())));
    }
    return frame;
}

QRect resizedFloatingRulerFrame(const QRect &initial, QPoint delta, bool horizontal, bool *atMinimum)
{
    QRect frame = initial;
    const int length = (horizontal ? initial.width() + delta.x() : initial.height() + delta.y());
    const int kept = std::max(length, FloatingRulerMinimumLength);
    if (horizontal)
        frame.setWidth(kept);
    else
        frame.setHeight(kept);
    if (atMinimum)
        *atMinimum = length <= FloatingRulerMinimumLength;
    return frame;
}

std::vector<RulerTick> floatingRulerTicks(int unit, double zoomFactor, double length)
{
    std::vector<RulerTick> ticks = rulerTicks(unit, zoomFactor, rulerBase(zoomFactor, unit), 0, 0, length);
    if (unit < 0 || unit > 4) {
        ticks.erase(std::remove_if(ticks.begin(), ticks.end(), [](const RulerTick &t) { return !t.major; }), ticks.end());
        for (RulerTick &tick : ticks)
            tick.labelled = false;
    }
    return ticks;
}
