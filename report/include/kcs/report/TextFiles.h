#pragma once
// The narrative files and the invalid-test text: the blocks the report copies from them,
// checked line by line as they are read, and the check of whole files for an agency that
// installs its own.

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "kcs/scoring/DataError.h"
#include "kcs/scoring/Scorer.h"
#include "kcs/scoring/TextInput.h"

namespace kcs::report {

// The labels a narrative file holds a block for, one per risk range and half-range.
std::array<std::string, 6> NarrativeLabels(const std::array<std::string, 5>& rangeNames);

// The paragraph of the block headed `label`: the lines after the first line equal to
// the label, up to the line "END". A missing block or END, a line of the block that is
// another label (its END is missing), or a line too wide for the report is a fault.
std::vector<std::string> ReadNarrativeBlock(scoring::SequentialFile& file, const std::string& label,
                                            const std::array<std::string, 6>& labels);

// The lines of the invalid-test text up to its line "END", each checked for width.
std::vector<std::string> ReadInvalidText(scoring::SequentialFile& file);

// Every fault of the six narrative files (every label's block) and of INVAL.TXT, added
// to `faults`; `tables` gives the range names and the files' paths.
void CheckNarrativeAndInvalidFiles(const scoring::ScoringTables& tables, std::vector<scoring::DataError>& faults);

}  // namespace kcs::report
