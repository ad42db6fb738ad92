// Any client record scored and reported against the shipped data files: either a whole
// REPORT.PRN is in place, or an error names the record and no report is left at all,
// not even an earlier client's.

#include "FuzzFolder.h"
#include "kcs/report/ScoreAndReport.h"
#include "kcs/test/Clients.h"

void kcs::fuzz::oneInput(const std::string& input) {
    records::ClientRecord::Bytes bytes;
    bytes.fill(' ');
    std::copy_n(input.begin(), std::min(input.size(), bytes.size()), bytes.begin());
    const unsigned options = input.size() > bytes.size() ? static_cast<unsigned char>(input[bytes.size()]) : 0;
    const auto table = test::tableOf({records::ClientRecord::fromBytes(bytes)});

    const auto output = place(report::kReportFileName, "an earlier client's report\r\n");
    const report::ReportOptions opts{programFolder(), options & 1 ? 'a' : 'b', (options & 2) != 0};
    if (!readsOrNames<scoring::DataError>("client record 1", [&] { report::ScoreAndReport(table, 1, opts); })) {
        check(!std::filesystem::exists(output), "a report left behind after an error");
        return;
    }
    const std::string written = test::readFile(output);
    check(written.size() > 2 && written.ends_with("\r\n"), "a report that does not end with a whole line");
    if (options & 4) check(written == report::ComposeReport(table, 1, opts), "the written report is not the whole report");
}
