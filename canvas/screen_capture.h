// Pictures of the screen, taken through the window system.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

struct ScreenCapture {
    QImage image;    // null when the capture failed
    QString error;   // why, for the user; empty on success
};

// Why a session of the platform plug-in cannot capture the screen, or an empty string when
// it can (X11 can; Wayland lets no program read the screen, XWayland sessions use "xcb").
QString screenCaptureUnavailableReason(const QString &platformName);

// The screen's pixels in the area (global coordinates, device-independent pixels) of the
// screen that holds the area's centre.
ScreenCapture captureScreenArea(const QRect &area);
