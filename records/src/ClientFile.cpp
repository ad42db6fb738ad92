#include "kcs/records/ClientFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <string>

#include "kcs/common/DurableFile.h"
#include "kcs/common/Fd.h"
#include "kcs/common/RunError.h"
#include "kcs/common/SysCalls.h"

namespace kcs::records {
namespace {

namespace fs = std::filesystem;

std::string readUpTo(int fd, const fs::path& path, std::size_t limit) {
    std::string data(limit, '\0');
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

long recordCountFor(long long length) {
    // Rounded to the nearest whole record: 118 trailing bytes or more count as one more.
    return static_cast<long>((length + kRecordLength / 2) / kRecordLength);
}

// Opens the client file for reading, creating it empty when it does not exist yet.
// Only a regular file is opened: a pipe or device put where the file belongs can neither
// hang the program nor be read for ever.
Fd openForLoad(const fs::path& clientFile) {
    try {
        return openRegularFile(clientFile);
    } catch (const RunError& e) {
        if (e.number() != err::FileNotFound) throw;
    }
    {
        Fd created(sys::open(clientFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (created.get() < 0 && errno != EEXIST) throw fileError(errno, clientFile, "Cannot create");
        if (created.get() >= 0 && (sys::fsync(created.get()) != 0 || created.release() != 0))
            throw fileError(errno, clientFile, "Cannot create");
    }
    syncFolder(clientFile.parent_path());
    return openRegularFile(clientFile);
}

}  // namespace

LoadReport LoadClients(ClientTable& table, const fs::path& clientFile) {
    const Fd fd = openForLoad(clientFile);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) throw fileError(errno, clientFile, "Cannot read");

    LoadReport report;
    report.recordsInFile = recordCountFor(st.st_size);
    report.trailingBytes = static_cast<long>(st.st_size % kRecordLength);
    report.overCapacity = report.recordsInFile > kMaxClients;
    const long toLoad = std::min<long>(report.recordsInFile, kMaxClients);

    const auto data = readUpTo(fd.get(), clientFile, static_cast<std::size_t>(toLoad) * kRecordLength);
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

std::string overCapacityMessage(const LoadReport& report) {
    if (!report.overCapacity) return {};
    return "This data disk holds " + std::to_string(report.recordsInFile) + " client records, but only " +
           std::to_string(kMaxClients) + " can be used. The first " + std::to_string(kMaxClients) +
           " are shown; the others remain on the disk unchanged. Please use a new data disk for further clients.";
}

void SaveClient(const ClientTable& table, std::int16_t slot, const fs::path& clientFile) {
    if (slot < 1 || slot > kMaxClients || slot > table.NumClients + 1)
        throw std::out_of_range("client slot " + std::to_string(slot) + " is outside the table (1 to " +
                                std::to_string(std::clamp<int>(table.NumClients + 1, 1, kMaxClients)) + ")");

    // The new file is the old one with this record replaced, written beside it and renamed
    // over it: a process stopped at any moment leaves either the old file or the new one,
    // and every byte outside the record is copied unchanged (records beyond the table's
    // capacity included).
    std::string content = readFileIfExists(clientFile).value_or(std::string{});

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

    replaceFileDurably(clientFile, content);
}

void ClearCurrentClient(ClientTable& table) {
    if (table.CurClient < 0 || table.CurClient > kMaxClients) return;
    table.Clients[static_cast<std::size_t>(table.CurClient)] = ClientRecord{};
}

}  // namespace kcs::records
