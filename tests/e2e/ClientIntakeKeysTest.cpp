// By real key presses alone: the main menu, a client added from an answer sheet and then
// corrected, a client taking the whole test in Spanish; the data drive checked byte for byte.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>

#include "KeyedProgram.h"
#include "kcs/report/ScoreAndReport.h"

using namespace kcs;
using namespace kcs::testutil;

TEST_F(KeyedProgram, AClientIsAddedFromAnAnswerSheetAndCorrectedByKeysAlone) {
    std::string sheet;  // one answer per item, each section within its own choices
    for (int item = 1; item <= 158; ++item) sheet += static_cast<char>('1' + (item <= 99 ? item % 2 : item % 4));
    std::string expected = std::string("Ann Smith") + std::string(16, ' ') + "34 " "2" "5" "1" "12" "07/04/1961" +
                           "12/06/2026" + "173 2 1 0 9 4 1 2 3 N " + sheet + "0" "0";
    ASSERT_EQ(expected.size(), 235u);
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
        })
        .focus("lbNameDisplay").press("Shift+ISO_Left_Tab").focus("cmdMenuChoice_3").press("Return")
        .until("exit asked", [&] { return exits.count() == 1; });
    ASSERT_TRUE(keys.run()) << keys.failure();
    EXPECT_EQ(fake.beeper.beeps, 1);
}

TEST_F(KeyedProgram, ANewClientTakesTheTestInSpanishAndItsRecordIsSavedAndScores) {
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
    scoring::Scores scores;
    report::ComposeReport(startUp.store().table(), 3, {KCS_BIN_DIR, 'b', false}, &scores);
    for (int scale = 1; scale <= scoring::kScaleCount; ++scale) EXPECT_TRUE(scores.scored(scale)) << scale;
}
