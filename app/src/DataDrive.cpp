#include "kcs/app/DataDrive.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "kcs/common/DurableFile.h"
#include "kcs/common/Fd.h"
#include "kcs/common/RunError.h"
#include "kcs/common/SysCalls.h"
#include "kcs/common/Text.h"

namespace kcs::app {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kIdentityReadLimit = 4096;

}  // namespace

std::string DriveFiles::readHead(const fs::path& file, std::size_t limit) {
    auto content = readFileIfExists(file, limit);
    if (!content) throw fileError(ENOENT, file, "Cannot open");
    return *content;
}

void DriveFiles::writeFile(const fs::path& file, std::string_view content) {
    Fd fd(sys::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0600));
    if (fd.get() < 0) throw fileError(errno, file, "Cannot create");
    writeAll(fd.get(), content, file);
    if (fd.release() != 0) throw fileError(errno, file, "Cannot write");
}

void DriveFiles::removeIfExists(const fs::path& file) {
    if (sys::unlink(file.c_str()) != 0 && errno != ENOENT) throw fileError(errno, file, "Cannot delete");
}

DriveIdentity parseIdentityFile(std::string_view content) {
    // A file saved by an editor that marks UTF-8 still says "KCS".
    if (content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);
    const auto nl = content.find('\n');
    const auto first = content.substr(0, nl);
    DriveIdentity id;
    id.isThisTest = trimBlanks(first) == kTestTag;
    if (nl != std::string_view::npos) {
        auto second = content.substr(nl + 1);
        second = second.substr(0, second.find('\n'));
        second = trimBlanks(second);
        if (!second.empty()) id.publisherFlag = second.front();
    }
    return id;
}

DiskCheck CheckDataDisk(ClientStore& store, const Paths& paths, const std::string& designation,
                        DriveFiles& files) {
    const fs::path folder = paths.resolve(designation);

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

    store.useDrive(designation, clientFile, identity.publisherFlag, table, report);
    return DiskCheck::Accepted;
}

}  // namespace kcs::app
