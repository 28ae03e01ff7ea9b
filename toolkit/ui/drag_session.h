// Runs a drag and drop. The application runs the platform's drag (QDrag::exec); a test
// program installs a performer that delivers the drag's events to the widget it names, since
// the platform's drag follows the real pointer, which synthetic mouse events never move.
#pragma once

#include <Qt>

#include <functional>

class QDrag;

using DragPerformer = std::function<Qt::DropAction(QDrag &drag)>;

// The drop action taken; the drag is deleted afterwards either way.
Qt::DropAction runDrag(QDrag *drag, Qt::DropActions supported, Qt::DropAction proposed);
// Installs a performer (an empty one puts the platform's drag back).
void setDragPerformer(DragPerformer performer);
