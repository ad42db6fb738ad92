#include "kcs/program/ProgramScreens.h"

namespace kcs::program {

// Still to be built.
void ProgramScreens::supervisorOptions() {}

}  // namespace kcs::program
