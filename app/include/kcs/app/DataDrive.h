#pragma once
// The checks that make a folder (a mounted volume or any directory) the data drive.
// The screens that ask the supervisor build on these.

#include <filesystem>
#include <string>

#include "kcs/app/ProgramState.h"

namespace kcs::app {

inline constexpr const char* kIdentityFileName = "TID";
inline constexpr const char* kTestTag = "KCS";
inline constexpr const char* kWriteTestFileName = "checkWriteTest";

enum class DiskCheck {
    Accepted,       // identity file says "KCS" and the drive is writable
    NotThisTest,    // identity file holds another tag: the caller shows "This is not an ..."
};

// CheckDataDisk: reads the identity file first and creates nothing on a drive that fails
// it; then the write test (which never leaves its file behind), the publisher flag and
// the client records (the client file is created on an accepted drive that has none).
// Only an accepted drive changes `state`: DataPath, ClientFilePath, PublisherFlag and the
// client table then belong to `designation`; a refused or failing drive leaves the drive
// in use, its paths and its records exactly as they were. Throws kcs::RunError (53/76 no
// identity file, 70 write-protected, ...) which the drive selection sorts by number.
//
// The publisher flag is the first non-blank character of the identity file's second
// line; a file without one carries the first publisher ('b').
DiskCheck CheckDataDisk(ProgramState& state, const std::string& designation);

}  // namespace kcs::app
