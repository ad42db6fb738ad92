#include "kcs/common/DurableFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <string>

#include "kcs/common/Fd.h"
#include "kcs/common/RunError.h"
#include "kcs/common/SysCalls.h"

namespace kcs {

namespace fs = std::filesystem;

void writeAll(int fd, std::string_view data, const fs::path& path) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = sys::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw fileError(errno, path, "Cannot write");
        }
        done += static_cast<std::size_t>(n);
    }
}

namespace {

RunError notRegular(const fs::path& path) {
    return RunError(err::PathFileAccess, path.string() + " is not a regular file");
}

// The open file, or an invalid descriptor with `error` set to the system's reason.
Fd tryOpenRegular(const fs::path& path, int& error) {
    // The kind is looked at before opening: opening a device can act on it, and a pipe
    // can wait for a writer.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        error = errno;
        return Fd(-1);
    }
    if (!S_ISREG(st.st_mode)) throw notRegular(path);
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        error = errno;
        return fd;
    }
    // The name may have been given to something else between the two looks.
    if (::fstat(fd.get(), &st) != 0) {
        error = errno;
        return Fd(-1);
    }
    if (!S_ISREG(st.st_mode)) throw notRegular(path);
    return fd;
}

std::string readAll(int fd, const fs::path& path, std::size_t limit) {
    std::string data;
    char buf[8192];
    while (data.size() < limit) {
        const std::size_t want = std::min(sizeof buf, limit - data.size());
        const ssize_t n = ::read(fd, buf, want);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw fileError(errno, path, "Cannot read");
        }
        if (n == 0) break;
        data.append(buf, static_cast<std::size_t>(n));
    }
    return data;
}

}  // namespace

Fd openRegularFile(const fs::path& path) {
    int error = 0;
    Fd fd = tryOpenRegular(path, error);
    if (fd.get() < 0) throw fileError(error, path, "Cannot open");
    return fd;
}

std::string readRegularFile(const fs::path& path, std::size_t limit) {
    const Fd fd = openRegularFile(path);
    return readAll(fd.get(), path, limit);
}

std::optional<std::string> readFileIfExists(const fs::path& path, std::size_t limit) {
    int error = 0;
    const Fd fd = tryOpenRegular(path, error);
    if (fd.get() < 0) {
        if (error == ENOENT) return std::nullopt;
        throw fileError(error, path, "Cannot open");
    }
    return readAll(fd.get(), path, limit);
}

void syncFolder(const fs::path& folder) {
    Fd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) return;  // a folder we may not open; the file itself is on the disk
    if (sys::fsync(dir.get()) != 0 && errno != EINVAL && errno != ENOTSUP)
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
        // A folder, pipe or device under the name is refused before it is opened.
        struct stat st {};
        if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) throw notRegular(path);
        // Opening the existing file for writing honours a read-only file or volume: the
        // rename below would otherwise replace a file that is meant to stay unchanged.
        Fd existing(sys::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (existing.get() >= 0) {
            struct stat st {};
            if (::fstat(existing.get(), &st) != 0) throw fileError(errno, path, "Cannot read");
            if (!S_ISREG(st.st_mode)) throw notRegular(path);
            // A file marked read-only is meant to stay as it is, also for a user whom the
            // permission bits do not stop.
            if ((st.st_mode & 0222) == 0) throw fileError(EACCES, path, "Cannot write");
            mode = st.st_mode & 07777;
            existed = true;
        } else if (errno != ENOENT) {
            throw fileError(errno, path, "Cannot write");
        }
    }

    // The new content goes to a name nobody uses: an entry already there (a user's file,
    // a link, what an interrupted write left) is neither truncated nor followed.
    // After the first name the tries are random, so what interrupted writes left behind,
    // however many, never uses up the names and stops every later save.
    fs::path staging;
    int created = -1;
    std::minstd_rand pick(std::random_device{}());
    for (int attempt = 0; created < 0 && attempt < 100; ++attempt) {
        staging = target;
        staging += attempt == 0 ? std::string(".new") : ".new" + std::to_string(pick() % 1000000);
        created = sys::open(staging.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (created < 0 && errno != EEXIST) throw fileError(errno, path, "Cannot write");
    }
    if (created < 0) throw fileError(EEXIST, path, "Cannot write");
    {
        Fd out(created);
        try {
            // O_CREAT applies the umask; a replaced file keeps exactly its own bits.
            if (existed && sys::fchmod(out.get(), mode) != 0 && errno != EPERM)
                throw fileError(errno, path, "Cannot write");
            writeAll(out.get(), content, path);
            if (flush && sys::fsync(out.get()) != 0) throw fileError(errno, path, "Cannot write");
            if (out.release() != 0) throw fileError(errno, path, "Cannot write");
        } catch (...) {
            sys::unlink(staging.c_str());
            throw;
        }
    }
    if (!flush && existed && sys::unlink(target.c_str()) != 0 && errno != ENOENT) {
        const int e = errno;
        sys::unlink(staging.c_str());
        throw fileError(e, path, "Cannot write");
    }
    if (sys::rename(staging.c_str(), target.c_str()) != 0) {
        const int e = errno;
        sys::unlink(staging.c_str());
        throw fileError(e, path, "Cannot write");
    }
    if (flush) syncFolder(target.parent_path());
}

int removeStagingLeftovers(const fs::path& path) {
    const std::string prefix = path.filename().string() + ".new";
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    std::error_code ec;
    int left = 0;
    bool removed = false;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string tail = name.substr(prefix.size());
        if (!std::all_of(tail.begin(), tail.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
        if (!it->is_symlink(ec) && it->is_regular_file(ec) && sys::unlink(it->path().c_str()) == 0)
            removed = true;
        else
            ++left;
    }
    if (removed) {
        try {
            syncFolder(folder);
        } catch (const RunError&) {
        }
    }
    return left;
}

}  // namespace kcs
