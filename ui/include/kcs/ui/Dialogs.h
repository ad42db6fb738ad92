#pragma once
// Every message box and every modal screen of the program is shown through one Dialogs
// object. The program uses QtDialogs; tests put a scripted one in its place, answer the
// questions and assert the exact texts.

#include <QString>
#include <string>

#include "kcs/app/Services.h"

class QDialog;
class QWidget;

namespace kcs::ui {

using app::MsgAnswer;
using app::MsgButtons;
using app::MsgIcon;

class Dialogs : public app::MessageBoxes {
public:
    using app::MessageBoxes::message;
    // Shows a screen modally and returns when it has been closed or hidden; the result is
    // the dialog's QDialog::DialogCode.
    virtual int execModal(QDialog& dialog) = 0;

    // The same message with Qt texts.
    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) {
        return message(text.toStdString(), title.toStdString(), icon, buttons);
    }
};

// The text as shown on screen: CR LF and a lone CR both become a line feed.
QString displayText(const QString& text);

// The real message boxes and modal loops. Each box is owned by the window that is active
// when it opens, so the keyboard goes back there when it closes.
class QtDialogs : public Dialogs {
public:
    using Dialogs::message;
    MsgAnswer message(const std::string& text, const std::string& title, MsgIcon icon,
                      MsgButtons buttons) override;
    int execModal(QDialog& dialog) override;
};

}  // namespace kcs::ui
