#pragma once
// The jobs the tests' CUPS queue received (cups-fixture.sh files each as jobs/job-NNNNNN),
// and what poppler reads out of a PDF job.

#include <QTest>
#include <cstdlib>
#include <optional>
#include <set>
#include <vector>

#include "kcs/test/Support.h"

namespace kcs::test {

class CupsCapture {
public:
    // The capture folder the test command started, or nullopt (the printing tests skip).
    static std::optional<CupsCapture> open() {
        const char* jobs = std::getenv("KCS_CUPS_JOBS");
        if (!jobs || !std::filesystem::is_directory(jobs)) return std::nullopt;
        return CupsCapture(jobs);
    }

    // The next `count` jobs in the order the queue took them; fewer when they do not come.
    std::vector<std::string> take(std::size_t count) {
        (void)QTest::qWaitFor([&] { return fresh().size() >= count; }, 60000);
        std::vector<std::string> jobs;
        for (const auto& n : fresh()) {
            taken_.insert(n);
            jobs.push_back(readFile(folder_ / n));
        }
        return jobs;
    }

private:
    explicit CupsCapture(std::filesystem::path folder) : folder_(std::move(folder)) { taken_ = fresh(); }
    // The jobs filed whole (the backend writes a job-NNNNNN.part first) and not yet taken.
    std::set<std::string> fresh() const {
        std::set<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(folder_)) {
            const std::string n = e.path().filename().string();
            if (n.starts_with("job-") && !n.ends_with(".part") && !taken_.contains(n)) out.insert(n);
        }
        return out;
    }
    std::filesystem::path folder_;
    std::set<std::string> taken_;
};

// What a poppler tool prints about a PDF's bytes.
inline std::string poppler(const std::string& tool, const std::string& pdf, const std::string& after = "") {
    const TempDir dir;
    writeFile(dir / "job.pdf", pdf);
    return runCommand(tool + " '" + (dir / "job.pdf").string() + "' " + after, dir.path()).out;
}

inline int pdfPages(const std::string& pdf) {
    const std::string info = poppler("pdfinfo", pdf);
    const auto at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

inline std::string pdfText(const std::string& pdf) { return poppler("pdftotext -layout", pdf, "-"); }

}  // namespace kcs::test
