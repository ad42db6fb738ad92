// The supervisor's operations without screens: the scramble, deleting names (also when the
// drive refuses a save), and what "Execute Selection" runs on each tab.
#include <gtest/gtest.h>

#include "SupervisorTestSupport.h"
#include "kcs/menus/DelNames.h"
#include "kcs/menus/MainMenuForm.h"
#include "kcs/menus/SupervisorForms.h"
#include "kcs/report/PrintReport.h"

using namespace kcs;
using namespace kcs::menus;
using namespace kcs::testutil;
using records::Field;

TEST(ScrambleName, ShiftsEveryCodeButSpacesAndUndoesItAlsoPast255) {
    const std::pair<std::string, std::string> cases[] = {
        {"abc", "dif"},
        {"Al  Bo ", "Ds  Ir "},
        // Past 255 the codes wrap within 8 bits: 250 + 7, 253 + 3, 255 + 3.
        {"\xFA\xFD\xFF", std::string("\x01\x00\x02", 3)},
        // "z" becomes 0x81, a byte the code page leaves unassigned.
        {"Gonzalez", "Jru\x81" "dsh\x81"},
    };
    for (const auto& [plain, scrambled] : cases) {
        std::string s = plain;
        ScrambleName(s, false);
        EXPECT_EQ(s, scrambled) << plain;
        ScrambleName(s, true);
        EXPECT_EQ(s, plain);
    }
    std::string every;  // every code but the space undoes
    for (int c = 33; c <= 255; ++c) every += static_cast<char>(c);
    std::string s = every;
    ScrambleName(s, false);
    ScrambleName(s, true);
    EXPECT_EQ(s, every);
}

struct DeleteNames : SupervisorFixture {
    std::string name(int i) const { return std::string(onDrive().Clients[static_cast<std::size_t>(i)].raw(Field::Name)); }
    std::string mark(int i) const { return std::string(onDrive().Clients[static_cast<std::size_t>(i)].raw(Field::NameDeleted)); }
    std::string clientFile() const { return readFile(store.ClientFilePath()); }
    // Deleting the names, with the boxes answered in this order.
    void run(std::initializer_list<MsgAnswer> answers) {
        dialogs.messages.clear();
        for (MsgAnswer a : answers) dialogs.answer(a);
        DeleteClientNames(store, dialogs);
    }
};

TEST_F(DeleteNames, ScramblesEachUnmarkedNameOnceAndSaysSoEveryTime) {
    auto records = tested({"abc", "", "Gonzalez"});
    records[2].set(Field::NameDeleted, "1");  // deleted before: left alone
    useRecords(records);
    const std::string before = clientFile();
    run({MsgAnswer::No});
    EXPECT_EQ(clientFile(), before);
    EXPECT_EQ(dialogs.messages, (std::vector<test::ShownMessage>{{kDeleteNamesWarning, "WARNING!", MsgIcon::Critical,
                                                                  MsgButtons::YesNo}}));

    // What an interrupted save left beside the client file holds the names in the clear.
    const fs::path leftover = store.ClientFilePath().string() + ".new";
    writeFile(leftover, before);
    for (int again = 0; again < 2; ++again) {
        run({MsgAnswer::Yes, MsgAnswer::Ok});
        EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{kDeleteNamesWarning, kProcessComplete})) << again;
        // A name of spaces stays as it is.
        EXPECT_EQ(name(1) + name(2) + name(3), "dif" + std::string(47, ' ') + "Gonzalez" + std::string(17, ' '));
        EXPECT_EQ(mark(1) + mark(2) + mark(3), "111");
        EXPECT_EQ(onDrive().Clients[1], store.record(1));
        EXPECT_FALSE(fs::exists(leftover));
    }
    // The scrambled bytes show in the client list and reach the report unchanged.
    records[0].set(Field::Name, "Gonzalez");
    useRecords(records);
    run({MsgAnswer::Yes, MsgAnswer::Ok});
    const std::string scrambled = "Jru\x81" "dsh\x81";
    EXPECT_EQ(name(1), scrambled + std::string(17, ' '));
    EXPECT_EQ(MainMenuForm(store).listLines()[0], "1-Jru\xC2\x81" "dsh\xC2\x81" + std::string(17, ' '));
    const std::string report = report::ComposeReport(store.table(), 1, {folder.path(), 'b', false});
    EXPECT_NE(report.find("NAME OR ID#: " + scrambled + "\r\n"), std::string::npos);
}

