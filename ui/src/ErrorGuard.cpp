#include "kcs/ui/ErrorGuard.h"

#include <exception>

namespace kcs::ui {

namespace {
app::MessageBoxes* gErrorBoxes = nullptr;
}

bool guarded(app::MessageBoxes& boxes, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        app::showError(boxes, e);
    } catch (...) {
        app::showRunError(boxes, 51, "Internal error");
    }
    return false;
}

void GuardedApplication::setErrorBoxes(app::MessageBoxes* boxes) {
    gErrorBoxes = boxes;
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    if (!gErrorBoxes) return QApplication::notify(receiver, event);
    bool handled = false;
    guarded(*gErrorBoxes, [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

}  // namespace kcs::ui
