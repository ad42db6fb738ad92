#include "kcs/app/ProgramFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "kcs/common/DurableFile.h"
#include "kcs/common/RunError.h"
#include "kcs/common/SysCalls.h"
#include "kcs/questionbank/QuestionBank.h"

namespace kcs::app {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSettingsFile = "kcstest.ini";
constexpr const char* kPracticeDisk = "practice-disk";

bool present(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

void makePrivateFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder.parent_path(), ec);
    if (sys::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) throw fileError(errno, folder, "Cannot create");
}

// A copy that keeps nothing half-made: written under a staging name, then renamed.
void copyFolderOnce(const fs::path& from, const fs::path& to) {
    if (present(to) || !present(from)) return;
    const fs::path staging = to.string() + ".new";
    std::error_code ec;
    fs::remove_all(staging, ec);
    fs::copy(from, staging, fs::copy_options::recursive, ec);
    if (ec) throw RunError(err::PathFileAccess, "Cannot copy " + from.string() + ": " + ec.message());
    fs::permissions(staging, fs::perms::owner_all, fs::perm_options::replace, ec);
    for (const auto& e : fs::recursive_directory_iterator(staging, ec))
        fs::permissions(e.path(), e.is_directory() ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::replace, ec);
    fs::rename(staging, to, ec);
    if (ec) throw RunError(err::PathFileAccess, "Cannot copy " + from.string() + ": " + ec.message());
}

void copyFileOnce(const fs::path& from, const fs::path& to) {
    if (present(to) || !present(from)) return;
    const auto content = readFileIfExists(from);
    if (content) replaceFileDurably(to, *content, 0600);
}

// The user folder's entry for a shared file: a link to the agency's copy or the installed
// one. An entry that is not a link is the user's own file and stays.
void linkShared(const fs::path& userFolder, const char* name, const InstalledPlaces& places, const fs::path& shared) {
    const fs::path entry = userFolder / name;
    std::error_code ec;
    const auto status = fs::symlink_status(entry, ec);
    if (fs::exists(status) && !fs::is_symlink(status)) return;
    fs::path target;
    if (present(places.agency / name)) target = places.agency / name;
    else if (present(shared / name)) target = shared / name;
    if (fs::is_symlink(status)) {
        if (fs::read_symlink(entry, ec) == target) return;
        fs::remove(entry, ec);
    }
    if (target.empty()) return;
    fs::create_symlink(target, entry, ec);
    if (ec) throw RunError(err::PathFileAccess, "Cannot link " + entry.string() + ": " + ec.message());
}

}  // namespace

InstalledPlaces installedPlacesFromEnvironment() {
    InstalledPlaces p;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        p.userData = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            if (const passwd* pw = ::getpwuid(::getuid())) home = pw->pw_dir;
        }
        p.userData = fs::path(home ? home : "/tmp") / ".local" / "share";
    }
    return p;
}

ProgramFolder locateProgramFolder(const fs::path& executableFolder, const InstalledPlaces& places) {
    if (present(executableFolder / questionbank::kBankFileName)) return {executableFolder, {}};
    const fs::path shared = (executableFolder / ".." / "share" / "kcs").lexically_normal();
    if (!present(shared / questionbank::kBankFileName)) return {executableFolder, {}};

    const fs::path folder = places.userData / "kcs";
    makePrivateFolder(folder);
    copyFileOnce(shared / kSettingsFile, folder / kSettingsFile);
    copyFolderOnce(shared / kPracticeDisk, folder / kPracticeDisk);
    for (const char* name : kSharedDataFiles) linkShared(folder, name, places, shared);
    return {folder, shared};
}

}  // namespace kcs::app
