#include "Destinations.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "kcs/app/DataDrive.h"
#include "kcs/app/Settings.h"
#include "kcs/app/EngineSetup.h"
#include "kcs/questionbank/QuestionBank.h"
#include "kcs/report/ScoreAndReport.h"
#include "kcs/scoring/Scorer.h"

namespace kcs::reporttool {

namespace fs = std::filesystem;

namespace {

// The identity of what a name leads to once links are followed; errno when there is none.
std::optional<std::pair<dev_t, ino_t>> identityOf(const fs::path& p, struct stat& st) {
    if (::stat(p.c_str(), &st) != 0) return std::nullopt;
    return std::make_pair(st.st_dev, st.st_ino);
}

// The names the program reads or writes in its folder, present or not.
bool isProgramFileName(const std::string& name) {
    static const std::vector<std::string> kNames = [] {
        std::vector<std::string> v{app::kSettingsFileName,   questionbank::kBankFileName, app::kWorkgroupFileName,
                                   scoring::kScoringDataFile, scoring::kReportTextFile,    scoring::kInvalidTextFile,
                                   report::kReportFileName};
        for (std::size_t s = 1; s < scoring::kNarrativeFileNames.size(); ++s) v.emplace_back(scoring::kNarrativeFileNames[s]);
        return v;
    }();
    return std::find(kNames.begin(), kNames.end(), name) != kNames.end();
}

[[noreturn]] void refuse(const fs::path& output, const std::string& why) {
    throw Refused{"will not write " + output.string() + ": " + why};
}

}  // namespace

Destinations::Destinations(const fs::path& programFolder, const fs::path& clientFile) {
    struct stat st {};
    if (const auto id = identityOf(clientFile, st)) kept_.emplace_back(*id, "it is the client file");
    if (const auto id = identityOf(clientFile.parent_path().empty() ? fs::path(app::kIdentityFileName)
                                                                    : clientFile.parent_path() / app::kIdentityFileName,
                                   st))
        kept_.emplace_back(*id, "it is the data drive's identity file");
    programFolder_ = identityOf(programFolder, st);
    if (!programFolder_ || !S_ISDIR(st.st_mode)) {
        programFolder_.reset();
        return;  // no program folder: the run stops at its data files, before writing
    }
    std::error_code ec;
    for (fs::directory_iterator it(programFolder, ec), end; !ec && it != end; it.increment(ec)) {
        struct stat entry {};
        if (const auto id = identityOf(it->path(), entry); id && S_ISREG(entry.st_mode))
            kept_.emplace_back(*id, "it is " + it->path().filename().string() + " of the program folder");
    }
}

void Destinations::claim(const fs::path& output, bool folderMayBeMissing) {
    Claimed c{output, std::nullopt, std::nullopt, output.filename().string()};
    struct stat st {};
    if (const auto id = identityOf(output, st)) {
        if (S_ISDIR(st.st_mode)) refuse(output, "it is a folder");
        if (!S_ISREG(st.st_mode)) refuse(output, "it is not a regular file");
        if ((st.st_mode & 0222) == 0) refuse(output, "it is write-protected");
        for (const auto& [keptId, what] : kept_)
            if (keptId == *id) refuse(output, what);
        c.file = id;
    } else if (errno != ENOENT) {
        refuse(output, std::strerror(errno));
    } else {
        // A new file (or a link to nothing, which the file replaces) in this folder.
        const fs::path folder = output.parent_path().empty() ? fs::path(".") : output.parent_path();
        if (const auto id = identityOf(folder, st)) {
            if (!S_ISDIR(st.st_mode)) refuse(output, folder.string() + " is not a folder");
            if (programFolder_ && *id == *programFolder_ && isProgramFileName(c.name))
                refuse(output, "the program reads or writes a file of that name in its folder");
            c.folder = id;
        } else if (!(errno == ENOENT && folderMayBeMissing)) {
            refuse(output, folder.string() + ": " + std::strerror(errno));
        }
    }
    for (const auto& other : claimed_) {
        const bool sameFile = c.file && other.file && *c.file == *other.file;
        const bool sameNew = c.folder && other.folder && *c.folder == *other.folder && c.name == other.name;
        if (sameFile || sameNew) refuse(output, "it is also the output " + other.given.string());
    }
    claimed_.push_back(std::move(c));
}

void Destinations::claimFolder(const fs::path& folder) {
    struct stat st {};
    if (identityOf(folder, st) && !S_ISDIR(st.st_mode))
        throw Refused{"will not write into " + folder.string() + ": it is not a folder"};
}

}  // namespace kcs::reporttool
