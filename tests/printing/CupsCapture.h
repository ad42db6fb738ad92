#pragma once
// The jobs the tests' CUPS queue received (cups-fixture.sh files each as jobs/job-NNNNNN),
// and what poppler reads out of a PDF job.

#include <gtest/gtest.h>

#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kcs::test {

class CupsCapture {
public:
    // The capture folder the test command started, or nullopt when there is none (then the
    // printing tests skip).
    static std::optional<CupsCapture> open() {
        const char* jobs = std::getenv("KCS_CUPS_JOBS");
        if (!jobs || !std::filesystem::is_directory(jobs)) return std::nullopt;
        CupsCapture c;
        c.folder_ = jobs;
        c.seen_ = c.names();
        return c;
    }

    // The next `count` jobs in the order the queue took them; fewer when they do not come.
    std::vector<std::string> take(std::size_t count) {
        std::set<std::string> fresh;
        (void)QTest::qWaitFor([&] {
            fresh.clear();
            for (const auto& n : names())
                if (!seen_.count(n)) fresh.insert(n);
            return fresh.size() >= count;
        }, 60000);
        std::vector<std::string> jobs;
        for (const auto& n : fresh) {
            seen_.insert(n);
            std::ifstream in(folder_ / n, std::ios::binary);
            jobs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        return jobs;
    }

private:
    std::set<std::string> names() const {
        std::set<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(folder_)) {
            const std::string n = e.path().filename().string();
            if (n.starts_with("job-") && !n.ends_with(".part")) out.insert(n);
        }
        return out;
    }
    std::filesystem::path folder_;
    std::set<std::string> seen_;
};

// Runs a poppler tool on a PDF's bytes and returns what it printed.
inline std::string poppler(const std::string& tool, const std::string& pdf, const std::string& after = "") {
    const auto file = std::filesystem::temp_directory_path() / ("kcs-job-" + std::to_string(::getpid()) + ".pdf");
    std::ofstream(file, std::ios::binary) << pdf;
    std::string out;
    if (FILE* p = ::popen((tool + " '" + file.string() + "' " + after + " 2>&1").c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        ::pclose(p);
    }
    std::filesystem::remove(file);
    return out;
}

inline int pdfPages(const std::string& pdf) {
    const std::string info = poppler("pdfinfo", pdf);
    const auto at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

inline std::string pdfText(const std::string& pdf) { return poppler("pdftotext -layout", pdf, "-"); }
inline std::string pdfFonts(const std::string& pdf) { return poppler("pdffonts", pdf); }

}  // namespace kcs::test
