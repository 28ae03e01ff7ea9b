// The text form of a window frame that documents and the defaults store:
// "x y width height screenX screenY screenWidth screenHeight", with y measured upwards
// from the bottom of the screen, as the files written on the original platform hold it.
#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <optional>

QString windowFrameString(const QRect &frame, const QRect &screen);
// The frame in Qt's top-down screen coordinates; absent for text that holds no frame
// (fewer than four numbers, or a side below 20) and for a frame wholly off the screen.
std::optional<QRect> windowFrameFromString(const QString &text, const QRect &screen);

// Where a new document window goes: its frame made to fit the available screen area, moved
// on by a step down and right while another window's frame starts at the same place, and
// back to the area's corner when a step would take it past the area's edge.
QRect cascadedWindowFrame(QRect frame, const QList<QRect> &others, const QRect &available);
