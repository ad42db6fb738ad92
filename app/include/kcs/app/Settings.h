#pragma once
// The settings file kcstest.ini: a plain INI file, also edited by hand. Every read goes
// to the file (nothing is cached), every write changes only the line of its key.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kcs::app {

inline constexpr const char* kSettingsFileName = "kcstest.ini";

// Reads and writes single keys of an INI file the way hand-edited private-profile files
// are written: CRLF or LF line ends, section and key names in any letter case, blanks
// around "=", ";" comment lines, values in double quotes.
class IniFile {
public:
    explicit IniFile(std::filesystem::path path) : path_(std::move(path)) {}
    const std::filesystem::path& path() const { return path_; }

    // The value of a key, or nullopt when the file, the section or the key is missing.
    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    // Writes one key: replaces its line when present (every other line stays as it was),
    // adds it to its section otherwise, adds the section at the end when missing, and
    // creates the file when there is none. The change is on the disk when this returns.
    // Throws kcs::RunError on a file error.
    void set(std::string_view section, std::string_view key, std::string_view value);

private:
    std::filesystem::path path_;
};

// The rules above applied to a file's text held in memory (the file operations use these).
// iniLookup: the value of the first line of `key` in a section named `section`, or nullopt.
std::optional<std::string> iniLookup(std::string_view text, std::string_view section, std::string_view key);
// iniWithKey: the text with that line set to `value` (or the key or section added), every
// other line kept byte for byte, new lines ending the way the text's lines end. A value
// with blanks at an end, or wrapped in quotes, is written in double quotes so it reads
// back unchanged. A line break or NUL in the value, or an unusable section or key name,
// throws kcs::RunError 5 (nothing written).
std::string iniWithKey(std::string_view text, std::string_view section, std::string_view key, std::string_view value);

// The named settings with their defaults and value rules.
class Settings {
public:
    explicit Settings(std::filesystem::path iniPath) : ini_(std::move(iniPath)) {}
    const std::filesystem::path& IniPath() const { return ini_.path(); }

    std::string GetINIFilePath() const;              // Path/FilePath, default "a:", at most 49 characters
    void SaveINIFilePath(const std::string& drive);
    std::string GetINISndPath() const;               // Path/SndPath, default "c:", at most 49 characters
    bool GetININumLock() const;                      // Settings/NumLock, on when it begins "Tru"; default on
    void SaveININumLock(bool on);
    bool GetINIPrintDOS() const;                     // Settings/PrintDOS, same rules
    void SaveINIPrintDOS(bool on);
    void SaveSystemDB(const std::string& workgroupFile);  // Options/SystemDB

private:
    IniFile ini_;
};

}  // namespace kcs::app
