#include "kcs/common/DurableFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "kcs/common/Fd.h"
#include "kcs/common/RunError.h"

namespace kcs {

namespace fs = std::filesystem;

void writeAll(int fd, std::string_view data, const fs::path& path) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw fileError(errno, path, "Cannot write");
        }
        done += static_cast<std::size_t>(n);
    }
}

std::optional<std::string> readFileIfExists(const fs::path& path, std::size_t limit) {
    // Non-blocking, so a pipe or device put where a file belongs cannot hang the program.
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT) return std::nullopt;
        throw fileError(errno, path, "Cannot open");
    }
    std::string data;
    char buf[8192];
    while (data.size() < limit) {
        const std::size_t want = std::min(sizeof buf, limit - data.size());
        const ssize_t n = ::read(fd.get(), buf, want);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw fileError(errno, path, "Cannot read");
        }
        if (n == 0) break;
        data.append(buf, static_cast<std::size_t>(n));
    }
    return data;
}

void syncFolder(const fs::path& folder) {
    Fd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) return;  // a folder we may not open; the file itself is on the disk
    if (::fsync(dir.get()) != 0 && errno != EINVAL && errno != ENOTSUP && errno != EROFS)
        throw fileError(errno, folder, "Cannot write");
}

void replaceFileDurably(const fs::path& path, std::string_view content, unsigned newFileMode,
                        Durability durability) {
    const bool flush = durability == Durability::Flushed;
    fs::path target = path;
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
        target = fs::weakly_canonical(target, ec);
        if (ec) throw RunError(err::PathFileAccess, "Cannot resolve " + path.string() + ": " + ec.message());
    }

    mode_t mode = static_cast<mode_t>(newFileMode);
    bool existed = false;
    {
        // Opening the existing file for writing honours a read-only file or volume: the
        // rename below would otherwise replace a file that is meant to stay unchanged.
        Fd existing(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (existing.get() >= 0) {
            struct stat st {};
            if (::fstat(existing.get(), &st) != 0) throw fileError(errno, path, "Cannot read");
            if (!S_ISREG(st.st_mode)) throw RunError(err::PathFileAccess, path.string() + " is not a file");
            mode = st.st_mode & 07777;
            existed = true;
        } else if (errno != ENOENT) {
            throw fileError(errno, path, "Cannot write");
        }
    }

    fs::path staging = target;
    staging += ".new";
    {
        Fd out(::open(staging.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
        if (out.get() < 0) throw fileError(errno, path, "Cannot write");
        try {
            // O_CREAT applies the umask; a replaced file keeps exactly its own bits.
            if (existed && ::fchmod(out.get(), mode) != 0 && errno != EPERM)
                throw fileError(errno, path, "Cannot write");
            writeAll(out.get(), content, path);
            if (flush && ::fsync(out.get()) != 0) throw fileError(errno, path, "Cannot write");
            if (out.release() != 0) throw fileError(errno, path, "Cannot write");
        } catch (...) {
            ::unlink(staging.c_str());
            throw;
        }
    }
    if (!flush && existed && ::unlink(target.c_str()) != 0 && errno != ENOENT) {
        const int e = errno;
        ::unlink(staging.c_str());
        throw fileError(e, path, "Cannot write");
    }
    if (::rename(staging.c_str(), target.c_str()) != 0) {
        const int e = errno;
        ::unlink(staging.c_str());
        throw fileError(e, path, "Cannot write");
    }
    if (flush) syncFolder(target.parent_path());
}

}  // namespace kcs
