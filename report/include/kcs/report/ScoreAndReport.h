#pragma once
// Scores one client and writes the client report, REPORT.PRN, into the program folder.

#include <cstdint>
#include <filesystem>
#include <string>

#include "kcs/records/ClientFile.h"
#include "kcs/scoring/DataError.h"
#include "kcs/scoring/Scorer.h"

namespace kcs::report {

inline constexpr const char* kReportFileName = "REPORT.PRN";

struct ReportOptions {
    std::filesystem::path programFolder;
    char publisherFlag = 'b';
    bool summaryPage = false;
};

// Scores client `clientIndex` of the table and rewrites programFolder/REPORT.PRN. The data
// files are read from the program folder; the table is only read. The old report is
// removed first, so a report of an earlier client is never mistaken for this one, and on
// any failure no report is left at all: a scoring::DataError (missing or damaged data
// file or record) or kcs::RunError (the report could not be written) is thrown.
void ScoreAndReport(const records::ClientTable& table, std::int16_t clientIndex, const ReportOptions& options);

// The same report written to `output` instead; returns the scores it printed.
scoring::Scores ScoreAndReportTo(const records::ClientTable& table, std::int16_t clientIndex,
                                 const ReportOptions& options, const std::filesystem::path& output);

// The report bytes for one client, without touching any file but the data files.
std::string ComposeReport(const records::ClientRecord& record, std::int16_t clientIndex,
                          const ReportOptions& options, scoring::Scores* scoresOut = nullptr);
std::string ComposeReport(const records::ClientTable& table, std::int16_t clientIndex,
                          const ReportOptions& options, scoring::Scores* scoresOut = nullptr);

}  // namespace kcs::report
