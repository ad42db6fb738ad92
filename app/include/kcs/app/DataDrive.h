#pragma once
// The checks that make a folder (a mounted volume or any directory) the data drive.
// The screens that ask the supervisor build on these.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "kcs/app/ClientStore.h"
#include "kcs/app/Paths.h"

namespace kcs::app {

inline constexpr const char* kIdentityFileName = "TID";
inline constexpr const char* kTestTag = "KCS";
inline constexpr const char* kWriteTestFileName = "checkWriteTest";

enum class DiskCheck {
    Accepted,       // identity file says "KCS" and the drive is writable
    NotThisTest,    // identity file holds another tag: the caller shows "This is not an ..."
};

// The file operations the drive checks make on the candidate drive, apart so that a
// failing drive can be simulated. Each throws kcs::RunError with the classic number.
class DriveFiles {
public:
    virtual ~DriveFiles() = default;
    // At most `limit` bytes from the start of a file (53/76 when it is missing).
    virtual std::string readHead(const std::filesystem::path& file, std::size_t limit);
    // Creates or truncates a file and writes `content` into it.
    virtual void writeFile(const std::filesystem::path& file, std::string_view content);
    // Removes a file if it exists.
    virtual void removeIfExists(const std::filesystem::path& file);
};

// CheckDataDisk: reads the identity file first and creates nothing on a drive that fails
// it; then the write test (which never leaves its file behind), the publisher flag and
// the client records (the client file is created on an accepted drive that has none).
// Only an accepted drive changes the store: its drive, client file, publisher flag and
// records then belong to `designation` (a relative designation is taken within the
// program folder); a refused or failing drive leaves the drive in use and its records
// exactly as they were. Throws kcs::RunError (53/76 no identity file, 70 write-protected,
// ...) which the drive selection sorts by number.
//
// The publisher flag is the first non-blank character of the identity file's second
// line; a file without one carries the first publisher ('b').
DiskCheck CheckDataDisk(ClientStore& store, const Paths& paths, const std::string& designation,
                        DriveFiles& files);

// The identity file's content read: whether its first line is the test tag, and the
// publisher flag of its second line ('b' when it has none).
struct DriveIdentity {
    bool isThisTest = false;
    char publisherFlag = 'b';
};
DriveIdentity parseIdentityFile(std::string_view content);

}  // namespace kcs::app
