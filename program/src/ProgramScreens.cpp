#include "kcs/program/ProgramScreens.h"

#include <QApplication>

#include "kcs/ui/InputBox.h"

namespace kcs::program {

// Screens still to be built leave their sequence where it is (not completed).
bool ProgramScreens::clientInformation(menus::ClientSequence&) { return false; }
bool ProgramScreens::courtHistory(menus::ClientSequence&) { return false; }
bool ProgramScreens::answerSheet(menus::ClientSequence&) { return false; }
void ProgramScreens::entryMethod() {}
std::vector<std::string> ProgramScreens::languages() { return {}; }
bool ProgramScreens::selectLanguage(menus::ClientSequence&, const std::vector<std::string>&) { return false; }
bool ProgramScreens::presentTest(menus::ClientSequence&) { return false; }
void ProgramScreens::supervisorOptions() {}

bool ProgramScreens::askSecretCode() {
    return ui::AskSecretCode(services_.dialogs, QApplication::activeWindow());
}

}  // namespace kcs::program
