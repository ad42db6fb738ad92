#include "kcs/report/ScoreAndReport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "kcs/common/DurableFile.h"
#include "kcs/report/ReportWriter.h"

namespace kcs::report {

namespace {

namespace fs = std::filesystem;

// Only a plain file is ever removed: a folder or device given as the report's name stays.
void removeStale(const fs::path& target) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(target.c_str());
}

}  // namespace

std::string ComposeReport(const records::ClientRecord& record, std::int16_t clientIndex,
                          const ReportOptions& options, scoring::Scores* scoresOut) {
    scoring::Scorer scorer;
    scorer.Score(options.programFolder, record, clientIndex);
    ReportWriter writer(scorer, options.publisherFlag, options.summaryPage);
    std::string bytes = writer.WriteClientReport();
    if (scoresOut) *scoresOut = scorer.scores();
    return bytes;
}

std::string ComposeReport(const records::ClientTable& table, std::int16_t clientIndex,
                          const ReportOptions& options, scoring::Scores* scoresOut) {
    return ComposeReport(scoring::clientOf(table, clientIndex), clientIndex, options, scoresOut);
}

scoring::Scores ScoreAndReportTo(const records::ClientTable& table, std::int16_t clientIndex,
                                 const ReportOptions& options, const fs::path& output) {
    scoring::Scores scores;
    try {
        const std::string bytes = ComposeReport(table, clientIndex, options, &scores);
        replaceFileDurably(output, bytes, 0600, Durability::Regenerated);
    } catch (...) {
        // An earlier client's report left under this name would be taken for this one.
        removeStale(output);
        throw;
    }
    return scores;
}

void ScoreAndReport(const records::ClientTable& table, std::int16_t clientIndex, const ReportOptions& options) {
    ScoreAndReportTo(table, clientIndex, options, options.programFolder / kReportFileName);
}

}  // namespace kcs::report
