// The canvas gestures made with the control key.
#pragma once

#include "platform/foundation/modifier_flags.h"

// The gestures made with the control key (dragging objects into the object-set palette, the
// fine nudge, a rubber band that places nothing) also answer Ctrl, the command key: Linux
// window managers take Super (the control key as Qt maps it) with a drag for themselves,
// and on the canvas Ctrl has no other meaning in these gestures.
inline bool hasControlGesture(unsigned flags)
{
    return flags & (ControlKeyMask | CommandKeyMask);
}
