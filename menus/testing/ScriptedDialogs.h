#pragma once
// A Dialogs for tests: message boxes are recorded and answered from a queue; modal
// screens are shown (not run in a nested loop) and handed to a script registered for the
// screen's object name, which drives the real widgets with key events and closes them.

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "kcs/menus/Dialogs.h"

namespace kcs::menus::testing {

struct ShownMessage {
    QString text;
    QString title;
    MsgIcon icon;
    MsgButtons buttons;
};

class ScriptedDialogs : public Dialogs {
public:
    using Script = std::function<void(QDialog&)>;

    // Answers for the next message boxes, in order. When none is left a box is answered
    // with its escape answer (Ok, Cancel or No) and counted in unexpectedMessages.
    void answer(MsgAnswer a) { answers_.push_back(a); }
    // The next modal showing of the screen named `objectName` runs `script`. A screen
    // shown without a script, or left open by its script, is rejected.
    void onModal(const QString& objectName, Script script) { scripts_[objectName].push_back(std::move(script)); }

    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) override;
    int execModal(QDialog& dialog) override;

    std::vector<ShownMessage> messages;
    std::vector<QString> modalsShown;
    int unexpectedMessages = 0;
    int unscriptedModals = 0;
    std::size_t answersLeft() const { return answers_.size(); }

    QStringList texts() const;

private:
    std::deque<MsgAnswer> answers_;
    std::map<QString, std::deque<Script>> scripts_;
};

}  // namespace kcs::menus::testing
