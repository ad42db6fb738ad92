#pragma once
// The program folder and the paths built from it at start-up.

#include <filesystem>
#include <string>

namespace kcs::app {

struct Paths {
    std::filesystem::path ProgramFolder;
    std::filesystem::path QuestionBankPath;   // ProgramFolder / KCS32.MDB
    std::string SoundPath;                    // as read from the settings

    // The paths of a program folder (SoundPath is left to the settings).
    static Paths of(const std::filesystem::path& programFolder);

    // A file of the program folder.
    std::filesystem::path file(const std::string& name) const { return ProgramFolder / name; }
    // A designation or sound folder as a real path: a relative value is taken relative to
    // the program folder, so a settings file can point inside the program's own folder.
    std::filesystem::path resolve(const std::string& designation) const;
    // SoundPath/KCSTest/sound/<language>
    std::filesystem::path soundFolder(const std::string& language) const;
};

}  // namespace kcs::app
