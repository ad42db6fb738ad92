#include "kcs/app/DataDrive.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "kcs/common/DurableFile.h"
#include "kcs/common/RunError.h"

namespace kcs::app {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kIdentityReadLimit = 4096;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trim(std::string_view v) {
    while (!v.empty() && isBlank(v.front())) v.remove_prefix(1);
    while (!v.empty() && isBlank(v.back())) v.remove_suffix(1);
    return v;
}

}  // namespace

std::string DriveFiles::readHead(const fs::path& file, std::size_t limit) {
    auto content = readFileIfExists(file, limit);
    if (!content) throw fileError(ENOENT, file, "Cannot open");
    return *content;
}

void DriveFiles::writeFile(const fs::path& file, std::string_view content) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) throw fileError(errno, file, "Cannot create");
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int e = errno;
            ::close(fd);
            throw fileError(e, file, "Cannot write");
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) throw fileError(errno, file, "Cannot write");
}

void DriveFiles::removeIfExists(const fs::path& file) {
    if (::unlink(file.c_str()) != 0 && errno != ENOENT) throw fileError(errno, file, "Cannot delete");
}

DriveIdentity parseIdentityFile(std::string_view content) {
    // A file saved by an editor that marks UTF-8 still says "KCS".
    if (content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);
    const auto nl = content.find('\n');
    const auto first = content.substr(0, nl);
    DriveIdentity id;
    id.isThisTest = trim(first) == kTestTag;
    if (nl != std::string_view::npos) {
        auto second = content.substr(nl + 1);
        second = second.substr(0, second.find('\n'));
        second = trim(second);
        if (!second.empty()) id.publisherFlag = second.front();
    }
    return id;
}

DiskCheck CheckDataDisk(ProgramState& state, const std::string& designation) {
    DriveFiles files;
    return CheckDataDisk(state, designation, files);
}

DiskCheck CheckDataDisk(ProgramState& state, const std::string& designation, DriveFiles& files) {
    const fs::path folder = state.resolve(designation);

    // The identity first: a drive that is not ours is only read, never written to.
    const auto identity = parseIdentityFile(files.readHead(folder / kIdentityFileName, kIdentityReadLimit));
    if (!identity.isThisTest) return DiskCheck::NotThisTest;

    // The write test: whatever happens, its file is not left on the drive.
    const fs::path probe = folder / kWriteTestFileName;
    files.removeIfExists(probe);
    try {
        files.writeFile(probe, "test\n");
    } catch (...) {
        try { files.removeIfExists(probe); } catch (...) {}
        throw;
    }
    files.removeIfExists(probe);

    // Load into a table of our own: the drive in use keeps its records until this one
    // is accepted.
    records::ClientTable table;
    const fs::path clientFile = folder / records::kClientFileName;
    const auto report = records::LoadClients(table, clientFile);

    state.DataPath = designation;
    state.ClientFilePath = clientFile;
    state.PublisherFlag = identity.publisherFlag;
    state.table = table;
    state.LastLoad = report;
    return DiskCheck::Accepted;
}

}  // namespace kcs::app
