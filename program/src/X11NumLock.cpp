#include "kcs/program/X11NumLock.h"

#include <QGuiApplication>

#if __has_include(<QtGui/qguiapplication_platform.h>)
#include <QtGui/qguiapplication_platform.h>
#endif

// X11 headers last: they define macros (None, Bool, Status) that clash with Qt's names.
#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace kcs::program {

bool X11NumLock::setNumLock(bool on) {
#if QT_CONFIG(xcb)
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11) return false;
    Display* display = x11->display();
    if (!display) return false;
    const unsigned int mask = XkbKeysymToModifiers(display, XK_Num_Lock);
    if (mask == 0) return false;
    if (!XkbLockModifiers(display, XkbUseCoreKbd, mask, on ? mask : 0)) return false;
    XFlush(display);
    return true;
#else
    (void)on;
    return false;
#endif
}

}  // namespace kcs::program
