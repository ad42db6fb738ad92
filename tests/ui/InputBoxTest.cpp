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
using namespace kcs::test;

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

}  // namespace

TEST(SecretCode, AsksUntilTheLetterComesInEitherCaseOrTheSupervisorCancels) {
    const struct {
        std::vector<std::optional<std::string>> typed;  // nullopt: Cancel Input
        bool result;
        std::size_t wrongBoxes;
    } cases[] = {
        {{"m"}, true, 0}, {{"M"}, true, 0}, {{"mx", "B", "M"}, true, 2}, {{"x", std::nullopt}, false, 1},
        {{std::nullopt}, false, 0},
    };
    for (const auto& c : cases) {
        std::size_t next = 0;
        ScriptedDialogs boxes;
        EXPECT_EQ(AskSecretCode([&] { return c.typed.at(next++); }, boxes), c.result);
        EXPECT_EQ(next, c.typed.size());
        EXPECT_EQ(boxes.messages, std::vector<ShownMessage>(c.wrongBoxes, {"Incorrect Secret Code.  Please try again.",
                                                                          "Secret Code", MsgIcon::Critical, MsgButtons::Ok}));
    }
}

TEST(SecretCode, ThePromptShowsAsterisksTakesEightCharactersAndOpensEmptyAfterAWrongCode) {
    ScriptedDialogs dialogs;
    QString reopened = QStringLiteral("unset");
    QString typed;
    dialogs.onModal("frmMyInputBox", [&](QDialog& d) {
        EXPECT_EQ(d.findChild<QLabel*>("lblHelpMsg")->text(),
                  QStringLiteral("Enter the Secret Code to continue.  For security, asterisks (*) will show as you type."));
        QLineEdit* edit = box(d).textBox();
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
        EXPECT_EQ(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit), '*');
        typeAndConfirm(QStringLiteral("abcdefghijk"))(d);
        typed = edit->text();
    });
    dialogs.onModal("frmMyInputBox", typeAndConfirm(QStringLiteral("m"), &reopened));
    dialogs.answer(MsgAnswer::Ok);
    EXPECT_TRUE(AskSecretCode(dialogs));
    EXPECT_EQ(typed, QStringLiteral("abcdefgh"));
    EXPECT_EQ(reopened, QString());
}

TEST(InputBox, AnEmptyEntryIsRefusedWithTheFocusBackInTheTextBox) {
    for (bool password : {true, false}) {
        ScriptedDialogs boxes;
        boxes.answer(MsgAnswer::Ok);
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
        const std::string text = password ? "Please enter the required password." : "Please enter the required data.";
        EXPECT_EQ(boxes.messages, (std::vector<ShownMessage>{{text, "Input required", MsgIcon::Question, MsgButtons::Ok}}));
        EXPECT_FALSE(input.Cancelled());
        EXPECT_EQ(input.InputValue(), QStringLiteral("42"));
    }
}
