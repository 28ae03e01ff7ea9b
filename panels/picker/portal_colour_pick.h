// The desktop portal's colour picker (org.freedesktop.portal.Screenshot, PickColor), for
// sessions in which a program cannot read the screen itself (Wayland): the desktop draws
// the picker and answers the colour over D-Bus.
#pragma once

#include <QColor>
#include <QString>

#include <functional>

// Asks the portal for a colour; `done` gets the colour, or an invalid colour and a message
// for the user when the portal is not offered or the user cancelled (empty message).
void pickColourThroughPortal(std::function<void(const QColor &color, const QString &error)> done);
