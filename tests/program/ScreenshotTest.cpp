// NumLock held on a real (virtual) X server through its keyboard extension.

#include <gtest/gtest.h>

#include <QGuiApplication>

#include "kcs/program/X11NumLock.h"

#include <QtGui/qguiapplication_platform.h>
// X11 last: its macros clash with Qt's names.
#include <X11/XKBlib.h>
#include <X11/keysym.h>

using namespace kcs;

TEST(Screenshot, NumLockIsSetAndClearedThroughTheKeyboardExtension) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X display";
    Display* display = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
    const unsigned int mask = XkbKeysymToModifiers(display, XK_Num_Lock);
    ASSERT_NE(mask, 0u);
    auto locked = [&] {
        XkbStateRec kb{};
        XkbGetState(display, XkbUseCoreKbd, &kb);
        return (kb.locked_mods & mask) != 0;
    };
    program::X11NumLock key;
    ASSERT_TRUE(key.setNumLock(false));
    EXPECT_FALSE(locked());
    ASSERT_TRUE(key.setNumLock(true));
    EXPECT_TRUE(locked());
}
