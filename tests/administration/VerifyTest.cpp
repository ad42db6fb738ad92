// Verifying keyed answers: the first pass, the correction pass, the keys each item takes,
// and the screen saving through the client store.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "ScreenTestSupport.h"
#include "kcs/administration/Verify.h"
#include "kcs/test/KeyboardDriver.h"
#include "kcs/ui/MenuButtonRow.h"

using namespace kcs;
using namespace kcs::administration;
using namespace kcs::testutil;
using Texts = std::vector<std::string>;

namespace {

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

TEST(VerifyForm, TheSecondKeyingWithTheThirdKeyingsInItIsWhatIsStored) {
    const std::string stored = answers();
    std::string second = stored;
    second[2] = '1' + '2' - stored[2];  // item 3: the other of True and False
    second[119] = stored[119] == '1' ? '2' : '1';
    std::string corrected = second;  // a third keying equal to neither earlier one is what is stored
    corrected[2] = '0';
    corrected[119] = '4';
    // The stored Answers field, the second keying, the items of the correction pass, their
    // third keying, the answers then stored.
    const std::tuple<std::string, std::string, std::vector<int>, std::string, std::string> cases[] = {
        {stored, stored, {}, "", stored},
        {stored, second, {3, 120}, "04", corrected},
        // A shorter stored string: every missing position differs.
        {stored.substr(0, 150) + std::string(8, ' '), stored, {151, 152, 153, 154, 155, 156, 157, 158},
         stored.substr(150), stored},
    };
    for (const auto& [field, keyed, differ, third, result] : cases) {
        VerifyForm form(field);
        const Keyed first = type(form, keyed);
        if (differ.empty()) {
            EXPECT_EQ(first.messages, Texts{"Data Verification.: Data Verification complete. No corrections needed."});
            EXPECT_EQ(first.saved, field) << "the record is written back as it was";
            EXPECT_TRUE(first.closed);
            continue;
        }
        EXPECT_EQ(first.messages, Texts{"Data Corrections: Data Correction needed. Please correct the following questions."});
        EXPECT_FALSE(first.saved) << "nothing is stored before the correction pass";
        ASSERT_TRUE(form.correctionPass());
        for (std::size_t k = 0; k < differ.size(); ++k) {
            EXPECT_EQ(form.currentLabel(), "Question #" + std::to_string(differ[k]));
            EXPECT_EQ(form.previousLabel(), k ? "Question #" + std::to_string(differ[k - 1]) : "");
            const Keyed step = type(form, std::string(1, third[k]));
            const bool last = k + 1 == differ.size();
            EXPECT_EQ(step.saved, last ? std::optional(result) : std::nullopt);
            EXPECT_EQ(step.messages, last ? Texts{"Data Verification: Data Verification complete."} : Texts{});
            EXPECT_EQ(step.closed, last);
        }
    }
}

TEST(VerifyForm, EachItemTakesOnlyItsOwnCodesAndBackspaceStaysInThePass) {
    VerifyForm form(answers());
    // Keys typed, bells, the item keyed next, the response shown for the item before.
    const std::tuple<std::string, int, int, std::string> steps[] = {
        {"\b", 1, 1, ""},      // Backspace at the first entry
        {"35a9\r", 5, 1, ""},  // a true/false item takes 0 to 2 only
        {"2", 0, 2, "2"},
        {"\b", 0, 1, ""},      // back: the item is keyed again
        {"1", 0, 2, "1"},
        {std::string(98, '0'), 0, 100, "0"},
        {"3", 0, 101, "3"},    // a rating item takes 3 and 4
        {"5", 1, 101, "3"},
    };
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

TEST_F(ProgramFixture, TheVerifyScreenLeavesTheAnswersOnCancelAndOnARefusedSave) {
    const std::string stored = answers();
    useClients({"Ann Lee", "Bob Roe"});
    records::ClientRecord r = store.record(2);
    r.set(records::Field::Answers, stored);
    store.update(2, r);
    const std::string before = readFile(store.ClientFilePath());
    std::string keys = stored;
    keys[0] = keys[0] == '1' ? '2' : '1';
    // Saved answers are checked end to end; here Cancel and a drive that refuses the save.
    for (bool cancel : {true, false}) {
        frmVerify window(store, 2, fake.services);
        openScreen(window);
        EXPECT_EQ(test::unnamedControls(window), std::vector<std::string>{});
        EXPECT_EQ(window.msgPanel()->text(), kVerifyHelp);
        EXPECT_FALSE(window.previousFrame()->isVisible());
        QTest::keyClick(window.input(), Qt::Key_Return);
        EXPECT_EQ(fake.beeper.beeps, 1);
        fake.beeper.beeps = 0;
        QTest::keyClicks(window.input(), QString::fromStdString(keys.substr(0, 10)));
        EXPECT_EQ(window.previousLabel()->text(), "Question #10");
        EXPECT_TRUE(window.previousFrame()->isVisible());
        EXPECT_TRUE(window.input()->text().isEmpty()) << "the box never keeps a character";
        if (cancel) {
            QTest::keyClick(window.input(), Qt::Key_Escape);
        } else {
            dialogs.answer(MsgAnswer::Ok);
            dialogs.answer(MsgAnswer::Ok);
            QTest::keyClicks(window.input(), QString::fromStdString(keys.substr(10)));
            EXPECT_EQ(window.currentLabel()->text(), "Question #1");
            test::RefusingDisk readOnly;  // a drive that refuses the save
            QTest::keyClick(window.input(), Qt::Key_0);
            ASSERT_EQ(dialogs.messages.size(), 2u);
            // Never "complete" when the answers did not reach the drive.
            EXPECT_TRUE(dialogs.messages[1].text.starts_with("Error ")) << dialogs.messages[1].text;
            EXPECT_TRUE(dialogs.messages[1].text.ends_with(
                "The verified answers were not saved; the answers stored before are unchanged."));
        }
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(fake.beeper.beeps, 0);
        EXPECT_EQ(readFile(store.ClientFilePath()), before);
        EXPECT_EQ(store.record(2).raw(records::Field::Answers), stored);
    }
}
