// The modifier-key flags that events carry and that the key hook, the objects and the image
// functions compare (the platform's bit values, so stored and compared numbers keep meaning).
#pragma once

enum ModifierFlag : unsigned {
    AlphaShiftKeyMask = 1u << 16,
    ShiftKeyMask = 1u << 17,
    ControlKeyMask = 1u << 18,
    AlternateKeyMask = 1u << 19,   // the option key
    CommandKeyMask = 1u << 20,
};
