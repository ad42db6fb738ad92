#include "kcs/test/FakeServices.h"

#include <QApplication>

namespace kcs::test {

MsgAnswer ScriptedDialogs::message(const std::string& text, const std::string& title, MsgIcon icon,
                                   MsgButtons buttons) {
    messages.push_back({text, title, icon, buttons});
    if (answers_.empty()) return app::escapeAnswer(buttons);
    const MsgAnswer a = answers_.front();
    answers_.pop_front();
    return a;
}

int ScriptedDialogs::execModal(QDialog& dialog) {
    const std::string name = dialog.objectName().toStdString();
    modalsShown.push_back(name);
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    dialog.activateWindow();
    QApplication::processEvents();
    if (auto it = scripts_.find(name); it != scripts_.end() && !it->second.empty()) {
        Script script = std::move(it->second.front());
        it->second.pop_front();
        script(dialog);
    }
    if (dialog.isVisible()) dialog.reject();
    return dialog.result();
}

std::vector<std::string> ScriptedDialogs::texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
}

}  // namespace kcs::test
