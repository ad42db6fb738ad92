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
};

}  // namespace kcs::testutil
