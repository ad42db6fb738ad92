#pragma once
// Every message box and every modal screen of the program is shown through one Dialogs
// object. The program uses QtDialogs; tests put a scripted one in its place, answer the
// questions and assert the exact texts.
//
// Message texts are handed over exactly as the program words them: a line break inside a
// message may be a carriage return alone ("\r") or CR LF. QtDialogs shows each of those
// as a new line (displayText); scripted answers see the text unchanged.

#include <QString>

#include "kcs/common/RunError.h"

class QDialog;
class QWidget;

namespace kcs::menus {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows a message box and returns the button chosen. Closing the box without a button
    // counts as its escapeAnswer.
    virtual MsgAnswer message(const QString& text, const QString& title, MsgIcon icon,
                              MsgButtons buttons) = 0;
    // Shows a screen modally and returns when it has been closed or hidden; the result is
    // the dialog's QDialog::DialogCode.
    virtual int execModal(QDialog& dialog) = 0;
};

// The answer of a box closed without a button: Cancel (OkCancel), No (YesNo) or Ok (Ok only).
MsgAnswer escapeAnswer(MsgButtons buttons);

// The text as shown on screen: CR LF and a lone CR both become a line feed.
QString displayText(const QString& text);

// The real message boxes and modal loops.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon,
                      MsgButtons buttons) override;
    int execModal(QDialog& dialog) override;

private:
    QWidget* parent_;
};

// "Error " + number + ":" + description, shown with an OK button and no title.
QString runErrorText(int number, const QString& description);
void showRunError(Dialogs& dialogs, int number, const QString& description);
void showRunError(Dialogs& dialogs, const RunError& error);

}  // namespace kcs::menus
