// The sequences of screens, driven through a fake opener: which screen comes after which,
// what reaches the client store, and what a sequence left half-way leaves behind.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "FakeScreens.h"
#include "ScreenTestSupport.h"
#include "kcs/menus/EntryMethod.h"
#include "kcs/test/KeyboardDriver.h"

using namespace kcs;
using namespace kcs::menus;
using namespace kcs::testutil;

namespace {

using Opened = std::vector<std::string>;

struct FlowFixture : ProgramFixture {
    FakeScreens screens{store};
    ClientFlows flows{store, screens, dialogs};
    std::string fileBytes() { return readFile(store.ClientFilePath()); }
    // A fresh drive of two clients, with nothing opened or shown yet.
    void restart(const std::vector<std::string>& names = {"Ann Lee", "Bob Roe"}) {
        useClients(names);
        screens.opened.clear();
        screens.helpLines.clear();
        dialogs.messages.clear();
    }
};

}  // namespace

TEST_F(FlowFixture, EditRunsEachScreenOnlyAfterTheOneBeforeWasCompleted) {
    struct Case {
        std::map<std::string, std::vector<bool>> results;
        Opened opened;
        std::string parole;  // what the drive then holds for client 2
    } cases[] = {
        {{}, {"info", "court", "answers"}, "7"},
        {{{"info", {false}}}, {"info"}, ""},
        // Court history is kept only until the answer sheet saves: leaving that screen
        // drops it, in memory as on the drive.
        {{{"court", {false}}}, {"info", "court"}, ""},
        {{{"answers", {false}}}, {"info", "court", "answers"}, ""},
    };
    for (const auto& c : cases) {
        restart();
        store.select(2);
        screens.results = c.results;
        flows.editCurrentClient();
        EXPECT_EQ(screens.opened, c.opened);
        app::ClientStore fromDisk;
        fromDisk.useDrive("disk", store.ClientFilePath(), 'b', {}, {});
        fromDisk.reload();
        EXPECT_EQ(fromDisk.table().Clients[2], store.record(2)) << "memory matches the drive";
        EXPECT_EQ(store.record(2).text(records::Field::Parole), c.parole);
        EXPECT_EQ(store.NumClients(), 2);
    }
}

TEST_F(FlowFixture, AddingANewClientSavesOneRecordAtTheEndOfItsRoadAndNothingWhenLeft) {
    const std::string noLanguage = "The question bank holds no test language, so the test cannot be given. "
                                   "The new client has not been saved.";
    const std::string begin = "The test will begin as soon as you press the Enter key.";
    struct Case {
        int road;  // of the entry-method window: 0 on screen, 1 answer sheet
        std::vector<std::string> languages;
        std::map<std::string, std::vector<bool>> results;
        Opened opened, helpLines;
        std::vector<std::string> messages;
        std::string answers;  // of the new client 3; empty: none was saved
    } cases[] = {
        {1, {}, {{"info", {false}}}, {"entry", "info"}, {}, {}, ""},
        {1, {}, {{"court", {false}}}, {"entry", "info", "court"}, {}, {}, ""},
        {1, {}, {{"answers", {false}}}, {"entry", "info", "court", "answers"}, {}, {}, ""},
        // Both whole roads, the language chosen and the secret code asked until it is right,
        // are the end-to-end tests' roads. One language needs no choosing; none drops the client.
        {0, {"English"}, {{"secret", {false, true}}}, {"entry", "info", "court", "test:English", "secret", "secret"},
         {"Press the Enter key to begin.", "Enter the secret code to continue."}, {begin}, std::string(158, '2')},
        {0, {}, {}, {"entry", "info", "court"}, {}, {noLanguage}, ""},
        {0, {"English", "Spanish"}, {{"language", {false}}}, {"entry", "info", "court", "language"}, {}, {}, ""},
        {0, {"English"}, {{"test:English", {false}}}, {"entry", "info", "court", "test:English"},
         {"Press the Enter key to begin."}, {begin}, ""},
    };
    for (const auto& c : cases) {
        restart();
        const std::string before = fileBytes();
        screens.roadOfEntryMethod = c.road;
        screens.languagesOfBank = c.languages;
        screens.results = c.results;
        flows.addNewClient();
        SCOPED_TRACE(testing::PrintToString(c.opened));
        EXPECT_EQ(screens.opened, c.opened);
        EXPECT_EQ(screens.helpLines, c.helpLines);
        EXPECT_EQ(dialogs.texts(), c.messages);
        for (const auto& m : dialogs.messages) EXPECT_EQ(m.title, "Kestrel Conduct Screening");
        if (c.answers.empty()) {
            EXPECT_EQ(fileBytes(), before);
            EXPECT_EQ(store.NumClients(), 2);
            EXPECT_EQ(store.CurClient(), 1) << "an abandoned client leaves the first current";
        } else {
            ASSERT_EQ(store.NumClients(), 3);
            EXPECT_EQ(store.CurClient(), 3);
            EXPECT_EQ(store.record(3).text(records::Field::Name), "New Client");
            EXPECT_EQ(store.record(3).raw(records::Field::Answers), c.answers);
            EXPECT_EQ(fileBytes().size(), 3u * 235);
        }
    }
    restart(std::vector<std::string>(51, "Client"));  // a full drive never gets a 52nd client
    const std::string before = fileBytes();
    screens.roadOfEntryMethod = 1;
    flows.addNewClient();
    flows.enterFromAnswerSheet();
    EXPECT_TRUE(screens.opened.empty());
    EXPECT_EQ(fileBytes(), before);
}

// Its first two buttons start the roads above: the end-to-end tests press them.
TEST_F(FlowFixture, TheEntryMethodWindowShowsEachButtonsHelpAndCancelClosesIt) {
    const char* helps[] = {
        "Onscreen Presentation. Enter client information then present the test on the computer.",
        "Paper-Pencil Presentation. Manually enter test information from completed answer sheet.",
        "Cancel. Do not enter a new client. Return to Main Menu.",  // the hidden third button is passed over
    };
    frmEntryMethod window(flows, fake.services);
    dialogs.onModal("frmEntryMethod", [&](QDialog& d) {
        EXPECT_EQ(kcs::test::unnamedControls(d), std::vector<std::string>{});
        for (int i = 0; i < 3; ++i) {
            if (i > 0) key(Qt::Key_Down);
            EXPECT_EQ(window.msgPanel()->text(), QString::fromUtf8(helps[i]));
        }
        key(Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    dialogs.execModal(window);
    EXPECT_EQ(screens.opened, Opened{});
}
