// A supervisor adds a client from a paper answer sheet and then corrects one detail, by
// the keyboard alone: real key presses through the X server, real message boxes, the
// real screens, and the data drive checked byte for byte.
#include <gtest/gtest.h>

#include <QListWidget>

#include "KeyedProgram.h"

using namespace kcs;
using namespace kcs::testutil;

namespace {

struct IntakeRoad : KeyedProgram {
    std::string record(int n) { return readFile(clientFile).substr(static_cast<std::size_t>(n - 1) * 235, 235); }
};

// One answer per item: the sheet's 158 digits, each section within its own choices.
std::string sheet() {
    std::string answers;
    for (int item = 1; item <= 158; ++item) answers += static_cast<char>('1' + (item <= 99 ? item % 2 : item % 4));
    return answers;
}

}  // namespace

TEST_F(IntakeRoad, AClientIsAddedFromAnAnswerSheetAndCorrectedByKeysAlone) {
    std::string expected = std::string("Ann Smith") + std::string(16, ' ') + "34 " "2" "5" "1" "12" "07/04/1961" +
                           "12/06/2026" + "173 2 1 0 9 4 1 2 3 N " + sheet() + "0" "0";
    ASSERT_EQ(expected.size(), 235u);

    startUp.start();
    keyNewClient(1, {"Ann Smith", "34", "2", "5", "1", "12", "07041961"},
                 {"17", "3", "2", "1", "0", "9", "4", "1", "2", "3", "n"});
    keys.window("Edit Client Responses")
        .focus("grdResponses_0")
        .type(QString::fromStdString(sheet()))
        .until("the last answer rang the bell", [&] { return fake.beeper.beeps == 1; })
        .press("Tab").focus("cmdMenuChoice_0").press("Return")
        .window("Kestrel Conduct Screening")
        .until("client 3 saved", [&] { return startUp.store().NumClients() == 3; })
        .then([&] {
            EXPECT_EQ(record(3), expected);
            EXPECT_EQ(readFile(clientFile).size(), 3u * 235);
            ASSERT_EQ(startUp.mainWindow()->nameList()->count(), 3);
            EXPECT_EQ(startUp.mainWindow()->nameList()->item(2)->text(), QStringLiteral("3-Ann Smith                "));
        });

    // The correction: years of education, counted and saved as soon as it is confirmed.
    // (The menu's buttons were hidden while the sequence ran: the list has the keyboard.)
    keys.focus("lbNameDisplay").press("Down", 3)
        .until("client 3 current", [&] { return startUp.store().CurClient() == 3; })
        .press("Tab").focus("cmdMenuChoice_0").press("Return")
        .window("Client Information").focus("cmdMenuChoice_0").press("Shift+ISO_Left_Tab", 2)
        .focus("txtEducation").type("14").press("Return").focus("mebDateOfBirth").press("Return")
        .focus("cmdMenuChoice_0").press("Return")
        .window("Court History")
        .then([&] {
            expected.replace(31, 2, "14");
            expected[233] = '1';  // the edit count
            EXPECT_EQ(record(3), expected) << "saved before the court history opens";
        })
        .focus("cmdMenuChoice_0").press("Tab").focus("cmdMenuChoice_1").press("Return")
        .window("Kestrel Conduct Screening")
        .then([&] {
            EXPECT_EQ(record(3), expected);
            EXPECT_EQ(std::string(startUp.store().record(3).bytes().data(), 235), expected) << "memory as on the drive";
        });
    ASSERT_TRUE(keys.run()) << keys.failure();
    EXPECT_EQ(fake.beeper.beeps, 1);
}
