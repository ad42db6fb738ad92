#pragma once
// How the report file leaves the program: read for the screen, printed page by page in a
// fixed-pitch font, or sent raw to the printer as the old printer port received it. The
// reports of several clients are scored first, each into a numbered staging file, and
// printed afterwards, one job per client in order.
//
// Every file named here lives in the program folder under exactly this name: REPORT.PRN,
// REPORT.SCR and the staging files temp1, temp2, ...

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "kcs/records/ClientFile.h"
#include "kcs/report/ScoreAndReport.h"

namespace kcs::report {

// The system's default printer.
class Printer {
public:
    virtual ~Printer() = default;
    // One job: the pages in a fixed-pitch font, one printer page per page. A page is
    // Windows-1252 text, each line ended by CR LF. Throws kcs::RunError when there is no
    // printer or the job is refused.
    virtual void printPages(const std::string& jobName, const std::vector<std::string>& pages) = 0;
    // One job whose bytes reach the printer unchanged. Throws kcs::RunError likewise.
    virtual void printRaw(const std::string& jobName, const std::string& bytes) = 0;
};

inline constexpr const char* kScreenFileName = "REPORT.SCR";

// Staging file n (from 1): "temp" followed by n, no extension.
std::filesystem::path StagingFile(const std::filesystem::path& programFolder, int n);

// The report file's text: the whole file except its last character (the line feed that
// ends the last line). Throws kcs::RunError (53) when there is no report file.
std::string ReadReportText(const std::filesystem::path& programFolder);

// The pages of a report text: the text is cut at each form feed, and the rest of the line
// holding the form feed goes with the break. Each page keeps its lines, each ended by CR LF.
std::vector<std::string> SplitReportPages(std::string_view text);

// Prints REPORT.PRN as job `jobName`. With `printDOS` a line holding only a form feed is
// first added to the end of the file, and the file is then sent unchanged as a raw job;
// otherwise its pages are printed. Throws kcs::RunError; the report file stays either way.
void PrintReport(const std::filesystem::path& programFolder, bool printDOS, Printer& printer,
                 const std::string& jobName);

// The name of a client's print job. It carries the client's number only: a job's title
// shows in the printer's queue and logs, where a client's name has no business.
std::string ReportJobName(std::int16_t client);

// Removes REPORT.PRN and REPORT.SCR from the program folder when they are plain files.
void RemoveReportFiles(const std::filesystem::path& programFolder);

// Scores each of `clients` (slots of `table`, in this order) into REPORT.PRN and copies it
// to staging file 1, 2, ...; then copies each staging file back over REPORT.PRN and prints
// it. A failure while scoring prints nothing. A failure while printing stops there and is
// thrown as kcs::RunError with the same number, its description telling which clients'
// reports were printed and which were not; those not printed stay in their staging files.
void PrintReports(const records::ClientTable& table, const std::vector<std::int16_t>& clients,
                  const ReportOptions& options, bool printDOS, Printer& printer);

}  // namespace kcs::report
