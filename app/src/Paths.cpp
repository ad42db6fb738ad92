#include "kcs/app/Paths.h"

#include "kcs/questionbank/QuestionBank.h"

namespace kcs::app {

Paths Paths::of(const std::filesystem::path& programFolder) {
    Paths p;
    p.ProgramFolder = programFolder;
    p.QuestionBankPath = programFolder / questionbank::kBankFileName;
    return p;
}

std::filesystem::path Paths::resolve(const std::string& designation) const {
    const std::filesystem::path p(designation);
    if (p.is_absolute()) return p;
    return ProgramFolder / p;
}

std::filesystem::path Paths::soundFolder(const std::string& language) const {
    return resolve(SoundPath) / "KCSTest" / "sound" / language;
}

}  // namespace kcs::app
