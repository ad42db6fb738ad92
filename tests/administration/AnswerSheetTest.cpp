// Keying answers from a paper answer sheet, then verifying them by keying them again: the
// grids built from the bank, the keys each grid and each item takes, the walk through the
// grids, the correction pass, and both screens' Escape, Cancel and saving.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ScreenTestSupport.h"
#include "kcs/administration/AnswerSheet.h"
#include "kcs/administration/Verify.h"
#include "kcs/test/KeyboardDriver.h"
#include "kcs/ui/CellGrid.h"
#include "kcs/ui/MenuButtonRow.h"

using namespace kcs;
using namespace kcs::administration;
using namespace kcs::testutil;
using records::Field;
using Texts = std::vector<std::string>;

namespace {

// The shape of the shipped bank: 99 True/False items, 36 rated, 23 with their own choices.
std::vector<BankItem> standardBank() {
    std::vector<BankItem> items;
    for (int id = 1; id <= 158; ++id) items.push_back({id, id <= 99 ? "False" : id <= 135 ? "Sometimes" : "Two drinks"});
    return items;
}

const std::string kNoAnswers(158, '0');

// A full answer string: items 1-99 True/False, the others 1 to 4.
std::string answers() {
    std::string a;
    for (int i = 1; i <= 158; ++i) a += static_cast<char>('0' + (i <= 99 ? 1 + i % 2 : 1 + i % 4));
    return a;
}

// What typing `keys` did: bells, the boxes shown ("title: text"), the answers to save.
struct Keyed {
    int beeps = 0;
    Texts messages;
    std::optional<std::string> saved;
    bool closed = false;
};

Keyed type(VerifyForm& form, const std::string& keys) {
    Keyed out;
    for (char c : keys) {
        const VerifyStep step = form.key(c);
        out.beeps += step.beep;
        if (step.message) out.messages.push_back(step.message->title + ": " + step.message->text);
        if (step.save) out.saved = step.save;
        out.closed = out.closed || step.close;
    }
    return out;
}

}  // namespace

TEST(AnswerSheetForm, TheSecondChoiceNamesTheAnswerTypeAndEachTypeGetsOneGrid) {
    const std::pair<std::optional<std::string>, int> types[] = {{"False", 0}, {"Falsehood", 0}, {"No", 1}, {"Nope", 2},
        {std::nullopt, 2}, {"Sometimes", 3}, {"Mostly True", 4}, {"Often", 5}};
    for (const auto& [answer2, type] : types) EXPECT_EQ(answerTypeOf(answer2), type) << answer2.value_or("(empty)");
    // The shipped bank's three grids are keyed through end to end (tests/e2e). True/False
    // items that come back after another type join the first grid.
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
    }
}

TEST(AnswerSheetForm, ArrowsLeadBackToTheGridBeforeAndItemOneBeeps) {
    // Digits walking through all three grids to the sheet's last answer are keyed end to end (tests/e2e).
    AnswerSheetForm form(standardBank(), kNoAnswers);
    form.focusIn(0);
    const SheetGrid& first = form.grids()[0];
    EXPECT_TRUE(form.up(0).beep) << "Up on item 1";
    for (int i = 1; i < 99; ++i) form.down(0);
    EXPECT_EQ(form.keyPress(0, '2').focusGrid, 1);
    form.focusOut(0);
    form.focusIn(1);
    EXPECT_EQ(form.up(1).focusGrid, 0);
    EXPECT_EQ(first.row, 99);
}

TEST(AnswerSheetForm, TheMarkFollowsTheAnswers) {
    // A damaged record's answer that no column can show is shown unmarked and kept.
    AnswerSheetForm form(standardBank(), "17" + std::string(156, '0'));
    EXPECT_EQ(form.cell(0, 2, 1).text + form.cell(0, 2, 2).text, "");
    EXPECT_EQ(form.answers()[1], '7');
    EXPECT_EQ(form.cell(0, 1, 1).text, "X");
    form.focusIn(0);
    form.keyPress(0, '0');  // clears the mark
    EXPECT_EQ(form.cell(0, 1, 1).text, "");
}

struct AnswerSheetScreen : ProgramFixture {
    AnswerSheetScreen() { useClients({"Ann Lee", "Bob Roe"}); }
};

