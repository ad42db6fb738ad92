// Any client record scored and reported against the shipped data files: either a whole
// REPORT.PRN is in place, or an error names the record and no report is left at all,
// not even an earlier client's.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzFolder.h"
#include "kcs/report/ScoreAndReport.h"

using namespace kcs;
using fuzz::check;
using fuzz::mustName;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    records::ClientRecord::Bytes bytes;
    bytes.fill(' ');
    std::copy_n(data, std::min<std::size_t>(size, bytes.size()), bytes.begin());
    const unsigned options = size > bytes.size() ? data[bytes.size()] : 0;

    records::ClientTable table;
    table.NumClients = 1;
    table.CurClient = 1;
    table.Clients[1] = records::ClientRecord::fromBytes(bytes);

    const auto& folder = fuzz::programFolder();
    const auto output = fuzz::place(report::kReportFileName, "an earlier client's report\r\n");
    const report::ReportOptions opts{folder, options & 1 ? 'a' : 'b', (options & 2) != 0};
    try {
        report::ScoreAndReport(table, 1, opts);
    } catch (const scoring::DataError& e) {
        mustName(e, "client record 1");
        check(!std::filesystem::exists(output), "a report left behind after an error");
        return 0;
    }
    const std::string written = kcs::test::readFile(output);
    check(written.size() > 2 && written.ends_with("\r\n"), "a report that does not end with a whole line");
    if (options & 4) check(written == report::ComposeReport(table, 1, opts), "the written report is not the whole report");
    return 0;
}
