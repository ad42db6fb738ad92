// The program driven by the keyboard alone, as the supervisor drives it: real key presses
// through the X server, real message boxes, no window manager.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QSignalSpy>

#include "KeyedProgram.h"

using namespace kcs;
using namespace kcs::testutil;

using Program = KeyedProgram;

TEST_F(Program, TheMainMenuIsWorkedByKeysAlone) {
    startUp.start();
    QSignalSpy exits(startUp.mainWindow(), &menus::frmMain::exitRequested);
    keys.window("Kestrel Conduct Screening").focus("lbNameDisplay")
        .then([&] { EXPECT_EQ(test::unnamedControls(*startUp.mainWindow()), std::vector<std::string>{}); })
        .press("Down").until("client 1 current", [&] { return startUp.store().CurClient() == 1; })
        .press("Down").until("client 2 current", [&] { return startUp.store().CurClient() == 2; })
        .press("Tab").focus("cmdMenuChoice_0").press("Down", 3).focus("cmdMenuChoice_3")
        .press("Alt+a").window("About Kestrel Conduct Screening").press("Return")
        .window("Kestrel Conduct Screening").press("Alt+o")
        .until("the Options menu", [] { return QApplication::activePopupWidget() != nullptr; })
        .press("Escape").press("Escape")
        .until("menu closed", [] { return QApplication::activePopupWidget() == nullptr; })
        .press("Tab").focus("lbNameDisplay").press("Shift+ISO_Left_Tab").focus("cmdMenuChoice_3").press("Return")
        .until("exit asked", [&] { return exits.count() == 1; });
    ASSERT_TRUE(keys.run()) << keys.failure();
}
