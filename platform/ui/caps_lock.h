// The caps lock state, which Qt's events and modifiers do not report.
//
// Under X11 the X server's keyboard extension is asked for its locked modifiers (one round
// trip); on other window systems, and without a window system, the answer is false. Tests
// put a stand-in in place of the keyboard.
#pragma once

#include <Qt>

// Whether caps lock is on now.
bool capsLockIsOn();

// Makes `reader` answer capsLockIsOn (a test's stand-in); null puts the keyboard back.
using CapsLockReader = bool (*)();
void setCapsLockReader(CapsLockReader reader);

// Qt's modifiers as the platform's modifier flags (modifier_flags.h), with the caps lock
// flag (AlphaShiftKeyMask) while caps lock is on.
unsigned modifierFlagsWithCapsLock(Qt::KeyboardModifiers modifiers);
