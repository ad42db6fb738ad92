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

// Types `text` into the secret-code prompt and presses Enter twice: once in the text box
// (which moves on to "Information OK") and once on the button.
ScriptedDialogs::Script typeAndConfirm(const QString& text, QString* seenBefore = nullptr) {
    return [text, seenBefore](QDialog& d) {
        QLineEdit* edit = box(d).textBox();
        if (seenBefore) *seenBefore = edit->text();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        ASSERT_EQ(QApplication::focusWidget(), box(d).buttons().button(0));
        QTest::keyClick(box(d).buttons().button(0), Qt::Key_Return);
    };
}

const QString kIncorrect = QStringLiteral("Incorrect Secret Code.  Please try again.");

}  // namespace

TEST(SecretCode, LowerCaseLetterIsAccepted) {
    ScriptedDialogs dialogs;
    QString caption, help;
    bool password = false;
    dialogs.onModal("frmMyInputBox", [&](QDialog& d) {
        caption = d.windowTitle();
        help = d.findChild<QLabel*>("lblHelpMsg")->text();
        password = box(d).textBox()->echoMode() == QLineEdit::Password;
        typeAndConfirm(QStringLiteral("m"))(d);
    });
    EXPECT_TRUE(AskSecretCode(dialogs));
    EXPECT_EQ(caption, QStringLiteral("Secret Code"));
    EXPECT_EQ(help, QStringLiteral("Enter the Secret Code to continue.  For security, asterisks (*) will show as you type."));
    EXPECT_TRUE(password);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(SecretCode, WrongCodeIsRefusedAndThePromptOpensAgainEmpty) {
    ScriptedDialogs dialogs;
    QString secondStart = QStringLiteral("unset");
    dialogs.onModal("frmMyInputBox", typeAndConfirm(QStringLiteral("mx")));
    dialogs.onModal("frmMyInputBox", typeAndConfirm(QStringLiteral("B")));
    dialogs.onModal("frmMyInputBox", typeAndConfirm(QStringLiteral("M"), &secondStart));
    dialogs.answer(MsgAnswer::Ok);
    dialogs.answer(MsgAnswer::Ok);
    EXPECT_TRUE(AskSecretCode(dialogs));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    for (const auto& m : dialogs.messages) {
        EXPECT_EQ(m.text, kIncorrect);
        EXPECT_EQ(m.title, QStringLiteral("Secret Code"));
        EXPECT_EQ(m.icon, MsgIcon::Critical);
    }
    EXPECT_EQ(secondStart, QString());
    EXPECT_EQ(dialogs.modalsShown.size(), 3u);
}

TEST(SecretCode, CancelInputGivesFalse) {
    ScriptedDialogs dialogs;
    dialogs.onModal("frmMyInputBox", [](QDialog& d) {
        QTest::keyClicks(box(d).textBox(), QStringLiteral("m"));
        QTest::keyClick(box(d).textBox(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), box(d).buttons().button(1));
        QTest::keyClick(box(d).buttons().button(1), Qt::Key_Return);
    });
    EXPECT_FALSE(AskSecretCode(dialogs));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(SecretCode, EmptyEntryIsRefusedAndFocusReturnsToTheTextBox) {
    ScriptedDialogs dialogs;
    dialogs.answer(MsgAnswer::Ok);
    dialogs.onModal("frmMyInputBox", [](QDialog& d) {
        QLineEdit* edit = box(d).textBox();
        QTest::keyClick(edit, Qt::Key_Return);
        ASSERT_EQ(QApplication::focusWidget(), box(d).buttons().button(0));
        QTest::keyClick(box(d).buttons().button(0), Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), edit);
        QTest::keyClicks(edit, QStringLiteral("m"));
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(box(d).buttons().button(0), Qt::Key_Return);
    });
    EXPECT_TRUE(AskSecretCode(dialogs));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Please enter the required password."));
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Input required"));
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Question);
}

TEST(SecretCode, AtMostEightCharactersCanBeTyped) {
    ScriptedDialogs dialogs;
    QString typed;
    dialogs.onModal("frmMyInputBox", [&](QDialog& d) {
        QTest::keyClicks(box(d).textBox(), QStringLiteral("abcdefghijk"));
        typed = box(d).textBox()->text();
        QTest::keyClick(box(d).textBox(), Qt::Key_Escape);
    });
    EXPECT_FALSE(AskSecretCode(dialogs));
    EXPECT_EQ(typed, QStringLiteral("abcdefgh"));
}

TEST(InputBox, PlainInputAsksForDataAndKeepsItsValueAfterClosing) {
    ScriptedDialogs dialogs;
    dialogs.answer(MsgAnswer::Ok);
    frmMyInputBox input(dialogs);
    input.HelpMessage = QStringLiteral("Type a number.");
    dialogs.onModal("frmMyInputBox", [](QDialog& d) {
        EXPECT_EQ(box(d).textBox()->echoMode(), QLineEdit::Normal);
        QTest::keyClick(box(d).buttons().button(0), Qt::Key_Return);
        QTest::keyClicks(box(d).textBox(), QStringLiteral("42"));
        QTest::keyClick(box(d).textBox(), Qt::Key_Return);
        QTest::keyClick(box(d).buttons().button(0), Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.execModal(input), QDialog::Accepted);
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Please enter the required data.")});
    EXPECT_FALSE(input.Cancelled());
    EXPECT_EQ(input.InputValue(), QStringLiteral("42"));
}
