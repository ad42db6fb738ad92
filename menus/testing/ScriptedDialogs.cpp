#include "ScriptedDialogs.h"

#include <QApplication>

namespace kcs::menus::testing {

MsgAnswer ScriptedDialogs::message(const QString& text, const QString& title, MsgIcon icon,
                                   MsgButtons buttons) {
    messages.push_back({text, title, icon, buttons});
    if (!answers_.empty()) {
        const MsgAnswer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    ++unexpectedMessages;
    return escapeAnswer(buttons);
}

int ScriptedDialogs::execModal(QDialog& dialog) {
    modalsShown.push_back(dialog.objectName());
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    dialog.activateWindow();
    QApplication::processEvents();
    auto it = scripts_.find(dialog.objectName());
    if (it != scripts_.end() && !it->second.empty()) {
        Script script = std::move(it->second.front());
        it->second.pop_front();
        script(dialog);
    } else {
        ++unscriptedModals;
    }
    if (dialog.isVisible()) dialog.reject();
    return dialog.result();
}

QStringList ScriptedDialogs::texts() const {
    QStringList out;
    for (const auto& m : messages) out << m.text;
    return out;
}

}  // namespace kcs::menus::testing
