// The modifier-key flags that events carry and that the key hook, the objects and the image
// functions compare (the platform's bit values, so stored and compared numbers keep meaning).
#pragma once

#include <Qt>

enum ModifierFlag : unsigned {
    AlphaShiftKeyMask = 1u << 16,
    ShiftKeyMask = 1u << 17,
    ControlKeyMask = 1u << 18,
    AlternateKeyMask = 1u << 19,   // the option key
    CommandKeyMask = 1u << 20,
};

// Qt's modifiers as these flags: Ctrl is the command key, Meta the control key (as Qt maps
// the keys of that platform), Alt the option key.
inline unsigned modifierFlagsFromQt(Qt::KeyboardModifiers modifiers)
{
    unsigned flags = 0;
    if (modifiers & Qt::ShiftModifier)
        flags |= ShiftKeyMask;
    if (modifiers & Qt::ControlModifier)
        flags |= CommandKeyMask;
    if (modifiers & Qt::MetaModifier)
        flags |= ControlKeyMask;
    if (modifiers & Qt::AltModifier)
        flags |= AlternateKeyMask;
    return flags;
}
