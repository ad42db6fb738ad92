#pragma once
// The general-purpose input box and the supervisor's secret-code prompt.

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "kcs/app/Services.h"

class QLabel;
class QLineEdit;

namespace kcs::ui {

class Dialogs;
class MenuButtonRow;

// The input box's rules.
struct InputBoxForm {
    bool PasswordInput = false;
    int InputLength = 0;  // 0: no limit
    std::string HelpMessage;

    // "Information OK" with `text` typed: nullopt accepts it; otherwise the message to
    // show, after which the focus goes back to the text box.
    std::optional<app::Message> confirm(const std::string& text) const;
};

// frmMyInputBox: the caller sets the caption and the form's properties, shows the box
// modally (Dialogs::execModal) and reads Cancelled and InputValue afterwards.
// Children: lblHelpMsg (help line), txtInput (the text box), cmdMenuChoice_0
// "Information OK", cmdMenuChoice_1 "Cancel Input". The text box takes the keyboard when
// the box opens.
class frmMyInputBox : public QDialog {
    Q_OBJECT
public:
    frmMyInputBox(Dialogs& dialogs, QWidget* parent = nullptr);

    InputBoxForm form;

    const QString& InputValue() const { return inputValue_; }
    bool Cancelled() const { return cancelled_; }

    QLineEdit* textBox() const { return txtInput_; }
    MenuButtonRow& buttons() const { return *row_; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void reject() override;  // Escape or the window's close box: the same as Cancel Input
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activate();
    void informationOk();
    void cancelInput();

    Dialogs& dialogs_;
    QLabel* lblHelpMsg_;
    QLineEdit* txtInput_;
    MenuButtonRow* row_;
    QString inputValue_;
    bool cancelled_ = false;
};

// The secret code letter; typed in either case.
inline constexpr char kSecretCode = 'M';

// Asks for the secret code until it is right (true) or the user cancels (false).
// `prompt` shows an empty prompt and returns what was typed (nullopt: cancelled); each
// wrong try shows "Incorrect Secret Code.  Please try again." and prompts anew.
bool AskSecretCode(const std::function<std::optional<std::string>()>& prompt, app::MessageBoxes& boxes);

// The same with the real prompt, a fresh input box for every try.
bool AskSecretCode(Dialogs& dialogs, QWidget* parent = nullptr);

}  // namespace kcs::ui
