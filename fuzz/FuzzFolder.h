#pragma once
// What the file-reader fuzz targets share: the input placed as one file of a program folder
// holding the shipped data files, and the checks every reader owes its user (abort, so
// libFuzzer keeps the input). A target defines kcs::fuzz::oneInput, its check of one input.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kcs/test/Support.h"

namespace kcs::fuzz {

void oneInput(const std::string& input);

inline void check(bool ok, std::string_view what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

// An error the supervisor sees must say which file (and line) to mend; a data fault must be
// that file's own.
template <class Error>
void mustName(const Error& e, std::string_view name) {
    if constexpr (requires { e.where(); }) check(e.where() == name, "an error said of another file or record");
    if (std::string_view(e.what()).find(name) == std::string_view::npos)
        check(false, "the error does not name " + std::string(name) + ": " + e.what());
}

// Runs `read`: says whether it ran through; an Error it throws must name `name`.
template <class Error>
bool readsOrNames(std::string_view name, const auto& read) {
    try {
        read();
        return true;
    } catch (const Error& e) {
        mustName(e, name);
        return false;
    }
}

// The program folder the input is placed in (below).
inline const std::filesystem::path& programFolder();

// A reader run twice: stopping at the first fault (`first`), and listing every fault into
// a vector (`listing`; a fault that stops even the listing is listed too). Every fault names
// the file, and a fault that stops the reader is listed. The listing may hold more: what
// only the check of a whole folder reports (a norm table that falls, ...), which does not
// stop a report. Says whether the reader ran through.
template <class Error>
bool faultsAgree(std::string_view name, const auto& first, const auto& listing) {
    const bool read = readsOrNames<Error>(name, first);
    std::vector<Error> faults;
    try {
        listing(faults);
    } catch (const Error& e) {
        faults.push_back(e);
    }
    // A listed fault may be the other file's, when the two disagree (an item number in the
    // scoring data that the report text's line does not start with): it must name that file.
    for (const auto& f : faults)
        mustName(f, f.where() != name && std::filesystem::is_regular_file(programFolder() / f.where()) ? f.where() : name);
    check(read || !faults.empty(), "a fault that stops the reader is not listed");
    return read;
}

// A line the 80-column report can print as it stands.
inline bool fitsReport(std::string_view line, std::size_t width) {
    return line.size() <= width && std::ranges::none_of(line, [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
}

// The program folder of this process, with every shipped text data file in it.
inline const std::filesystem::path& programFolder() {
    static const auto folder = [] {
        auto dir = std::make_unique<kcs::test::TempDir>(kcs::test::memoryTempBase());
        for (const auto& entry : std::filesystem::directory_iterator(KCS_FUZZ_DATA_DIR))
            if (entry.path().extension() == ".TXT") std::filesystem::copy_file(entry.path(), dir->path() / entry.path().filename());
        return dir;
    }();
    return folder->path();
}

// The content as the file `name` of the program folder; returns its path.
inline std::filesystem::path place(const std::string& name, const std::string& content) {
    const auto path = programFolder() / name;
    kcs::test::writeFile(path, content);
    return path;
}

}  // namespace kcs::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kcs::fuzz::oneInput(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
