#pragma once
// The general-purpose input box and the supervisor's secret-code prompt.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;

namespace kcs::menus {

class Dialogs;
class MenuButtonRow;

// frmMyInputBox: the caller sets the caption and the properties below, shows the box
// modally (Dialogs::execModal) and reads Cancelled and InputValue afterwards.
// Children: lblHelpMsg (help line), txtInput (the text box), cmdMenuChoice_0
// "Information OK", cmdMenuChoice_1 "Cancel Input".
class frmMyInputBox : public QDialog {
    Q_OBJECT
public:
    frmMyInputBox(Dialogs& dialogs, QWidget* parent = nullptr);

    bool PasswordInput = false;
    int InputLength = 0;  // 0: no limit
    QString HelpMessage;

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

// Asks for the secret code until it is right (true) or the user cancels (false). Each
// wrong try shows "Incorrect Secret Code.  Please try again." and opens the prompt anew.
bool AskSecretCode(Dialogs& dialogs, QWidget* parent = nullptr);

}  // namespace kcs::menus
