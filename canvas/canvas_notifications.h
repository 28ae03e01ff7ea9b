// The canvas's notifications (sender: the view), in the model library so that the canvas's
// commands (canvas/*_commands.h) post the same names as the widget.
#pragma once

#include <QString>

inline const QString VekViewSelectionDidChangeNotification = QStringLiteral("VekViewSelectionDidChangeNotification");
inline const QString VekViewCurrentObjectDidChangeNotification = QStringLiteral("VekViewCurrentObjectDidChangeNotification");
// Posted by a canvas (sender) when a drag of its selection to the object-set palette begins.
inline const QString VekViewDidPrepareDraggingNotification = QStringLiteral("VekViewDidPrepareDraggingNotification");
inline const QString VekViewPageDidChangeNotification = QStringLiteral("VekViewPageDidChangeNotification");
inline const QString VekViewObjectsDidChangeNotification = QStringLiteral("VekViewObjectsDidChangeNotification");
inline const QString VekViewGroupsDidChangeNotification = QStringLiteral("VekViewGroupsDidChangeNotification");
// The canvas changed its size: a new zoom or page count.
inline const QString VekViewFrameDidChangeNotification = QStringLiteral("VekViewFrameDidChangeNotification");
