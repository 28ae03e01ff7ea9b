// Window frames to and from their stored text form.
#include "app/document/window_frame.h"

#include "platform/foundation/c_locale.h"

#include <algorithm>
#include <cstdlib>

#include <QStringList>

QString windowFrameString(const QRect &frame, const QRect &screen)
{
    const int bottomUpY = screen.y() + screen.height() - (frame.y() + frame.height());
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
        .arg(frame.x())
        .arg(bottomUpY)
        .arg(frame.width())
        .arg(frame.height())
        .arg(screen.x())
        .arg(screen.y())
        .arg(screen.width())
        .arg(screen.height());
}

std::optional<QRect> windowFrameFromString(const QString &text, const QRect &screen)
{
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() < 4)
        return std::nullopt;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = int(parts[i].toDouble(&ok));
        if (!ok)
            return std::nullopt;
    }
    if (v[2] < 20 || v[3] < 20)
        return std::nullopt;
    const int topDownY = screen.y() + screen.height() - (v[1] + v[3]);
    const QRect frame(v[0], topDownY, v[2], v[3]);
    // A frame saved on a larger or another screen must not put the window out of reach.
    if (!frame.intersects(screen))
        return std::nullopt;
    return frame;
}

QRect cascadedWindowFrame(QRect frame, const QList<QRect> &others, const QRect &available)
{
    // Room for the title bar and borders, which the frame (the window's inside) leaves out,
    // and on the left for the tool palette's column.
    constexpr int Decoration = 40, PaletteColumn = 48;
    constexpr int Step = 28;
    const QRect area = available.adjusted(PaletteColumn, Decoration, -8, -8);
    frame.setWidth(std::min(frame.width(), area.width()));
    frame.setHeight(std::min(frame.height(), area.height()));
    const auto fits = [&area](const QRect &r) { return area.contains(r); };
    if (!fits(frame))
        frame.moveTopLeft(area.topLeft());
    const auto taken = [&others](const QRect &r) {
        return std::any_of(others.begin(), others.end(), [&r](const QRect &o) {
            return std::abs(o.left() - r.left()) < Step / 2 && std::abs(o.top() - r.top()) < Step / 2;
        });
    };
    // Each return to the top starts a little further right, so that it finds free places.
    int rounds = 0;
    for (int step = 0; step < 50 && taken(frame); ++step) {
        QRect next = frame.translated(Step, Step);
        if (!fits(next)) {
            // A large window gives up a step of its size; a small one starts again at the top.
            next = next.intersected(area);
            if (next.width() < 400 || next.height() < 300)
                next = QRect(area.topLeft() + QPoint(Step / 2 * ++rounds, 0), frame.size()).intersected(area);
        }
        frame = next;
    }
    return frame;
}
