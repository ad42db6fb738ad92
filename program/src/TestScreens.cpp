#include "kcs/program/ProgramScreens.h"

namespace kcs::program {

// Still to be built: these leave their sequence where it is (not completed).
std::vector<std::string> ProgramScreens::languages() { return {}; }
bool ProgramScreens::selectLanguage(menus::ClientSequence&, const std::vector<std::string>&) { return false; }
bool ProgramScreens::presentTest(menus::ClientSequence&) { return false; }

}  // namespace kcs::program
