#include "kcs/scoring/ScoreAndReport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "kcs/common/RunError.h"
#include "kcs/report/ReportWriter.h"

namespace kcs::scoring {

namespace {

namespace fs = std::filesystem;

// Writes the report beside its final name and renames it into place, so a reader sees
// either the whole new report or none at all.
void writeWhole(const fs::path& target, const std::string& bytes) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string tempName = ".";
    tempName += target.filename().string();
    tempName += ".XXXXXX";
    std::string pattern = (folder / tempName).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) throw fileError(errno, target, "Cannot create the report");
    const fs::path temp = pattern;
    // `err` is taken before anything else can change errno.
    auto discard = [&](int err, const char* what) {
        ::unlink(temp.c_str());
        throw fileError(err, target, what);
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            discard(err, "Cannot write the report");
        }
        done += static_cast<std::size_t>(n);
    }
    ::fchmod(fd, 0644);
    if (::close(fd) != 0) discard(errno, "Cannot write the report");
    // The old report goes first: renaming over an existing file makes some file systems
    // flush the new one at once, which costs more than the whole report. Readers meanwhile
    // find no report at all, never a partial one.
    if (::unlink(target.c_str()) != 0 && errno != ENOENT) discard(errno, "Cannot replace the report");
    if (::rename(temp.c_str(), target.c_str()) != 0) discard(errno, "Cannot write the report");
}

void removeStale(const fs::path& target) {
    std::error_code ignored;
    fs::remove(target, ignored);
}

}  // namespace

std::string ComposeReport(records::ClientTable& table, std::int16_t clientIndex, const ReportOptions& options,
                          Scores* scoresOut) {
    Scorer scorer;
    scorer.Score(options.programFolder, table, clientIndex);
    report::ReportWriter writer(scorer, options.publisherFlag, options.summaryPage);
    std::string bytes = writer.WriteClientReport();
    if (scoresOut) *scoresOut = scorer.scores();
    return bytes;
}

Scores ScoreAndReportTo(records::ClientTable& table, std::int16_t clientIndex, const ReportOptions& options,
                        const std::filesystem::path& output) {
    Scores scores;
    try {
        writeWhole(output, ComposeReport(table, clientIndex, options, &scores));
    } catch (...) {
        // An earlier client's report left under this name would be taken for this one.
        removeStale(output);
        throw;
    }
    return scores;
}

void ScoreAndReport(records::ClientTable& table, std::int16_t clientIndex, const ReportOptions& options) {
    ScoreAndReportTo(table, clientIndex, options, options.programFolder / kReportFileName);
}

}  // namespace kcs::scoring
