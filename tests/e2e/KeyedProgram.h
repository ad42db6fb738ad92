#pragma once
// The real program, message boxes and printer (the tests' own CUPS queue) on a drive with
// two clients; sound and NumLock are the fakes'. Driven by `keys`.

#include <gtest/gtest.h>

#include "../menus/ScreenTestSupport.h"
#include "kcs/program/CupsPrinter.h"
#include "kcs/program/StartUp.h"
#include "kcs/questionbank/QuestionBank.h"
#include "kcs/test/KeyboardDriver.h"

namespace kcs::testutil {

struct KeyedProgram : ::testing::Test {
    ProgramFolder folder;
    test::FakeServices fake;
    ui::QtDialogs realBoxes;
    program::CupsPrinter cups;
    ui::Services services{realBoxes, fake.beeper, fake.clock, fake.audio, cups, fake.drive, fake.volumes, fake.numLock};
    program::StartUp startUp{folder.path(), services, /*splashHoldTicks=*/0};
    test::KeyboardDriver keys;
    fs::path clientFile = folder.path() / "disk" / records::kClientFileName;

    KeyedProgram() {
        makeDrive(folder.path() / "disk", {"Ann Lee", "Bob Roe"});
        folder.writeSettings("disk", "NumLock=False\r\n");
        fs::copy_file(fs::path(KCS_BIN_DIR) / questionbank::kBankFileName, folder.path() / questionbank::kBankFileName);
    }
    // Client n's 235 bytes as the drive holds them.
    std::string record(int n) const { return readFile(clientFile).substr(static_cast<std::size_t>(n - 1) * 235, 235); }
    void startAndRun() {
        startUp.start();
        ASSERT_TRUE(keys.run()) << keys.failure();
    }

    // From the main menu: "Add New Client", the entry-method button `road` (0 on screen,
    // 1 from an answer sheet), then the client's details and court history, each value
    // confirmed with Enter and each screen with its first button.
    void keyNewClient(int road, std::initializer_list<const char*> details, std::initializer_list<const char*> court) {
        keys.window("Kestrel Conduct Screening").focus("lbNameDisplay").press("Tab").focus("cmdMenuChoice_1")
            .press("Return").window("Entry Method").focus("cmdMenuChoice_0");
        if (road == 1) keys.press("Down").focus("cmdMenuChoice_1");
        keys.press("Return").window("Client Information").focus("txtName");
        for (const char* value : details) keys.type(value).press("Return");
        keys.focus("cmdMenuChoice_0").press("Return").window("Court History").focus("txtAgeAtFirstArrest");
        for (const char* value : court) keys.type(value).press("Return");
        keys.focus("cmdMenuChoice_0").press("Return");
    }
};

}  // namespace kcs::testutil
