// Screen capture through QScreen::grabWindow, which reads the root window under X11.
#include "canvas/screen_capture.h"

#include "platform/foundation/localized_strings.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

QString screenCaptureUnavailableReason(const QString &platformName)
{
    if (platformName.startsWith(QLatin1String("wayland")))
        return localizedString(QStringLiteral(
            "The screen cannot be captured in a Wayland session. Start Vekanto with QT_QPA_PLATFORM=xcb (XWayland) "
            "to capture the screen."));
    return {};
}

ScreenCapture captureScreenArea(const QRect &area)
{
    ScreenCapture capture;
    capture.error = screenCaptureUnavailableReason(QGuiApplication::platformName());
    if (!capture.error.isEmpty())
        return capture;
    QScreen *screen = QGuiApplication::screenAt(area.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen && !area.isEmpty()) {
        // grabWindow takes the area relative to the screen's own top-left corner.
        const QRect local = area.translated(-screen->geometry().topLeft());
        capture.image = screen->grabWindow(0, local.x(), local.y(), local.width(), local.height()).toImage();
    }
    if (capture.image.isNull())
        capture.error = localizedString(QStringLiteral("The window system did not let Vekanto capture the screen."));
    return capture;
}