TEST_F(AnswerSheetScreen, EscapeOnlyMovesToCancelAndCancelSavesNothing) {
    // Keying and saving a new client's sheet is driven end to end by real keys (tests/e2e);
    // the sequence drops the record of a sheet left (tests/menus).
    const std::string before = readFile(store.ClientFilePath());
    records::ClientRecord record;
    std::int16_t slot = 3;
    frmNewEntry screen(false, slot, record, store, fake.services, standardBank());
    dialogs.onModal("frmNewEntry", [&](QDialog& d) {
        EXPECT_EQ(test::unnamedControls(d), std::vector<std::string>{});
        ASSERT_EQ(focused(), screen.grid(0));
        EXPECT_EQ(screen.msgPanel()->text(), QStringLiteral("0=No answer, 1=True, 2=False, Tab=Next grid"));
        for (Qt::Key k : {Qt::Key_1, Qt::Key_Tab, Qt::Key_Escape}) key(k);  // Escape never throws the sheet away
        ASSERT_EQ(focused(), screen.buttons().button(1));
        ASSERT_TRUE(d.isVisible());
        key(Qt::Key_Return);
    });
    dialogs.execModal(screen);
    EXPECT_FALSE(screen.completed());
    EXPECT_EQ(readFile(store.ClientFilePath()), before);
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

TEST(VerifyForm, TheSecondKeyingWithTheThirdKeyingsInItIsWhatIsStored) {
    // A third keying equal to neither earlier one is stored: checked end to end (tests/e2e).
    const std::string stored = answers();
    VerifyForm same(stored);
    const Keyed once = type(same, stored);
    EXPECT_EQ(once.messages, Texts{"Data Verification.: Data Verification complete. No corrections needed."});
    EXPECT_EQ(once.saved, stored) << "the record is written back as it was";
    EXPECT_TRUE(once.closed);

    // A shorter stored string: every missing position differs.
    VerifyForm form(stored.substr(0, 150) + std::string(8, ' '));
    const Keyed first = type(form, stored);
    EXPECT_EQ(first.messages, Texts{"Data Corrections: Data Correction needed. Please correct the following questions."});
    EXPECT_FALSE(first.saved) << "nothing is stored before the correction pass";
    ASSERT_TRUE(form.correctionPass());
    for (int item = 151; item <= 158; ++item) {
        EXPECT_EQ(form.currentLabel(), "Question #" + std::to_string(item));
        EXPECT_EQ(form.previousLabel(), item > 151 ? "Question #" + std::to_string(item - 1) : "");
        const Keyed step = type(form, stored.substr(static_cast<std::size_t>(item - 1), 1));
        EXPECT_EQ(step.saved, item == 158 ? std::optional(stored) : std::nullopt);
        EXPECT_EQ(step.messages, item == 158 ? Texts{"Data Verification: Data Verification complete."} : Texts{});
        EXPECT_EQ(step.closed, item == 158);
    }
}

TEST(VerifyForm, EachItemTakesOnlyItsOwnCodesAndBackspaceStaysInThePass) {
    VerifyForm form(answers());
    // Keys typed, bells, the item keyed next, the response shown for the item before: Backspace
    // at the first entry beeps, a True/False item takes 0 to 2 only, Backspace goes back to key
    // the item before again, a rating item takes 3 and 4.
    const std::tuple<std::string, int, int, std::string> steps[] = {{"\b", 1, 1, ""}, {"35a9\r", 5, 1, ""},
        {"2", 0, 2, "2"}, {"\b", 0, 1, ""}, {"1", 0, 2, "1"}, {std::string(98, '0'), 0, 100, "0"}, {"3", 0, 101, "3"},
        {"5", 1, 101, "3"}};
    for (const auto& [keys, beeps, item, previous] : steps) {
        EXPECT_EQ(type(form, keys).beeps, beeps) << keys;
        EXPECT_EQ(form.currentItem(), item);
        EXPECT_EQ(form.previousResponse(), previous);
    }
    EXPECT_EQ(form.keyed().substr(0, 2), "10");
    EXPECT_EQ(form.keyed()[99], '3');

    // In the correction pass Backspace walks back through the differing items only.
    type(form, std::string(58, '0'));
    ASSERT_TRUE(form.correctionPass());
    EXPECT_EQ(type(form, "\b").beeps, 1);
    const int first = form.currentItem();
    type(form, "0");
    EXPECT_GT(form.currentItem(), first);
    EXPECT_EQ(type(form, "\b").beeps, 0);
    EXPECT_EQ(form.currentItem(), first);
}

TEST_F(AnswerSheetScreen, TheVerifyScreenLeavesTheAnswersOnCancelAndOnARefusedSave) {
    const std::string stored = answers();
    records::ClientRecord r = store.record(2);
    r.set(Field::Answers, stored);
    store.update(2, r);
    const std::string before = readFile(store.ClientFilePath());
    std::string keys = stored;
    keys[0] = keys[0] == '1' ? '2' : '1';
    // Saved answers are checked end to end; here Cancel and a drive that refuses the save.
    for (bool cancel : {true, false}) {
        frmVerify window(store, 2, fake.services);
        openScreen(window);
        EXPECT_EQ(test::unnamedControls(window), std::vector<std::string>{});
        QTest::keyClicks(window.input(), QString::fromStdString(keys.substr(0, 10)));
        if (cancel) {
            QTest::keyClick(window.input(), Qt::Key_Escape);
        } else {
            dialogs.answer(MsgAnswer::Ok);
            dialogs.answer(MsgAnswer::Ok);
            QTest::keyClicks(window.input(), QString::fromStdString(keys.substr(10)));
            test::RefusingDisk readOnly;  // a drive that refuses the save
            QTest::keyClick(window.input(), Qt::Key_0);
            ASSERT_EQ(dialogs.messages.size(), 2u);
            // Never "complete" when the answers did not reach the drive.
            EXPECT_TRUE(dialogs.messages[1].text.starts_with("Error ")) << dialogs.messages[1].text;
            EXPECT_TRUE(dialogs.messages[1].text.ends_with(
                "The verified answers were not saved; the answers stored before are unchanged."));
        }
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(readFile(store.ClientFilePath()), before);
        EXPECT_EQ(store.record(2).raw(Field::Answers), stored);
    }
}
