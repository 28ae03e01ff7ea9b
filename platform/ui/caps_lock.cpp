// Caps lock from the X server's keyboard extension.
#include "platform/ui/caps_lock.h"

#include "platform/foundation/modifier_flags.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <atomic>

#if defined(VEK_HAVE_XKB) && QT_CONFIG(xcb)
#define VEK_ASK_XKB
#include <X11/XKBlib.h>
#endif

namespace {

std::atomic<CapsLockReader> standIn{nullptr};

bool keyboardCapsLock()
{
#ifdef VEK_ASK_XKB
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (Display *display = x11 ? x11->display() : nullptr) {
        XkbStateRec state{};
        if (XkbGetState(display, XkbUseCoreKbd, &state) == Success)
            return state.locked_mods & LockMask;
    }
#endif
    return false;
}

} // namespace

bool capsLockIsOn()
{
    const CapsLockReader reader = standIn.load();
    return reader ? reader() : keyboardCapsLock();
}

void setCapsLockReader(CapsLockReader reader)
{
    standIn.store(reader);
}

unsigned modifierFlagsWithCapsLock(Qt::KeyboardModifiers modifiers)
{
    return modifierFlagsFromQt(modifiers) | (capsLockIsOn() ? unsigned(AlphaShiftKeyMask) : 0u);
}
