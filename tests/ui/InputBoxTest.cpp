#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTest>

#include "kcs/test/FakeServices.h"
#include "kcs/ui/InputBox.h"
#include "kcs/ui/MenuButtonRow.h"

using namespace kcs::ui;
using kcs::test::ScriptedDialogs;

namespace {

frmMyInputBox& box(QDialog& d) { return static_cast<frmMyInputBox&>(d); }
QPushButton* okButton(QDialog& d) { return box(d).buttons().button(0); }

// Types `text` and presses Enter twice: once in the text box (which moves on to
// "Information OK") and once on the button.
ScriptedDialogs::Script typeAndConfirm(const QString& text, QString* seenBefore = nullptr) {
    return [text, seenBefore](QDialog& d) {
        QLineEdit* edit = box(d).textBox();
        EXPECT_EQ(QApplication::focusWidget(), edit);  // the box takes the keyboard itself
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

TEST_F(SecretCode, AsksUntilTheLetterComesInEitherCaseOrTheSupervisorCancels) {
    struct Case {
        std::vector<std::optional<std::string>> typed;  // nullopt: Cancel Input
        bool result;
        std::size_t wrongBoxes;
    } cases[] = {
        {{"m"}, true, 0}, {{"M"}, true, 0}, {{"mx", "B", "M"}, true, 2}, {{"x", std::nullopt}, false, 1},
        {{std::nullopt}, false, 0},
    };
    for (const auto& c : cases) {
        std::size_t next = 0;
        kcs::test::ScriptedDialogs boxes;
        EXPECT_EQ(AskSecretCode([&] { return c.typed.at(next++); }, boxes), c.result);
        EXPECT_EQ(next, c.typed.size());
        EXPECT_EQ(boxes.messages.size(), c.wrongBoxes);
        for (const auto& m : boxes.messages) {
            EXPECT_EQ(m.text, "Incorrect Secret Code.  Please try again.");
            EXPECT_EQ(m.title, "Secret Code");
            EXPECT_EQ(m.icon, kcs::app::MsgIcon::Critical);
        }
    }
}

TEST_F(SecretCode, ThePromptShowsAsterisksTakesEightCharactersAndOpensEmptyAfterAWrongCode) {
    QString reopened = QStringLiteral("unset");
    QString typed;
    prompt([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Secret Code"));
        EXPECT_EQ(d.findChild<QLabel*>("lblHelpMsg")->text(),
                  QStringLiteral("Enter the Secret Code to continue.  For security, asterisks (*) will show as you type."));
        QLineEdit* edit = box(d).textBox();
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
        EXPECT_EQ(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit), '*');
        QTest::keyClicks(edit, QStringLiteral("abcdefghijk"));
        typed = edit->text();
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(okButton(d), Qt::Key_Return);
    });
    prompt(typeAndConfirm(QStringLiteral("m"), &reopened));
    dialogs.answer(kcs::app::MsgAnswer::Ok);
    EXPECT_TRUE(AskSecretCode(dialogs));
    EXPECT_EQ(typed, QStringLiteral("abcdefgh"));
    EXPECT_EQ(reopened, QString());

    prompt([](QDialog& d) { QTest::keyClick(box(d).textBox(), Qt::Key_Escape); });
    EXPECT_FALSE(AskSecretCode(dialogs));
}

TEST_F(InputBox, AnEmptyEntryIsRefusedWithTheFocusBackInTheTextBox) {
    for (bool password : {true, false}) {
        ScriptedDialogs boxes;
        boxes.answer(kcs::app::MsgAnswer::Ok);
        frmMyInputBox input(boxes);
        input.form.PasswordInput = password;
        boxes.onModal("frmMyInputBox", [](QDialog& d) {
            QTest::keyClick(box(d).textBox(), Qt::Key_Return);
            QTest::keyClick(okButton(d), Qt::Key_Return);
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(QApplication::focusWidget(), box(d).textBox());
            typeAndConfirm(QStringLiteral("42"))(d);
        });
        EXPECT_EQ(boxes.execModal(input), QDialog::Accepted);
        ASSERT_EQ(boxes.messages.size(), 1u);
        EXPECT_EQ(boxes.messages[0].text,
                  password ? "Please enter the required password." : "Please enter the required data.");
        EXPECT_EQ(boxes.messages[0].title, "Input required");
        EXPECT_EQ(boxes.messages[0].icon, kcs::app::MsgIcon::Question);
        EXPECT_FALSE(input.Cancelled());
        EXPECT_EQ(input.InputValue(), QStringLiteral("42"));
    }
}
