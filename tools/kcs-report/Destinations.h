#pragma once
// Where kcs-report may write. Every output is looked at before anything is read, and
// refused when writing it could destroy something: the client file or the data drive's
// identity file, a file of the program folder (or a name the program uses there), the
// same file as another output of the run, a folder, a device or pipe, or a file marked
// read-only.

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kcs::reporttool {

// An output refused, with the reason.
struct Refused {
    std::string message;
};

class Destinations {
public:
    Destinations(const std::filesystem::path& programFolder, const std::filesystem::path& clientFile);

    // Takes `output` for this run or throws Refused. `folderMayBeMissing`: the output's
    // folder is created later (the folder of --all), so it holds nothing yet.
    void claim(const std::filesystem::path& output, bool folderMayBeMissing = false);

    // The folder of --all: refused when the name is taken by anything but a folder.
    void claimFolder(const std::filesystem::path& folder);

private:
    using Id = std::pair<dev_t, ino_t>;
    struct Claimed {
        std::filesystem::path given;
        std::optional<Id> file;    // an existing file written through this name
        std::optional<Id> folder;  // a new file: its folder and name
        std::string name;
    };

    std::optional<Id> programFolder_;
    std::vector<std::pair<Id, std::string>> kept_;  // files never written, and what they are
    std::vector<Claimed> claimed_;
};

}  // namespace kcs::reporttool
