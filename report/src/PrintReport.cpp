#include "kcs/report/PrintReport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "kcs/common/DurableFile.h"
#include "kcs/common/NumberRanges.h"
#include "kcs/common/RunError.h"

namespace kcs::report {

namespace {

namespace fs = std::filesystem;

fs::path reportFile(const fs::path& programFolder) { return programFolder / kReportFileName; }

std::string readWhole(const fs::path& file) {
    auto bytes = readFileIfExists(file);
    if (!bytes) throw fileError(ENOENT, file, "Cannot read");
    return std::move(*bytes);
}

// The file's bytes under another name, replaced whole: a reader never finds half a report.
void copyReport(const fs::path& from, const fs::path& to) {
    replaceFileDurably(to, readWhole(from), 0644, Durability::Regenerated);
}

void removePlainFile(const fs::path& file) {
    struct stat st {};
    if (::lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(file.c_str()) != 0)
        throw fileError(errno, file, "Cannot delete");
}

}  // namespace

fs::path StagingFile(const fs::path& programFolder, int n) {
    return programFolder / ("temp" + std::to_string(n));
}

std::string ReadReportText(const fs::path& programFolder) {
    std::string text = readWhole(reportFile(programFolder));
    if (!text.empty()) text.pop_back();
    return text;
}

std::vector<std::string> SplitReportPages(std::string_view text) {
    std::vector<std::string> pages(1);
    std::size_t i = 0;
    while (i < text.size()) {
        // One line, whatever ends it: CR LF, a lone CR or LF, or the end of the text.
        std::size_t end = i;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        std::string_view line = text.substr(i, end - i);
        i = end + ((end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ? 2 : 1);
        // A form feed ends the page; what stands before it on its line stays on that page,
        // and a line holding nothing else belongs to the break.
        bool breakOnly = false;
        for (auto ff = line.find('\f'); ff != std::string_view::npos; ff = line.find('\f')) {
            if (ff > 0) pages.back().append(line.substr(0, ff)).append("\r\n");
            pages.emplace_back();
            line.remove_prefix(ff + 1);
            breakOnly = line.empty();
        }
        if (!breakOnly) pages.back().append(line).append("\r\n");
    }
    return pages;
}

void PrintReport(const fs::path& programFolder, bool printDOS, Printer& printer, const std::string& jobName) {
    if (printDOS) {
        // The closing form feed ejects the last page, as it did on the printer port.
        std::string bytes = readWhole(reportFile(programFolder));
        bytes += "\f\r\n";
        replaceFileDurably(reportFile(programFolder), bytes, 0644, Durability::Regenerated);
        printer.printRaw(jobName, bytes);
        return;
    }
    printer.printPages(jobName, SplitReportPages(ReadReportText(programFolder)));
}

std::string ReportJobName(std::int16_t client) { return "KCS report " + std::to_string(client); }

void RemoveReportFiles(const fs::path& programFolder) {
    removePlainFile(reportFile(programFolder));
    removePlainFile(programFolder / kScreenFileName);
}

void PrintReports(const records::ClientTable& table, const std::vector<std::int16_t>& clients,
                  const ReportOptions& options, bool printDOS, Printer& printer) {
    const fs::path& folder = options.programFolder;
    for (std::size_t n = 1; n <= clients.size(); ++n) {
        ScoreAndReport(table, clients[n - 1], options);
        copyReport(reportFile(folder), StagingFile(folder, static_cast<int>(n)));
    }
    for (std::size_t k = 1; k <= clients.size(); ++k) {
        const std::int16_t client = clients[k - 1];
        try {
            copyReport(StagingFile(folder, static_cast<int>(k)), reportFile(folder));
            PrintReport(folder, printDOS, printer, ReportJobName(client));
        } catch (const RunError& e) {
            std::vector<int> printed, notPrinted;
            for (std::size_t j = 0; j < clients.size(); ++j) (j + 1 < k ? printed : notPrinted).push_back(clients[j]);
            std::string told = e.description();
            told += printed.empty() ? " No report was printed." : " Printed: " + numbered("client", printed) + ".";
            told += " Not printed: " + numbered("client", notPrinted) +
                    "; their reports are kept in the staging files in the program folder.";
            throw RunError(e.number(), told);
        }
    }
}

}  // namespace kcs::report
