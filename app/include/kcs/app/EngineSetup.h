#pragma once
// Start-up before the data drive is chosen: the program folder and its files, the
// question bank engine and its workspace, the sound folder. Plain logic, no screens.

#include <filesystem>

#include "kcs/app/Paths.h"
#include "kcs/app/Settings.h"
#include "kcs/questionbank/QuestionBank.h"

namespace kcs::app {

inline constexpr const char* kDefaultUser = "HWKTest";
inline constexpr const char* kDefaultPassword = "qmvtoza";
inline constexpr const char* kWorkgroupFileName = "hwkltd.mda";

// The folder that holds the running executable. Throws kcs::RunError when the system
// cannot tell.
std::filesystem::path executableFolder();

// The engine and the workspace kept for the whole run, the program's paths, and the
// settings file, whose name is the one the engine holds.
struct Prepared {
    questionbank::Engine engine;
    questionbank::Workspace TestWorkspace;
    Paths paths;
    Settings settings;
};

// Start-up steps from the engine set-up to the sound folder: default user and password,
// the engine's settings file, Options/SystemDB written on every start (creating the
// settings file when there is none), the workspace, the question bank path and SoundPath
// from the settings. Throws kcs::RunError for the start-up handler to sort.
Prepared prepareStartup(const std::filesystem::path& programFolder);

}  // namespace kcs::app
