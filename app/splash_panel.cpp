// The splash panel's look.
#include "app/splash_panel.h"

#include "app/app_version.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

SplashPanel::SplashPanel() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("splashPanel"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(360, 160);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void SplashPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(250, 250, 250, 235));
    painter.setPen(QColor(160, 160, 160));
    painter.drawRoundedRect(rect().adjusted(1, 1, -1, -1), 14, 14);
    QFont title = font();
    title.setPointSizeF(title.pointSizeF() * 2.4);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(40, 40, 40));
    painter.drawText(rect().adjusted(0, 0, 0, -40), Qt::AlignCenter, QStringLiteral("Vekanto"));
    painter.setFont(font());
    painter.drawText(rect().adjusted(0, 60, 0, 0), Qt::AlignCenter, QStringLiteral("Version %1").arg(VekAppVersion));
}
