#include "kcs/program/ProgramScreens.h"

#include <QApplication>
#include <QMainWindow>

#include "kcs/ui/InputBox.h"

namespace kcs::program {

QWidget* ProgramScreens::owner() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    // Between two screens of a sequence nothing may be active for a moment: the main
    // window is below them all.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w) && w->isVisible()) return w;
    return nullptr;
}

bool ProgramScreens::askSecretCode() {
    return ui::AskSecretCode(services_.dialogs, owner());
}

}  // namespace kcs::program
