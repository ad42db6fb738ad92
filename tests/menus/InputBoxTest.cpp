#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "ScriptedDialogs.h"
#include "kcs/menus/InputBox.h"
#include "kcs/menus/MenuButtonRow.h"

using namespace kcs::menus;
using kcs::menus::testing::ScriptedDialogs;

namespace {

frmMyInputBox& box(QDialog& d) { return static_cast<frmMyInputBox&>(d); }
QPushButton* okButton(QDialog& d) { return box(d).buttons().button(0); }

// Types `text` and presses Enter twice: once in the text box (which moves on to
// "Information OK") and once on the button.
ScriptedDialogs::Script typeAndConfirm(const QString& text, QString* seenBefore = nullptr) {
    return [text, seenBefore](QDialog& d) {
        QLineEdit* edit = box(d).textBox();
        if (seenBefore) *seenBefore = edit->text();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        ASSERT_EQ(QApplication::focusWidget(), okButton(d));
        QTest::keyClick(okButton(d), Qt::Key_Return);
    };
}

struct Prompts : ::testing::Test {
    ScriptedDialogs dialogs;
    void prompt(ScriptedDialogs::Script script) { dialogs.onModal("frmMyInputBox", std::move(script)); }
};
using SecretCode = Prompts;
using InputBox = Prompts;

}  // namespace

TEST_F(SecretCode, WrongCodesAreRefusedAndTheLetterIsTakenInEitherCase) {
    QString reopened = QStringLiteral("unset");
    prompt([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Secret Code"));
        EXPECT_EQ(d.findChild<QLabel*>("lblHelpMsg")->text(),
                  QStringLiteral("Enter the Secret Code to continue.  For security, asterisks (*) will show as you type."));
        EXPECT_EQ(box(d).textBox()->echoMode(), QLineEdit::Password);
        typeAndConfirm(QStringLiteral("mx"))(d);
    });
    prompt(typeAndConfirm(QStringLiteral("B")));
    prompt(typeAndConfirm(QStringLiteral("M"), &reopened));
    dialogs.answer(MsgAnswer::Ok);
    dialogs.answer(MsgAnswer::Ok);
    EXPECT_TRUE(AskSecretCode(dialogs));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    for (const auto& m : dialogs.messages) {
        EXPECT_EQ(m.text, QStringLiteral("Incorrect Secret Code.  Please try again."));
        EXPECT_EQ(m.title, QStringLiteral("Secret Code"));
        EXPECT_EQ(m.icon, MsgIcon::Critical);
    }
    EXPECT_EQ(reopened, QString());
    EXPECT_EQ(dialogs.modalsShown.size(), 3u);

    dialogs.messages.clear();
    prompt(typeAndConfirm(QStringLiteral("m")));
    EXPECT_TRUE(AskSecretCode(dialogs));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SecretCode, CancelGivesFalseEvenWithTheRightCode) {
    prompt([](QDialog& d) {
        QTest::keyClicks(box(d).textBox(), QStringLiteral("m"));
        QTest::keyClick(box(d).textBox(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), box(d).buttons().button(1));
        QTest::keyClick(box(d).buttons().button(1), Qt::Key_Return);
    });
    EXPECT_FALSE(AskSecretCode(dialogs));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SecretCode, EmptyEntryIsRefusedAndFocusReturnsToTheTextBox) {
    dialogs.answer(MsgAnswer::Ok);
    prompt([](QDialog& d) {
        QTest::keyClick(box(d).textBox(), Qt::Key_Return);
        QTest::keyClick(okButton(d), Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), box(d).textBox());
        typeAndConfirm(QStringLiteral("m"))(d);
    });
    EXPECT_TRUE(AskSecretCode(dialogs));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Please enter the required password."));
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Input required"));
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Question);
}

TEST_F(SecretCode, AtMostEightCharactersCanBeTypedAndEscapeCancels) {
    QString typed;
    prompt([&](QDialog& d) {
        QTest::keyClicks(box(d).textBox(), QStringLiteral("abcdefghijk"));
        typed = box(d).textBox()->text();
        QTest::keyClick(box(d).textBox(), Qt::Key_Escape);
    });
    EXPECT_FALSE(AskSecretCode(dialogs));
    EXPECT_EQ(typed, QStringLiteral("abcdefgh"));
}

TEST_F(InputBox, PlainInputAsksForDataAndKeepsItsValueAfterClosing) {
    dialogs.answer(MsgAnswer::Ok);
    frmMyInputBox input(dialogs);
    prompt([](QDialog& d) {
        EXPECT_EQ(box(d).textBox()->echoMode(), QLineEdit::Normal);
        QTest::keyClick(okButton(d), Qt::Key_Return);
        typeAndConfirm(QStringLiteral("42"))(d);
    });
    EXPECT_EQ(dialogs.execModal(input), QDialog::Accepted);
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Please enter the required data.")});
    EXPECT_FALSE(input.Cancelled());
    EXPECT_EQ(input.InputValue(), QStringLiteral("42"));
}
