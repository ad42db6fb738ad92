#include "kcs/program/ProgramScreens.h"

namespace kcs::program {

// Still to be built: these leave their sequence where it is (not completed).
bool ProgramScreens::clientInformation(menus::ClientSequence&) { return false; }
bool ProgramScreens::courtHistory(menus::ClientSequence&) { return false; }
bool ProgramScreens::answerSheet(menus::ClientSequence&) { return false; }
void ProgramScreens::entryMethod(menus::ClientFlows&) {}

}  // namespace kcs::program
