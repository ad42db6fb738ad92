#pragma once
// The plain helpers every suite, benchmark and fuzzer shares: a temporary folder,
// whole-file reads and writes, running a command, the error number a call fails with, and
// a disk that refuses every write.

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>

#include "kcs/common/RunError.h"
#include "kcs/common/SysCalls.h"

namespace kcs::test {

// A memory file system where there is one (quick, and a killed process leaves the same
// state there as on a disk), else the system's temporary folder.
inline std::filesystem::path memoryTempBase() {
    std::error_code ec;
    if (std::filesystem::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0) return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

class TempDir {
public:
    explicit TempDir(const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
        std::string tmpl = (base / "kcs-test-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) std::abort();
        path_ = tmpl;
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const std::filesystem::path& p, const std::string& content) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << content;
}

// A command's exit status and output, run with no input and under a time limit (status
// 124 when it would wait for ever); `scratch` receives the output files.
struct CommandRun {
    int status;
    std::string out, err;
};
inline CommandRun runCommand(const std::string& command, const std::filesystem::path& scratch) {
    const std::string line = "timeout 60 " + command + " >" + (scratch / "stdout").string() + " 2>" +
                             (scratch / "stderr").string() + " </dev/null";
    const int raw = std::system(line.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(scratch / "stdout"), readFile(scratch / "stderr")};
}

// The number of the kcs::RunError that `f` throws, 0 when it returns.
template <class F>
int errorNumber(F&& f) {
    try {
        f();
    } catch (const kcs::RunError& e) {
        return e.number();
    }
    return 0;
}

// While it lives, every write of the program fails as on a drive gone read-only (or with
// the given errno).
class RefusingDisk {
public:
    explicit RefusingDisk(int error = EROFS) {
        kcs::sys::setFaultHook([error](std::string_view) { return error; });
    }
    ~RefusingDisk() { kcs::sys::setFaultHook(nullptr); }
    RefusingDisk(const RefusingDisk&) = delete;
    RefusingDisk& operator=(const RefusingDisk&) = delete;
};

}  // namespace kcs::test
