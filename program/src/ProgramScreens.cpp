#include "kcs/program/ProgramScreens.h"

#include <QApplication>

#include "kcs/ui/InputBox.h"

namespace kcs::program {

QWidget* ProgramScreens::owner() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

bool ProgramScreens::askSecretCode() {
    return ui::AskSecretCode(services_.dialogs, owner());
}

}  // namespace kcs::program
