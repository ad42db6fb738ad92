#pragma once
// What the file-reader fuzz targets share: a program folder in memory holding the
// shipped data files, the fuzzed input written into it under one file's name, and the
// checks every reader owes its user (abort, so libFuzzer keeps the input).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "kcs/test/Support.h"

namespace kcs::fuzz {

inline void check(bool ok, std::string_view what = "a check failed") {
    if (ok) return;
    std::fprintf(stderr, "fuzz: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

// An error the supervisor sees must say which file (and line) to mend.
inline void mustName(const std::exception& e, std::string_view name) {
    if (std::string_view(e.what()).find(name) != std::string_view::npos) return;
    std::fprintf(stderr, "fuzz: the error does not name %.*s: %s\n", static_cast<int>(name.size()), name.data(),
                 e.what());
    std::abort();
}

// A line the 80-column report can print as it stands.
inline bool fitsReport(std::string_view line, std::size_t width) {
    if (line.size() > width) return false;
    for (char c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    return true;
}

inline std::string text(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The program folder of this process, with every shipped text data file in it.
inline const std::filesystem::path& programFolder() {
    static const kcs::test::TempDir folder(kcs::test::memoryTempBase());
    static const bool filled = [] {
        for (const auto& entry : std::filesystem::directory_iterator(KCS_FUZZ_DATA_DIR))
            if (entry.path().extension() == ".TXT") std::filesystem::copy_file(entry.path(), folder / entry.path().filename().string());
        return true;
    }();
    (void)filled;
    return folder.path();
}

// The input as the file `name` of the program folder; returns its path.
inline std::filesystem::path place(const std::string& name, const std::string& content) {
    const auto path = programFolder() / name;
    kcs::test::writeFile(path, content);
    return path;
}

}  // namespace kcs::fuzz