TEST_F(DeleteNames, ASaveRefusedStopsThereSaysWhatWasDoneAndAnotherRunCarriesOn) {
    auto records = tested({"Ann", "Bob", "Cy"});
    records[0].set(Field::NameDeleted, "1");
    useRecords(records);
    const std::string before = clientFile();
    {
        kcs::test::RefusingDisk readOnly;  // every save fails
        run({MsgAnswer::Yes, MsgAnswer::Ok});
    }
    ASSERT_EQ(dialogs.messages.size(), 2u);
    const std::string told = dialogs.messages[1].text;
    EXPECT_TRUE(told.starts_with("Error ")) << told;
    EXPECT_TRUE(told.ends_with("\r\rNo client name was deleted.\rNames not deleted: clients 2 to 3. "
                               "Run Delete Names again once the data disk can be written."))
        << told;
    EXPECT_EQ(clientFile(), before);
    EXPECT_EQ(store.record(2), onDrive().Clients[2]) << "memory keeps the record as the file holds it";

    run({MsgAnswer::Yes, MsgAnswer::Ok});
    EXPECT_EQ(dialogs.messages.back().text, kProcessComplete);
    EXPECT_EQ(mark(1) + mark(2) + mark(3), "111");
    EXPECT_EQ(name(1), "Ann" + std::string(22, ' '));
    EXPECT_EQ(name(2).substr(0, 3), "Iri");
}

TEST_F(SupervisorFixture, ExecuteRunsTheVisibleTabsOperation) {
    struct Case {
        int tab, option;
        bool summary;
        std::vector<bool> secret;
        std::vector<std::string> opened;
        std::size_t jobs;
    } cases[] = {
        {kReportsTab, kPrintCurrent, true, {}, {"secret", "viewer"}, 0},
        {kReportsTab, kPrintSelected, false, {}, {"secret", "printSelected"}, 0},
        {kReportsTab, kPrintAll, false, {false}, {"secret"}, 0},
        {kReportsTab, kPrintAll, true, {}, {"secret"}, 3},
        {kVerifyTab, kPrintAll, false, {}, {"verify"}, 0},
    };
    for (const auto& c : cases) {
        screens.opened.clear();
        screens.secretAnswers = c.secret;
        fake.printer.jobs.clear();
        store.select(2);
        flows.execute(c.tab, c.option, c.summary);
        EXPECT_EQ(screens.opened, c.opened) << c.tab << c.option;
        EXPECT_EQ(fake.printer.jobs.size(), c.jobs);
        if (c.option == kPrintCurrent) EXPECT_EQ(screens.summaryPage, c.summary);
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SupervisorFixture, AnEmptyDriveRefusesEveryOperation) {
    useClients({});
    const std::pair<int, std::string> tabs[] = {{kReportsTab, "Print Report"}, {kVerifyTab, "Verify Data"},
                                                {kDeleteNamesTab, "Delete Names"}};
    for (const auto& [tab, title] : tabs) {
        dialogs.messages.clear();
        flows.execute(tab, kPrintAll, false);
        EXPECT_EQ(dialogs.messages, (std::vector<test::ShownMessage>{{"Database empty.\r\nCannot perform this function.",
                                                                      title, MsgIcon::Information, MsgButtons::Ok}}));
    }
    EXPECT_TRUE(screens.opened.empty());
}
