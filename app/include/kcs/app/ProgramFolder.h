#pragma once
// Where the program keeps its files.
//
// A program whose own folder holds its question bank runs from that folder, as it always
// has: a build tree, or a folder copied to a machine. Everything is read from there and
// the settings file, the report and the printing files are written there.
//
// An installed program (its read-only files in ../share/kcs beside the executable's
// folder) cannot write beside itself. It gets a program folder of its own for each user,
// $XDG_DATA_HOME/kcs (~/.local/share/kcs), made on first start (mode 0700) with the default
// settings file and a copy of the practice data disk. The read-only files appear there as
// links: to the agency's own copy in /etc/kcs when there is one, else to the installed
// one. A file the user puts there under the same name takes the place of both, and is
// never touched. So every other part of the program keeps reading "the program folder".

#include <array>
#include <filesystem>
#include <string>

namespace kcs::app {

// The files the program reads from its folder and never writes; an agency may replace
// each with its own. "KCSTest" is the folder of spoken statements.
inline constexpr std::array<const char*, 13> kSharedDataFiles = {
    "KCS32.MDB", "KCSB.TXT",  "KCSRPTnew.TXT", "KCSVA.TXT",         "KCSAL.TXT",           "KCSDG.TXT", "KCSRE.TXT",
    "KCSVI.TXT", "KCSSC.TXT", "INVAL.TXT",     "logo-bluewing.svg", "logo-copperfield.svg", "KCSTest"};

struct ProgramFolder {
    std::filesystem::path folder;    // where the program reads and writes its files
    std::filesystem::path shared;    // the installed read-only files (empty when not installed)
    bool installed() const { return !shared.empty(); }
};

// The places an installed program looks in; tests give their own.
struct InstalledPlaces {
    std::filesystem::path agency = "/etc/kcs";  // an agency's own data files
    std::filesystem::path userData;             // $XDG_DATA_HOME or ~/.local/share
};
InstalledPlaces installedPlacesFromEnvironment();

// The program folder for an executable in `executableFolder`; for an installed program
// the per-user folder is made or brought up to date. Throws kcs::RunError when it cannot
// be made.
ProgramFolder locateProgramFolder(const std::filesystem::path& executableFolder,
                                  const InstalledPlaces& places = installedPlacesFromEnvironment());

}  // namespace kcs::app
