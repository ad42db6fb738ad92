// The supervisor's four operations worked from the main menu by real key presses, checked
// by what the data drive, the program folder and the printer hold afterwards.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>

#include "CupsCapture.h"
#include "KeyedProgram.h"
#include "kcs/menus/DelNames.h"
#include "kcs/report/PrintReport.h"
#include "kcs/test/ScoringFixture.h"

using namespace kcs;
using namespace kcs::testutil;
using records::Field;

namespace {

const char* const kNames[] = {"Ann Lee", "Bob Roe", "Cy Young"};

// The program on a drive of three tested clients.
struct Supervisor : KeyedProgram {
    std::optional<test::CupsCapture> queue = test::CupsCapture::open();
    std::string answers;

    Supervisor() {
        test::FixtureData{}.write(folder.path());
        std::vector<records::ClientRecord> clients;
        for (const char* name : kNames) clients.push_back(test::ClientBuilder{}.set(Field::Name, name).build());
        answers = std::string(clients[0].raw(Field::Answers));
        writeFile(clientFile, test::clientFileBytes(clients));
        folder.writeSettings("disk", "NumLock=False\r\nPrintDOS=False\r\n");
    }
    // From the main menu: client `client` picked, the supervisor options open on the
    // Reports tab with the tab control holding the keyboard.
    void openOptions(int client) {
        keys.window("Kestrel Conduct Screening").focus("lbNameDisplay").press("Down", client)
            .until("client picked", [this, client] { return startUp.store().CurClient() == client; })
            .press("Tab").focus("cmdMenuChoice_0").press("Down", 2).focus("cmdMenuChoice_2").press("Return")
            .window("Supervisor Options").focus("qt_tabwidget_tabbar");
    }
    void secretCode() { keys.window("Secret Code").type("m").press("Return").press("Return"); }
    bool printed(const std::string& job, const std::string& name) const {
        return test::pdfText(job).find("NAME OR ID#: " + name) != std::string::npos;
    }
};

}  // namespace

TEST_F(Supervisor, ViewingAReportThenPrintingItWithTheSummaryPage) {
    if (!queue) GTEST_SKIP() << "no CUPS scheduler of the tests' own";
    openOptions(2);
    keys.press("Tab").focus("optPrintOption_0").press("Tab").focus("chkSumPage").press("space")
        .press("Tab").focus("cmdMenuChoice_0").press("Return");
    secretCode();
    keys.window("Client Report").focus("Text1")
        .until("the report shown", [] {
            auto* text = qobject_cast<QPlainTextEdit*>(QApplication::focusWidget());
            return text && text->toPlainText().contains("NAME OR ID#: Bob Roe");
        })
        .press("Next").press("Alt+p").press("Alt+c").window("Kestrel Conduct Screening");
    startAndRun();
    const auto jobs = queue->take(1);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_TRUE(printed(jobs[0], "Bob Roe"));
    EXPECT_NE(test::pdfText(jobs[0]).find("ONE-PAGE SUMMARY"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder.path() / report::kReportFileName)) << "the viewer removes the report";
}

TEST_F(Supervisor, PrintingTheSelectedClientsInListOrder) {
    if (!queue) GTEST_SKIP() << "no CUPS scheduler of the tests' own";
    openOptions(1);
    keys.press("Tab").focus("optPrintOption_0").press("Down").focus("optPrintOption_1")
        .press("Tab").press("Tab").focus("cmdMenuChoice_0").press("Return");
    secretCode();
    keys.window("Print Selected Reports").focus("lbNameDisplay").press("Down", 2).press("space").press("Up", 2)
        .press("space").press("Tab").focus("cmdMenuChoice_0").press("Return").window("Kestrel Conduct Screening");
    startAndRun();
    const auto jobs = queue->take(2);
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_TRUE(printed(jobs[0], "Ann Lee"));
    EXPECT_TRUE(printed(jobs[1], "Cy Young"));
    EXPECT_NE(readFile(report::StagingFile(folder.path(), 2)).find("NAME OR ID#: Cy Young"), std::string::npos);
    EXPECT_FALSE(fs::exists(report::StagingFile(folder.path(), 3)));
    EXPECT_EQ(startUp.store().CurClient(), 3);
}

TEST_F(Supervisor, VerifyingAnAnswerSheetWithOneCorrection) {
    std::string second = answers;
    second[4] = second[4] == '1' ? '2' : '1';
    openOptions(3);
    keys.press("Ctrl+Tab").press("Tab").focus("cmdMenuChoice_0").press("Return")
        .window("Test Data Input Verification").focus("txtCurQuestion").type(QString::fromStdString(second))
        .message("Data Correction needed.").press("Return")
        .focus("txtCurQuestion").press("0")
        .message("Data Verification complete.").press("Return")
        .window("Kestrel Conduct Screening");
    startAndRun();
    second[4] = '0';
    EXPECT_EQ(record(3).substr(75, 158), second);
    EXPECT_EQ(record(2).substr(75, 158), answers);
}

TEST_F(Supervisor, DeletingTheNamesOfTheDrive) {
    openOptions(1);
    keys.press("Alt+d").press("Tab").focus("cmdMenuChoice_0").press("Return")
        .message("You are about to delete the Client Name").press("Return")
        .message("Process complete.").press("Return")
        .window("Kestrel Conduct Screening");
    startAndRun();
    for (int i = 1; i <= 3; ++i) {
        std::string name = kNames[i - 1];
        menus::ScrambleName(name, false);
        name.resize(25, ' ');
        EXPECT_EQ(record(i).substr(0, 25), name);
        EXPECT_EQ(record(i).substr(75, 158) + record(i)[234], answers + "1") << "the answers kept, the name marked deleted";
    }
    EXPECT_EQ(startUp.mainWindow()->nameList()->item(0)->text().left(7), "1-Duu S");
}
