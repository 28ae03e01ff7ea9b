// Window frames to and from their stored text form.
#include "app/document/window_frame.h"

#include "platform/foundation/c_locale.h"

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
