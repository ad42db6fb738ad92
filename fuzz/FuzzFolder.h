#pragma once
// One scratch folder per fuzzing process, in memory where the system has one.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

inline const std::filesystem::path& fuzzFolder() {
    static const std::filesystem::path folder = [] {
        std::error_code ec;
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string tmpl = (base / "kcs-fuzz-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) std::abort();
        const std::filesystem::path made = tmpl;
        return made;
    }();
    return folder;
}

struct FuzzFolderCleanup {
    ~FuzzFolderCleanup() {
        std::error_code ec;
        std::filesystem::remove_all(fuzzFolder(), ec);
    }
};
