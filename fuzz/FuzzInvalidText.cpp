// The invalid-test text on any content: read up to END as lines the report can print,
// or refused with an error naming the file, whether the first fault stops the reading
// or every fault is listed.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FuzzFolder.h"
#include "kcs/report/TextFiles.h"

using namespace kcs;
using fuzz::check;
using fuzz::mustName;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzz::place(scoring::kInvalidTextFile, fuzz::text(data, size));
    bool read = true;
    try {
        scoring::SequentialFile file(path);
        for (const auto& line : report::ReadInvalidText(file)) {
            check(fuzz::fitsReport(line, scoring::kReportLineWidth), "a line the report cannot print");
        }
    } catch (const scoring::DataError& e) {
        mustName(e, scoring::kInvalidTextFile);
        read = false;
    }

    std::vector<scoring::DataError> faults;
    std::optional<scoring::SequentialFile> file;
    try {
        file.emplace(path);
        file->collectFaults(&faults);
        (void)report::ReadInvalidText(*file);
    } catch (const scoring::DataError& e) {
        faults.push_back(e);
    }
    for (const auto& f : faults) mustName(f, scoring::kInvalidTextFile);
    check(read == faults.empty(), "the listed faults and the first fault disagree");
    return 0;
}
