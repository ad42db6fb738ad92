// The parts every screen is built from: the keys of the menu-button row, the error
// guard, and the input box with the secret code.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <stdexcept>

#include "kcs/common/RunError.h"
#include "kcs/test/FakeServices.h"
#include "kcs/ui/ErrorGuard.h"
#include "kcs/ui/InputBox.h"
#include "kcs/ui/MenuButtonRow.h"
#include "kcs/ui/ScreenConventions.h"

using namespace kcs::ui;
using namespace kcs::test;

namespace {

// A dialog with a row of four menu buttons.
struct RowScreen {
    FakeServices fake;
    QDialog window;
    MsgPanel* panel = new MsgPanel(&window);
    QWidget* frame = new QWidget(&window);
    MenuButtonRow* row = new MenuButtonRow(window, panel, fake.dialogs);
    std::vector<int> chosen;

    RowScreen() {
        for (int i = 0; i < 4; ++i) row->addButton(frame, QStringLiteral("Choice %1").arg(i), QStringLiteral("Help %1").arg(i));
        row->layoutColumn(frame, 200, 40, 8);
        row->onChosen([this](int i) { chosen.push_back(i); });
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

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

// The focused button's panel alone is lit; a second row in the same window (an input box
// has its own button 0) lights and clears only its own.
TEST(MenuButtonRow, OnlyTheFocusedButtonsPanelIsLitAndASecondRowIsItsOwn) {
    RowScreen s;
    auto lit = [&](int i) { return panelColor(*s.row->panel(i)) == kCyan; };
    s.row->button(1)->setFocus();
    EXPECT_TRUE(!lit(0) && lit(1) && !lit(2) && !lit(3));
    QWidget otherFrame(&s.window);
    MenuButtonRow other(s.window, nullptr, s.fake.dialogs);
    other.addButton(&otherFrame, QStringLiteral("Other"), QString());
    other.HighlightMenuChoice(0);
    other.ResetMenuHighlight();
    EXPECT_TRUE(!lit(0) && lit(1));
}

TEST(MenuButtonRow, EnterAndSpaceClickArrowsSkipDisabledButtonsOtherKeysAreDiscarded) {
    RowScreen s;
    QPushButton* b = s.row->button(2);
    b->setFocus();
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Escape, Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_F1, Qt::Key_1})
        QTest::keyClick(b, key);
    EXPECT_TRUE(s.chosen.empty());
    EXPECT_TRUE(s.window.isVisible());  // Escape did not reach the dialog
    QTest::keyClick(b, Qt::Key_Return);
    QTest::keyClick(b, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(b, Qt::Key_Space);
    EXPECT_EQ(s.chosen, (std::vector<int>{2, 2, 2}));

    s.row->button(1)->setEnabled(false);
    QTest::keyClick(b, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), s.row->button(0));
    QTest::keyClick(s.row->button(0), Qt::Key_Up);  // nothing above the first
    EXPECT_EQ(QApplication::focusWidget(), s.row->button(0));
    QTest::keyClick(s.row->button(0), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), b);
}

TEST(ErrorGuard, AnErrorEscapingAButtonIsShownAndTheScreenCarriesOn) {
    RowScreen s;
    int runs = 0;
    s.row->onChosen([&](int i) {
        ++runs;
        if (i == 0) throw kcs::RunError(61, "Disk full");
        if (i == 1) throw std::out_of_range("slot 52");
    });
    s.row->button(0)->click();
    s.row->button(1)->click();
    s.row->button(2)->click();
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(s.fake.dialogs.texts(), (std::vector<std::string>{"Error 61:Disk full", "Error 51:slot 52"}));
    EXPECT_EQ(s.fake.dialogs.messages[0].title, "");
    EXPECT_TRUE(s.window.isVisible());
}

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
        typeAndConfirm(QStringLiteral("abcdefghijk"))(d);
        typed = edit->text();
    });
    dialogs.onModal("frmMyInputBox", typeAndConfirm(QStringLiteral("m"), &reopened));
    EXPECT_TRUE(AskSecretCode(dialogs));
    EXPECT_EQ(typed, QStringLiteral("abcdefgh"));
    EXPECT_EQ(reopened, QString());
}

TEST(InputBox, AnEmptyEntryIsRefusedWithTheFocusBackInTheTextBox) {
    for (bool password : {true, false}) {
        ScriptedDialogs boxes;
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
