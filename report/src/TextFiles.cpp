#include "kcs/report/TextFiles.h"

#include <algorithm>
#include <optional>

#include "kcs/common/Text.h"

namespace kcs::report {

using scoring::DataError;
using scoring::SequentialFile;

std::array<std::string, 6> NarrativeLabels(const std::array<std::string, 5>& rangeNames) {
    return {rangeNames[1], "MEDIUM-LOW", "MEDIUM-HIGH", rangeNames[3], "MAXIMUM-LOW", "MAXIMUM-HIGH"};
}

std::vector<std::string> ReadNarrativeBlock(SequentialFile& file, const std::string& label,
                                            const std::array<std::string, 6>& labels) {
    const std::string quoted = "\"" + printable(label) + "\"";
    for (;;) {
        if (file.atEnd()) throw DataError(file.name(), 0, "no block is headed " + quoted, err::InputPastEnd);
        if (file.lineInput() == label) break;
    }
    const int blockLine = file.fieldLine();
    std::vector<std::string> lines;
    for (;;) {
        if (file.atEnd())
            throw DataError(file.name(), blockLine, "the block " + quoted + " has no END line", err::InputPastEnd);
        std::string line = file.lineInput();
        if (line == "END") break;
        if (std::find(labels.begin(), labels.end(), line) != labels.end())
            file.fault(file.fieldLine(), "the block " + quoted + " runs into the heading \"" + printable(line) +
                                             "\": its END line is missing");
        file.checkPrintedLine(line, file.fieldLine(), scoring::kNarrativeLineWidth);
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::string> ReadInvalidText(SequentialFile& file) {
    std::vector<std::string> lines;
    for (;;) {
        if (file.atEnd()) throw DataError(file.name(), 0, "the text has no END line", err::InputPastEnd);
        std::string line = file.lineInput();
        if (line == "END") return lines;
        file.checkPrintedLine(line, file.fieldLine(), scoring::kReportLineWidth);
        lines.push_back(std::move(line));
    }
}

void CheckNarrativeAndInvalidFiles(const scoring::ScoringTables& tables, std::vector<DataError>& faults) {
    // A file that cannot be read is said once; each block is then looked for from the top
    // of the file, as a report looks for it.
    auto check = [&faults](const std::filesystem::path& path, auto&& read) {
        std::optional<SequentialFile> opened;
        try {
            opened.emplace(path);
        } catch (const DataError& e) {
            faults.push_back(e);
            return;
        }
        opened->collectFaults(&faults);
        read(*opened);
    };
    auto keep = [&faults](auto&& read) {
        try {
            read();
        } catch (const DataError& e) {
            faults.push_back(e);
        }
    };
    const auto labels = NarrativeLabels(tables.RangeNames);
    for (int s = 1; s <= scoring::kScaleCount; ++s) {
        check(tables.NarrativeFiles[static_cast<std::size_t>(s)], [&](const SequentialFile& file) {
            for (const auto& label : labels) {
                SequentialFile fromTop = file;
                keep([&] {
                    const auto lines = ReadNarrativeBlock(fromTop, label, labels);
                    const int endLine = fromTop.fieldLine();
                    if (lines.size() < 2)
                        fromTop.fault(endLine - static_cast<int>(lines.size()) - 1,
                                      "the paragraph of the block \"" + printable(label) + "\" has fewer than two lines");
                    // The report copies the first block of a label; a second one is never read.
                    while (!fromTop.atEnd())
                        if (fromTop.lineInput() == label)
                            fromTop.fault(fromTop.fieldLine(), "a second block is headed \"" + printable(label) +
                                                                   "\"; the report reads only the first");
                });
            }
        });
    }
    check(tables.InvalidTextFile, [&](SequentialFile& file) { keep([&] { ReadInvalidText(file); }); });
}

}  // namespace kcs::report
