// A narrative file on any content: every block a report can look up is either read
// whole (lines the report can print, none of them a heading or END) or refused with an
// error naming the file; the whole-file check lists only faults that name it as well.

#include "FuzzFolder.h"
#include "kcs/report/TextFiles.h"

void kcs::fuzz::oneInput(const std::string& input) {
    constexpr const char* kFile = "KCSAL.TXT";
    static const scoring::ScoringTables shipped = [] {
        scoring::Scorer scorer;
        scorer.SetTestConstants();
        scorer.LoadScoringFiles(programFolder());
        return scorer.tables();
    }();
    const auto path = place(kFile, input);
    const auto labels = report::NarrativeLabels(shipped.RangeNames);
    for (const auto& label : labels) {
        readsOrNames<scoring::DataError>(kFile, [&] {
            scoring::SequentialFile file(path);
            for (const auto& line : report::ReadNarrativeBlock(file, label, labels)) {
                check(fitsReport(line, scoring::kNarrativeLineWidth), "a block line the report cannot print");
                check(line != "END" && std::ranges::count(labels, line) == 0, "a heading or END read as a block line");
            }
        });
    }

    auto mine = shipped;
    for (int s = 1; s <= scoring::kScaleCount; ++s) mine.NarrativeFiles[static_cast<std::size_t>(s)] = path;
    std::vector<scoring::DataError> faults;
    report::CheckNarrativeAndInvalidFiles(mine, faults);
    for (const auto& f : faults) mustName(f, kFile);
}
