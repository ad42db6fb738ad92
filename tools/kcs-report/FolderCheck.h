#pragma once
// kcs-report --check: every data file of a program folder read completely, for an agency
// that installs its own files.

#include <filesystem>
#include <ostream>

namespace kcs::reporttool {

// Checks the scoring data, the report texts, the narratives, the invalid-test text, the
// question bank's language tables and the wave files they name: everything a report
// needs, and what would make it wrong without stopping it (see the README). Prints every fault to
// `faults` as "FILE:LINE: what is wrong" ("FILE: what is wrong" where no line applies)
// and what is merely missing by choice (no wave files at all) to `notes`. Returns the
// number of faults.
int checkProgramFolder(const std::filesystem::path& folder, std::ostream& faults, std::ostream& notes);

}  // namespace kcs::reporttool
