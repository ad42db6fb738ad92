#include "kcs/records/ClientFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string>
#include <vector>

#include "kcs/common/RunError.h"

namespace kcs::records {
namespace {

namespace fs = std::filesystem;

// Closes a descriptor on every way out.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { if (fd_ >= 0) ::close(fd_); }
    int get() const { return fd_; }
    // Close and report: a failed close can be the first sign that data did not reach the disk.
    int release() { int r = ::close(fd_); fd_ = -1; return r; }

private:
    int fd_;
};

std::vector<char> readAll(int fd, const fs::path& path, std::size_t limit) {
    std::vector<char> data(limit);
    std::size_t got = 0;
    while (got < limit) {
        const ssize_t n = ::pread(fd, data.data() + got, limit - got, static_cast<off_t>(got));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw fileError(errno, path, "Cannot read");
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    data.resize(got);
    return data;
}

void writeAll(int fd, const char* data, std::size_t size, const fs::path& path) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw fileError(errno, path, "Cannot write");
        }
        done += static_cast<std::size_t>(n);
    }
}

void syncFolder(const fs::path& folder) {
    Fd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // Some file systems cannot sync a folder; the file itself is already on the disk then.
    if (dir.get() >= 0) ::fsync(dir.get());
}

long recordCountFor(long long length) {
    // Rounded to the nearest whole record: 118 trailing bytes or more count as one more.
    return static_cast<long>((length + kRecordLength / 2) / kRecordLength);
}

// Opens the client file for reading, creating it empty when it does not exist yet.
int openForLoad(const fs::path& clientFile) {
    int fd = ::open(clientFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) return fd;
    if (errno != ENOENT) throw fileError(errno, clientFile, "Cannot open");
    {
        Fd created(::open(clientFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
        if (created.get() < 0 && errno != EEXIST) throw fileError(errno, clientFile, "Cannot create");
        if (created.get() >= 0 && (::fsync(created.get()) != 0 || created.release() != 0))
            throw fileError(errno, clientFile, "Cannot create");
    }
    syncFolder(clientFile.parent_path());
    fd = ::open(clientFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw fileError(errno, clientFile, "Cannot open");
    return fd;
}

}  // namespace

LoadReport LoadClients(ClientTable& table, const fs::path& clientFile) {
    Fd fd(openForLoad(clientFile));
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) throw fileError(errno, clientFile, "Cannot read");
    if (!S_ISREG(st.st_mode)) throw RunError(err::BadFileName, clientFile.string() + " is not a file");

    LoadReport report;
    report.recordsInFile = recordCountFor(st.st_size);
    report.trailingBytes = static_cast<long>(st.st_size % kRecordLength);
    report.overCapacity = report.recordsInFile > kMaxClients;
    const long toLoad = report.overCapacity ? kMaxClients : report.recordsInFile;

    const auto data = readAll(fd.get(), clientFile, static_cast<std::size_t>(toLoad) * kRecordLength);
    ClientTable fresh;
    for (long n = 1; n <= toLoad; ++n) {
        ClientRecord::Bytes bytes;
        bytes.fill(' ');  // what lies beyond the end of the file reads as blanks
        const std::size_t start = static_cast<std::size_t>(n - 1) * kRecordLength;
        for (std::size_t i = 0; i < bytes.size() && start + i < data.size(); ++i) bytes[i] = data[start + i];
        fresh.Clients[static_cast<std::size_t>(n)] = ClientRecord::fromBytes(bytes);
    }
    fresh.NumClients = static_cast<std::int16_t>(toLoad);
    fresh.CurClient = toLoad > 0 ? 1 : 0;
    table = fresh;
    return report;
}

void SaveClient(const ClientTable& table, std::int16_t slot, const fs::path& clientFile) {
    if (slot < 1 || slot > kMaxClients || slot > table.NumClients + 1)
        throw std::out_of_range("client slot " + std::to_string(slot) + " is outside the table (1 to " +
                                std::to_string(std::min<int>(table.NumClients + 1, kMaxClients)) + ")");

    // The new file is the old one with this record replaced, written beside it and then
    // renamed over it: a process stopped at any moment leaves either the old file or the
    // new one, and every byte outside the record is copied unchanged.
    std::vector<char> content;
    mode_t mode = 0644;
    {
        Fd fd(::open(clientFile.c_str(), O_RDONLY | O_CLOEXEC));
        if (fd.get() >= 0) {
            struct stat st {};
            if (::fstat(fd.get(), &st) != 0) throw fileError(errno, clientFile, "Cannot read");
            mode = st.st_mode & 07777;
            content = readAll(fd.get(), clientFile, static_cast<std::size_t>(st.st_size));
        } else if (errno != ENOENT) {
            throw fileError(errno, clientFile, "Cannot open");
        }
    }

    const std::size_t offset = static_cast<std::size_t>(slot - 1) * kRecordLength;
    if (content.size() < offset) {
        // The records in between exist in the table (a counted partial record, or a file
        // shortened behind the program's back): fill them from memory so no gap of
        // unknown bytes is ever written.
        const std::size_t have = content.size();
        content.resize(offset);
        for (std::size_t pos = have; pos < offset; ++pos) {
            const auto n = pos / kRecordLength + 1;
            content[pos] = table.Clients[n].bytes()[pos % kRecordLength];
        }
    }
    if (content.size() < offset + kRecordLength) content.resize(offset + kRecordLength);
    const auto& bytes = table.Clients[static_cast<std::size_t>(slot)].bytes();
    std::copy(bytes.begin(), bytes.end(), content.begin() + static_cast<std::ptrdiff_t>(offset));

    fs::path target = clientFile;
    std::error_code ec;
    if (fs::is_symlink(target, ec)) target = fs::weakly_canonical(target, ec);
    fs::path staging = target;
    staging += ".new";

    {
        Fd out(::open(staging.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
        if (out.get() < 0) throw fileError(errno, clientFile, "Cannot write");
        try {
            writeAll(out.get(), content.data(), content.size(), clientFile);
            if (::fsync(out.get()) != 0) throw fileError(errno, clientFile, "Cannot write");
            if (out.release() != 0) throw fileError(errno, clientFile, "Cannot write");
        } catch (...) {
            ::unlink(staging.c_str());
            throw;
        }
    }
    if (::rename(staging.c_str(), target.c_str()) != 0) {
        const int e = errno;
        ::unlink(staging.c_str());
        throw fileError(e, clientFile, "Cannot write");
    }
    syncFolder(target.parent_path());
}

void ClearCurrentClient(ClientTable& table) {
    if (table.CurClient < 0 || table.CurClient > kMaxClients) return;
    table.Clients[static_cast<std::size_t>(table.CurClient)] = ClientRecord{};
}

}  // namespace kcs::records
