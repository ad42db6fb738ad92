#pragma once
// Scores one client and writes the client report, REPORT.PRN, into the program folder.
// Defined in the kcs_report library (link kcs_report, which brings kcs_scoring along).

#include <cstdint>
#include <filesystem>
#include <string>

#include "kcs/records/ClientFile.h"
#include "kcs/scoring/DataError.h"
#include "kcs/scoring/Scorer.h"

namespace kcs::scoring {

inline constexpr const char* kReportFileName = "REPORT.PRN";

struct ReportOptions {
    std::filesystem::path programFolder;
    char publisherFlag = 'b';
    bool summaryPage = false;
};

// Scores slot `clientIndex` of the table and rewrites programFolder/REPORT.PRN. The data
// files are read from the program folder. On any failure nothing half-written is left:
// a DataError (missing or damaged data file or record) or kcs::RunError (the report
// could not be written) is thrown and REPORT.PRN is removed, so a report of an earlier
// client is never mistaken for this one.
void ScoreAndReport(records::ClientTable& table, std::int16_t clientIndex, const ReportOptions& options);

// The same report written to `output` instead; returns the scores it printed.
Scores ScoreAndReportTo(records::ClientTable& table, std::int16_t clientIndex, const ReportOptions& options,
                        const std::filesystem::path& output);

// The report bytes for one client, without touching any file but the data files.
std::string ComposeReport(records::ClientTable& table, std::int16_t clientIndex, const ReportOptions& options,
                          Scores* scoresOut = nullptr);

}  // namespace kcs::scoring
