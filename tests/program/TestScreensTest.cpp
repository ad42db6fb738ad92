// The program's test screens on a question bank that cannot give the test: the supervisor
// is told why before the first item, and nothing reaches the data drive.
#include <gtest/gtest.h>

#include "ScreenTestSupport.h"
#include "kcs/program/ProgramScreens.h"
#include "kcs/test/Sqlite.h"

using namespace kcs;
using namespace kcs::testutil;

TEST_F(ProgramFixture, ABankThatCannotGiveTheTestStopsItBeforeTheFirstItem) {
    useClients({"Ann Lee"});
    app::Options options{settings};
    questionbank::Workspace workspace;
    program::ProgramScreens screens(store, options, paths, workspace, fake.services);
    struct Case {
        int items;  // rows of the "English" table; -1: no bank at all
        const char* error;
    } cases[] = {{-1, "Error 3024:"}, {157, "Error 3343:"}};
    for (const Case& c : cases) {
        fs::remove(paths.QuestionBankPath);
        if (c.items >= 0) {
            test::SqliteFile bank(paths.QuestionBankPath, true);
            bank.exec("CREATE TABLE English (ID INTEGER, TestQuestion TEXT, ANSWER1 TEXT, ANSWER2 TEXT)");
            bank.exec("BEGIN");
            for (int id = 1; id <= c.items; ++id)
                bank.exec("INSERT INTO English VALUES (" + std::to_string(id) + ", 'Q', 'True', 'False')");
            bank.exec("COMMIT");
        }
        dialogs.messages.clear();
        const std::string before = readFile(store.ClientFilePath());
        menus::ClientSequence seq{false, 2, {}, "English"};
        EXPECT_FALSE(screens.presentTest(seq)) << c.error;
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_TRUE(dialogs.messages[0].text.starts_with(c.error)) << dialogs.messages[0].text;
        EXPECT_NE(dialogs.messages[0].text.find("The test cannot be given"), std::string::npos);
        EXPECT_TRUE(dialogs.modalsShown.empty());
        EXPECT_EQ(readFile(store.ClientFilePath()), before);
    }
}
