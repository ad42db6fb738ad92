// Keying answers from a paper answer sheet: the grids built from the bank, the keys each
// grid takes, the walk through the grids, and the screen's Escape, Cancel and Save.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "ScreenTestSupport.h"
#include "kcs/administration/AnswerSheet.h"
#include "kcs/test/KeyboardDriver.h"
#include "kcs/ui/CellGrid.h"

using namespace kcs;
using namespace kcs::administration;
using namespace kcs::testutil;
using records::Field;

namespace {

// The shape of the shipped bank: 99 True/False items, 36 rated, 23 with their own choices.
std::vector<BankItem> standardBank() {
    std::vector<BankItem> items;
    for (int id = 1; id <= 158; ++id) items.push_back({id, id <= 99 ? "False" : id <= 135 ? "Sometimes" : "Two drinks"});
    return items;
}

const std::string kNoAnswers(158, '0');

}  // namespace

TEST(AnswerSheetForm, TheSecondChoiceNamesTheAnswerTypeAndEachTypeGetsOneGrid) {
    const std::pair<std::optional<std::string>, int> types[] = {{"False", 0}, {"Falsehood", 0}, {"No", 1}, {"Nope", 2},
        {std::nullopt, 2}, {"Sometimes", 3}, {"Mostly True", 4}, {"Often", 5}};
    for (const auto& [answer2, type] : types) EXPECT_EQ(answerTypeOf(answer2), type) << answer2.value_or("(empty)");

    const AnswerSheetForm standard(standardBank(), kNoAnswers);
    ASSERT_EQ(standard.grids().size(), 3u);
    EXPECT_EQ(standard.grids()[0].items.size(), 99u);
    EXPECT_EQ(standard.grids()[1].headers(), (std::vector<std::string>{"Num", "1", "2", "3", "4"}));
    EXPECT_EQ(standard.grids()[2].items.front(), 136);
    EXPECT_EQ(standard.cell(0, 12, 0).text, "12.");
    // True/False items that come back after another type join the first grid.
    const AnswerSheetForm mixed({{1, "False"}, {2, "Mostly True"}, {3, "False"}}, kNoAnswers);
    ASSERT_EQ(mixed.grids().size(), 2u);
    EXPECT_EQ(mixed.grids()[0].items, (std::vector<int>{1, 3}));
}

TEST(AnswerSheetForm, AGridTakesTheDigitsOfItsColumnsAndBeepsAtAnythingElse) {
    const std::tuple<const char*, char, bool> cases[] = {{"False", '0', true}, {"False", '2', true},
        {"False", '3', false}, {"No", '3', false}, {"Two", '4', true}, {"Two", '5', false}, {"Mostly", '5', true},
        {"Often", '6', false}, {"False", 'a', false}, {"False", '\r', false}};
    for (const auto& [answer2, key, stored] : cases) {
        AnswerSheetForm form({{1, answer2}, {2, answer2}}, std::string(158, '9'));
        form.focusIn(0);
        EXPECT_EQ(form.keyPress(0, key).beep, !stored) << answer2 << " " << key;
        EXPECT_EQ(form.answers()[0], stored ? key : '9');
        EXPECT_EQ(form.grids()[0].row, stored ? 2 : 1);
    }
}

TEST(AnswerSheetForm, DigitsAndArrowsWalkFromGridToGridKeepTheRowInViewAndTheEndsBeep) {
    AnswerSheetForm form(standardBank(), kNoAnswers);
    form.focusIn(0);
    const SheetGrid& first = form.grids()[0];
    for (bool down : {true, false}) {
        for (int i = 1; i < 99; ++i) {
            (down ? form.down(0) : form.up(0));
            EXPECT_TRUE(first.row >= first.topRow && first.row < first.topRow + kVisibleRows) << first.row;
        }
    }
    EXPECT_TRUE(form.up(0).beep) << "Up on item 1";
    for (int i = 1; i < 99; ++i) form.down(0);
    auto effect = form.keyPress(0, '2');
    EXPECT_EQ(effect.focusGrid, 1);
    EXPECT_EQ(form.answers()[98], '2');
    EXPECT_EQ(form.workingGrid(), 1);
    EXPECT_EQ(form.grids()[1].row, 1);
    form.focusOut(0);
    form.focusIn(1);
    EXPECT_EQ(form.up(1).focusGrid, 0);
    EXPECT_EQ(first.row, 99);

    form.focusIn(2);
    for (int i = 1; i < 23; ++i) form.keyPress(2, '3');
    effect = form.keyPress(2, '4');
    EXPECT_TRUE(effect.beep) << "the last answer of the sheet";
    EXPECT_EQ(effect.focusGrid, -1);
    EXPECT_EQ(form.grids()[2].row, 23);
    EXPECT_EQ(form.answers().substr(135), std::string(22, '3') + "4");
}

