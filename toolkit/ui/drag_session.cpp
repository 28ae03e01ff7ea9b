// Drags through the platform or through an installed performer.
#include "toolkit/ui/drag_session.h"

#include <QDrag>

namespace {

DragPerformer &installedPerformer()
{
    static DragPerformer performer;
    return performer;
}

} // namespace

Qt::DropAction runDrag(QDrag *drag, Qt::DropActions supported, Qt::DropAction proposed)
{
    if (!installedPerformer())
        return drag->exec(supported, proposed);
    const Qt::DropAction action = installedPerformer()(*drag);
    drag->deleteLater();
    return action;
}

void setDragPerformer(DragPerformer performer)
{
    installedPerformer() = std::move(performer);
}
