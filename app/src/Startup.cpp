#include "kcs/app/Startup.h"

#include "kcs/app/Settings.h"
#include "kcs/common/RunError.h"

namespace kcs::app {

namespace fs = std::filesystem;

fs::path executableFolder() {
    std::error_code ec;
    const auto exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) throw RunError(err::PathNotFound, "Cannot find the program's folder: " + ec.message());
    return exe.parent_path();
}

void setProgramPaths(ProgramState& state, const fs::path& programFolder) {
    state.ProgramFolder = programFolder;
    state.IniPath = programFolder / kSettingsFileName;
    state.QuestionBankPath = programFolder / questionbank::kBankFileName;
}

BankSession prepareStartup(ProgramState& state, const fs::path& programFolder) {
    setProgramPaths(state, programFolder);
    BankSession session;
    session.engine.DefaultUser = kDefaultUser;
    session.engine.DefaultPassword = kDefaultPassword;
    session.engine.IniPath = state.IniPath;

    // Every settings operation takes the file name back from the engine.
    Settings settings(session.engine.IniPath);
    settings.SaveSystemDB((programFolder / kWorkgroupFileName).string());

    session.TestWorkspace = session.engine.CreateWorkspace("", "admin", "");
    state.SoundPath = settings.GetINISndPath();
    return session;
}

}  // namespace kcs::app
