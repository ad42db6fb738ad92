// A new client takes the whole test on screen in Spanish, by the keyboard alone: real key
// presses through the X server, the real screens and message boxes, and the record then
// on the data drive scored.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>

#include "KeyedProgram.h"
#include "kcs/report/ScoreAndReport.h"

using namespace kcs;
using namespace kcs::testutil;

namespace {

// The choice (0-based) given to item i: every choice of each section is used.
int choiceOf(int item) { return item <= 99 ? item % 2 : item % 4; }

QString questionShown() {
    QWidget* modal = QApplication::activeModalWidget();
    auto* box = modal ? modal->findChild<QPlainTextEdit*>(QStringLiteral("txtQuestion")) : nullptr;
    return box ? box->toPlainText() : QString();
}

}  // namespace

TEST_F(KeyedProgram, ANewClientTakesTheTestInSpanishAndItsRecordIsSavedAndScores) {
    startUp.start();
    keyNewClient(0, {"Eva Cruz", "29", "2", "3", "1", "10", "03151997"}, {"19", "1", "0", "0", "0", "1", "0", "0", "0", "0", "n"});
    keys.window("Select Presentation Language")
        .focus("cmdMenuChoice_0")
        .press("Down")
        .focus("cmdMenuChoice_1")
        .press("Return")
        .message("The test will begin as soon as you press the Enter key.")
        .press("Return")
        .window(QStringLiteral("Presentación de preguntas"))
        .focus("txtInstructions")
        .press("Return", 2);
    std::string expected;
    for (int item = 1; item <= 158; ++item) {
        const QString number = QString::number(item) + QStringLiteral(". ");
        keys.focus("txtQuestion")
            .until("item " + std::to_string(item), [number] { return questionShown().startsWith(number); })
            .press("Down", 1 + choiceOf(item))
            .press("Return");
        expected += static_cast<char>('1' + choiceOf(item));
        if (item == 99 || item == 135)
            keys.message(QStringLiteral("Usted ha terminado esta parte de la prueba."))
                .press("Return")
                .focus("txtInstructions")
                .press("Return");
    }
    keys.message(QStringLiteral("Usted ha terminado la prueba."))
        .press("Return")
        .window("Secret Code")
        .focus("txtInput")
        .press("Escape")  // "Cancel Input" only brings the prompt back
        .window("Secret Code")
        .focus("txtInput")
        .type("m")
        .press("Return", 2)
        .window("Kestrel Conduct Screening")
        .until("client 3 saved", [&] { return startUp.store().NumClients() == 3; });
    ASSERT_TRUE(keys.run()) << keys.failure();

    const fs::path clientFile = folder.path() / "disk" / records::kClientFileName;
    const std::string record = readFile(clientFile).substr(2 * 235, 235);
    EXPECT_EQ(record.substr(0, 8), "Eva Cruz");
    EXPECT_EQ(record.substr(75, 158), expected) << "item i's answer at position i";
    scoring::Scores scores;
    report::ComposeReport(startUp.store().table(), 3, {KCS_BIN_DIR, 'b', false}, &scores);
    for (int scale = 1; scale <= scoring::kScaleCount; ++scale) EXPECT_TRUE(scores.scored(scale)) << scale;
}
