#pragma once
// The real program on a practice drive with two clients, the build's question bank and
// the real message boxes; sound, printing and NumLock are the fakes'. Driven by `keys`.

#include <gtest/gtest.h>

#include "../menus/ScreenTestSupport.h"
#include "kcs/program/StartUp.h"
#include "kcs/questionbank/QuestionBank.h"
#include "kcs/test/KeyboardDriver.h"

namespace kcs::testutil {

struct KeyedProgram : ::testing::Test {
    ProgramFolder folder;
    test::FakeServices fake;
    ui::QtDialogs realBoxes;
    ui::Services services{realBoxes, fake.beeper, fake.clock, fake.audio, fake.printer, fake.drive, fake.volumes, fake.numLock};
    program::StartUp startUp{folder.path(), services, /*splashHoldTicks=*/0};
    test::KeyboardDriver keys;

    KeyedProgram() {
        makeDrive(folder.path() / "disk", {"Ann Lee", "Bob Roe"});
        folder.writeSettings("disk", "NumLock=False\r\n");
        fs::copy_file(fs::path(KCS_BIN_DIR) / questionbank::kBankFileName, folder.path() / questionbank::kBankFileName);
    }

    // From the main menu: "Add New Client", the entry-method button `road` (0 on screen,
    // 1 from an answer sheet), then the client's details and court history, each value
    // confirmed with Enter and each screen with its first button.
    void keyNewClient(int road, std::initializer_list<const char*> details, std::initializer_list<const char*> court) {
        keys.window("Kestrel Conduct Screening")
            .focus("lbNameDisplay")
            .press("Tab")
            .focus("cmdMenuChoice_1")
            .press("Return")
            .window("Entry Method")
            .focus("cmdMenuChoice_0");
        if (road == 1) keys.press("Down").focus("cmdMenuChoice_1");
        keys.press("Return").window("Client Information").focus("txtName");
        for (const char* value : details) keys.type(value).press("Return");
        keys.focus("cmdMenuChoice_0").press("Return").window("Court History").focus("txtAgeAtFirstArrest");
        for (const char* value : court) keys.type(value).press("Return");
        keys.focus("cmdMenuChoice_0").press("Return");
    }
};

}  // namespace kcs::testutil
