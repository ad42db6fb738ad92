// The invalid-test text on any content: read up to END as lines the report can print,
// or refused with an error naming the file, whether the first fault stops the reading
// or every fault is listed.

#include "FuzzFolder.h"
#include "kcs/report/TextFiles.h"

void kcs::fuzz::oneInput(const std::string& input) {
    using scoring::SequentialFile;
    const auto path = place(scoring::kInvalidTextFile, input);
    faultsAgree<scoring::DataError>(scoring::kInvalidTextFile, [&] {
        SequentialFile file(path);
        for (const auto& line : report::ReadInvalidText(file))
            check(fitsReport(line, scoring::kReportLineWidth), "a line the report cannot print");
    }, [&](std::vector<scoring::DataError>& faults) {
        SequentialFile file(path);
        file.collectFaults(&faults);
        (void)report::ReadInvalidText(file);
    });
}
