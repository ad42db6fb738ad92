// The main window drawn by a real X server: grabbed from the screen, not from the widget
// tree, so the test fails if nothing reaches the display.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QScreen>
#include <QTest>

#include "FakeScreens.h"
#include "ScreenTestSupport.h"
#include "kcs/app/Options.h"
#include "kcs/menus/MainWindow.h"
#include "kcs/program/X11NumLock.h"

#include <QtGui/qguiapplication_platform.h>
// X11 last: its macros clash with Qt's names.
#include <X11/XKBlib.h>
#include <X11/keysym.h>

using namespace kcs;
using Screenshot = testutil::ProgramFixture;

TEST_F(Screenshot, MainWindowRendersItsBackgroundAndTheClientList) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X display";
    folder.writeSettings("disk");
    useClients({"Client Number 1", "Client Number 2", "Client Number 3"});

    app::Options options(settings);
    testutil::FakeScreens screens(store);  // never opened
    menus::ClientFlows flows(store, screens, dialogs);
    menus::frmMain window(store, options, paths, fake.services, flows);
    window.show();
    window.activationStep();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(300);  // let the server finish drawing

    const QImage shot = window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(shot.isNull());
    const QString dir = qEnvironmentVariable("KCS_SCREENSHOT_DIR", QDir::tempPath());
    shot.save(dir + QStringLiteral("/kcs-main-window.png"));

    long blue = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) == qRgb(0, 0, 255)) ++blue;
    EXPECT_GT(blue, shot.width() * shot.height() / 3) << "blue background missing";

    // The first line of the list: dark text on the list's light background.
    QListWidget* list = window.nameList();
    const QRect line = list->visualItemRect(list->item(0));
    const QPoint origin = list->viewport()->mapTo(&window, line.topLeft());
    int dark = 0;
    for (int y = origin.y(); y < origin.y() + line.height(); ++y)
        for (int x = origin.x(); x < origin.x() + line.width() && x < shot.width(); ++x)
            if (qGray(shot.pixel(x, y)) < 90) ++dark;
    EXPECT_GT(dark, 40) << "client list text not drawn";
}

TEST_F(Screenshot, NumLockIsSetAndClearedThroughTheKeyboardExtension) {
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
