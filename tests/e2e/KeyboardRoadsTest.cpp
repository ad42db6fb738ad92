// The program end to end by real key presses alone, with its real message boxes and
// printer (the tests' own CUPS queue; sound and NumLock are the fakes'): the main menu, a
// client added from an answer sheet and then corrected, a client taking the whole test in
// Spanish, and the supervisor's four operations; checked by what the data drive, the
// program folder and the printer hold afterwards.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>

#include "../menus/ScreenTestSupport.h"
#include "CupsCapture.h"
#include "kcs/menus/DelNames.h"
#include "kcs/program/CupsPrinter.h"
#include "kcs/program/StartUp.h"
#include "kcs/questionbank/QuestionBank.h"
#include "kcs/test/KeyboardDriver.h"
#include "kcs/test/ScoringFixture.h"

using namespace kcs;
using namespace kcs::testutil;
using records::Field;

namespace {

// The program on a drive with two clients, driven by `keys`.
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

TEST_F(KeyedProgram, AClientIsAddedFromAnAnswerSheetAndCorrectedByKeysAlone) {
    std::string sheet;  // one answer per item, each section within its own choices
    for (int item = 1; item <= 158; ++item) sheet += static_cast<char>('1' + (item <= 99 ? item % 2 : item % 4));
    std::string expected = std::string("Ann Smith") + std::string(16, ' ') + "34 " "2" "5" "1" "12" "07/04/1961" +
                           "12/06/2026" + "173 2 1 0 9 4 1 2 3 N " + sheet + "0" "0";
    startUp.start();
    QSignalSpy exits(startUp.mainWindow(), &menus::frmMain::exitRequested);
    // The main menu's accelerators first: the About box, then the Options menu closed again.
    keys.window("Kestrel Conduct Screening").focus("lbNameDisplay")
        .then([&] { EXPECT_EQ(test::unnamedControls(*startUp.mainWindow()), std::vector<std::string>{}); })
        .press("Alt+a").window("About Kestrel Conduct Screening").press("Return")
        .window("Kestrel Conduct Screening").press("Alt+o")
        .until("the Options menu", [] { return QApplication::activePopupWidget() != nullptr; })
        .press("Escape", 2).until("menu closed", [] { return QApplication::activePopupWidget() == nullptr; });
    keyNewClient(1, {"Ann Smith", "34", "2", "5", "1", "12", "07041961"},
                 {"17", "3", "2", "1", "0", "9", "4", "1", "2", "3", "n"});
    keys.window("Edit Client Responses").focus("grdResponses_0").type(QString::fromStdString(sheet))
        .until("the last answer rang the bell", [&] { return fake.beeper.beeps == 1; })
        .press("Tab").focus("cmdMenuChoice_0").press("Return")
        .window("Kestrel Conduct Screening")
        .until("client 3 saved", [&] { return startUp.store().NumClients() == 3; })
        .then([&] {
            EXPECT_EQ(record(3), expected);
            EXPECT_EQ(readFile(clientFile).size(), 3u * 235);
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
        })
        .focus("lbNameDisplay").press("Shift+ISO_Left_Tab").focus("cmdMenuChoice_3").press("Return")
        .until("exit asked", [&] { return exits.count() == 1; });
    ASSERT_TRUE(keys.run()) << keys.failure();
    EXPECT_EQ(fake.beeper.beeps, 1);
}

TEST_F(KeyedProgram, ANewClientTakesTheTestInSpanishAndItsAnswersAreSaved) {
    keyNewClient(0, {"Eva Cruz", "29", "2", "3", "1", "10", "03151997"}, {"19", "1", "0", "0", "0", "1", "0", "0", "0", "0", "n"});
    keys.window("Select Presentation Language").focus("cmdMenuChoice_0").press("Down").focus("cmdMenuChoice_1")
        .press("Return").message("The test will begin as soon as you press the Enter key.").press("Return")
        .window(QStringLiteral("Presentación de preguntas")).focus("txtInstructions").press("Return", 2);
    std::string expected;
    for (int item = 1; item <= 158; ++item) {
        const int choice = item <= 99 ? item % 2 : item % 4;  // every choice of each section is used
        const QString number = QString::number(item) + QStringLiteral(". ");
        keys.focus("txtQuestion")
            .until("item " + std::to_string(item), [number] {
                QWidget* modal = QApplication::activeModalWidget();
                auto* box = modal ? modal->findChild<QPlainTextEdit*>(QStringLiteral("txtQuestion")) : nullptr;
                return box && box->toPlainText().startsWith(number);
            })
            .press("Down", 1 + choice).press("Return");
        expected += static_cast<char>('1' + choice);
        if (item == 99 || item == 135)
            keys.message(QStringLiteral("Usted ha terminado esta parte de la prueba.")).press("Return")
                .focus("txtInstructions").press("Return");
    }
    keys.message(QStringLiteral("Usted ha terminado la prueba.")).press("Return")
        .window("Secret Code").focus("txtInput").press("Escape")  // "Cancel Input" only brings the prompt back
        .window("Secret Code").focus("txtInput").type("m").press("Return", 2)
        .window("Kestrel Conduct Screening")
        .until("client 3 saved", [&] { return startUp.store().NumClients() == 3; });
    startAndRun();

    EXPECT_EQ(record(3).substr(0, 8), "Eva Cruz");
    EXPECT_EQ(record(3).substr(75, 158), expected) << "item i's answer at position i";
}

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
