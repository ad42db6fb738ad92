#include "kcs/app/ProgramState.h"

namespace kcs::app {

std::filesystem::path ProgramState::resolve(const std::string& designation) const {
    const std::filesystem::path p(designation);
    if (p.is_absolute()) return p;
    return ProgramFolder / p;
}

std::filesystem::path ProgramState::soundFolder(const std::string& language) const {
    return resolve(SoundPath) / "KCSTest" / "sound" / language;
}

}  // namespace kcs::app
