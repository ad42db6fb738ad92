// A narrative file on any content: every block a report can look up is either read
// whole (lines the report can print, none of them a heading or END) or refused with an
// error naming the file; the whole-file check lists only faults that name it as well.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzFolder.h"
#include "kcs/report/TextFiles.h"

using namespace kcs;
using fuzz::check;
using fuzz::mustName;

namespace {

constexpr const char* kFile = "KCSAL.TXT";

const scoring::ScoringTables& shippedTables() {
    static const scoring::ScoringTables tables = [] {
        scoring::Scorer scorer;
        scorer.SetTestConstants();
        scorer.LoadScoringFiles(fuzz::programFolder());
        return scorer.tables();
    }();
    return tables;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto& tables = shippedTables();
    const auto path = fuzz::place(kFile, fuzz::text(data, size));
    const auto labels = report::NarrativeLabels(tables.RangeNames);

    for (const auto& label : labels) {
        try {
            scoring::SequentialFile file(path);
            for (const auto& line : report::ReadNarrativeBlock(file, label, labels)) {
                check(fuzz::fitsReport(line, scoring::kNarrativeLineWidth), "a block line the report cannot print");
                check(line != "END" && std::find(labels.begin(), labels.end(), line) == labels.end(),
                      "a heading or END read as a block line");
            }
        } catch (const scoring::DataError& e) {
            mustName(e, kFile);
        }
    }

    auto mine = tables;
    for (int s = 1; s <= scoring::kScaleCount; ++s) mine.NarrativeFiles[static_cast<std::size_t>(s)] = path;
    std::vector<scoring::DataError> faults;
    report::CheckNarrativeAndInvalidFiles(mine, faults);
    for (const auto& f : faults) mustName(f, kFile);
    return 0;
}
