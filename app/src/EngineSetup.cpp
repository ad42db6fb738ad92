#include "kcs/app/EngineSetup.h"

#include "kcs/common/RunError.h"

namespace kcs::app {

namespace fs = std::filesystem;

fs::path executableFolder() {
    std::error_code ec;
    const auto exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) throw RunError(err::PathNotFound, "Cannot find the program's folder: " + ec.message());
    return exe.parent_path();
}

Prepared prepareStartup(const fs::path& programFolder) {
    questionbank::Engine engine;
    engine.DefaultUser = kDefaultUser;
    engine.DefaultPassword = kDefaultPassword;
    engine.IniPath = programFolder / kSettingsFileName;

    // Every settings operation takes the file name from the engine.
    Settings settings(engine.IniPath);
    settings.SaveSystemDB((programFolder / kWorkgroupFileName).string());

    auto workspace = engine.CreateWorkspace("", "admin", "");
    Paths paths = Paths::of(programFolder);
    paths.SoundPath = settings.GetINISndPath();
    return Prepared{std::move(engine), std::move(workspace), std::move(paths), std::move(settings)};
}

}  // namespace kcs::app