TEST(AnswerSheetForm, TheMarkAndTheLitRowFollowTheAnswersAndTheCursor) {
    // A damaged record's answer that no column can show is shown unmarked and kept.
    AnswerSheetForm form(standardBank(), "17" + std::string(156, '0'));
    EXPECT_EQ(form.cell(0, 2, 1).text + form.cell(0, 2, 2).text, "");
    EXPECT_EQ(form.answers()[1], '7');
    EXPECT_EQ(form.cell(0, 1, 1).text, "X");
    form.focusIn(0);
    EXPECT_EQ(form.cell(0, 1, 2).back, kCellLightBlue);
    form.keyPress(0, '0');  // clears the mark
    EXPECT_EQ(form.cell(0, 1, 1).text, "");
    EXPECT_EQ(form.cell(0, 1, 2).back, kCellWhite);
    EXPECT_EQ(form.cell(0, 2, 1).back, kCellLightBlue);
    form.focusOut(0);
    EXPECT_EQ(form.cell(0, 2, 1).back, kCellWhite);
}

struct AnswerSheetScreen : ProgramFixture {
    AnswerSheetScreen() { useClients({"Ann Lee", "Bob Roe"}); }
};

TEST_F(AnswerSheetScreen, KeyedAnswersAreMarkedEscapeOnlyMovesToCancelAndCancelDropsOnlyANewClient) {
    // Saving a new client's sheet is driven end to end by real keys (tests/e2e).
    const std::string before = readFile(store.ClientFilePath());
    for (bool editMode : {false, true}) {
        records::ClientRecord record = store.record(1);
        std::int16_t slot = editMode ? 1 : 3;
        frmNewEntry screen(editMode, slot, record, store, fake.services, standardBank());
        dialogs.onModal("frmNewEntry", [&](QDialog& d) {
            EXPECT_EQ(test::unnamedControls(d), std::vector<std::string>{});
            ASSERT_EQ(focused(), screen.grid(0));
            EXPECT_EQ(screen.msgPanel()->text(), QStringLiteral("0=No answer, 1=True, 2=False, Tab=Next grid"));
            key(Qt::Key_1);
            key(Qt::Key_3);  // not an answer of a True/False item
            EXPECT_EQ(screen.grid(0)->text(1, 1), QStringLiteral("X"));
            EXPECT_EQ(screen.grid(0)->back(1, 1), QColor(0, 255, 0));
            EXPECT_EQ(screen.grid(0)->Row(), 2);
            key(Qt::Key_Tab);
            ASSERT_EQ(focused(), screen.grid(1));
            EXPECT_EQ(screen.grid(0)->back(2, 1), QColor(255, 255, 255)) << "a grid left shows no lit row";
            key(Qt::Key_Escape);  // never throws the sheet away: it only moves to Cancel
            ASSERT_EQ(focused(), screen.buttons().button(1));
            ASSERT_TRUE(d.isVisible());
            key(Qt::Key_Return);
        });
        dialogs.execModal(screen);
        EXPECT_FALSE(screen.completed());
        EXPECT_EQ(record.isBlank(), !editMode);
        EXPECT_EQ(readFile(store.ClientFilePath()), before);
    }
    EXPECT_EQ(fake.beeper.beeps, 2);
}

TEST_F(AnswerSheetScreen, AFailedSaveKeepsTheAnswersOnScreenUntilASaveSucceeds) {
    records::ClientRecord record = store.record(2);
    record.set(Field::Answers, kNoAnswers);
    std::int16_t slot = 2;
    frmNewEntry screen(true, slot, record, store, fake.services, standardBank());
    const std::string before = readFile(store.ClientFilePath());
    const fs::path drive = store.ClientFilePath().parent_path();
    dialogs.answer(MsgAnswer::Cancel);
    dialogs.onModal("frmNewEntry", [&](QDialog& d) {
        key(Qt::Key_2);
        fs::remove_all(drive);
        screen.buttons().button(0)->setFocus();
        key(Qt::Key_Return);
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(focused(), screen.buttons().button(0));
        EXPECT_EQ(screen.grid(0)->text(1, 2), QStringLiteral("X"));
        fs::create_directories(drive);
        writeFile(store.ClientFilePath(), before);
        key(Qt::Key_Return);
    });
    dialogs.execModal(screen);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Data Disk Error");
    EXPECT_TRUE(screen.completed());
    EXPECT_EQ(store.NumClients(), 2);
    EXPECT_EQ(store.record(2).answer(1), '2');
    EXPECT_EQ(readFile(store.ClientFilePath()).substr(235), std::string(store.record(2).bytes().data(), 235));
}
