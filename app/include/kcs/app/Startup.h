#pragma once
// Start-up before the data drive is chosen: the program folder and its files, the
// question bank engine and its workspace, the sound folder. Plain logic, no screens.

#include <filesystem>

#include "kcs/app/ProgramState.h"
#include "kcs/questionbank/QuestionBank.h"

namespace kcs::app {

inline constexpr const char* kDefaultUser = "HWKTest";
inline constexpr const char* kDefaultPassword = "qmvtoza";
inline constexpr const char* kWorkgroupFileName = "hwkltd.mda";

// The folder that holds the running executable. Throws kcs::RunError when the system
// cannot tell.
std::filesystem::path executableFolder();

// The engine and the workspace kept for the whole run.
struct BankSession {
    questionbank::Engine engine;
    questionbank::Workspace TestWorkspace;
};

// Fills ProgramFolder, IniPath and QuestionBankPath from the program folder.
void setProgramPaths(ProgramState& state, const std::filesystem::path& programFolder);

// Start-up steps from the engine set-up to the sound folder: default user and password,
// the engine's settings file, Options/SystemDB written on every start (creating the
// settings file when there is none), the workspace, the question bank path and SoundPath
// from the settings. Throws kcs::RunError for the start-up handler to sort.
BankSession prepareStartup(ProgramState& state, const std::filesystem::path& programFolder);

}  // namespace kcs::app
