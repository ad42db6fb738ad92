#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

#include "kcs/report/ScoreAndReport.h"
#include "kcs/test/ScoringFixture.h"

using namespace kcs::test;

namespace {

struct Result {
    int status;
    std::string err;
};

Result runTool(const std::string& args, const std::filesystem::path& scratch) {
    const auto errFile = scratch / "stderr.txt";
    const std::string command = std::string(KCS_REPORT_TOOL) + " " + args + " 2>" + errFile.string();
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(errFile)};
}

}  // namespace

TEST(KcsReportTool, ReportsCsvAndExitStatuses) {
    TempDir folder;
    const auto& dir = folder.path();
    FixtureData{}.write(dir);
    ClientBuilder second;
    second.set(kcs::records::Field::Name, "Smith, \"Al\"").answer(11, 1).court(9, "2");
    const std::vector<kcs::records::ClientRecord> clients{ClientBuilder{}.build(), second.build()};
    writeFile(dir / "DATA401.KCS", clientFileBytes(clients));
    const std::string base = "--program-folder " + dir.string() + " --client-file " + (dir / "DATA401.KCS").string();

    auto r = runTool(base + " --client 2 --summary --publisher-flag c --output " + (dir / "two.prn").string(), dir);
    EXPECT_EQ(r.status, 0) << r.err;
    auto table = tableOf(clients);
    EXPECT_EQ(readFile(dir / "two.prn"), kcs::report::ComposeReport(table, 2, {dir, 'c', true}));
    EXPECT_FALSE(std::filesystem::exists(dir / "REPORT.PRN"));

    r = runTool(base + " --all --output-dir " + (dir / "all").string(), dir);
    EXPECT_EQ(r.status, 0) << r.err;
    for (std::int16_t n : {1, 2})
        EXPECT_EQ(readFile(dir / "all" / ("report-" + std::to_string(n) + ".prn")),
                  kcs::report::ComposeReport(table, n, {dir, 'b', false}));

    r = runTool(base + " --csv " + (dir / "plain.csv").string(), dir);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string csv = readFile(dir / "plain.csv");
    EXPECT_EQ(csv.find("Smith"), std::string::npos);
    EXPECT_NE(csv.find("\r\n2,03/15/2025,0,0,1,1,4,61,2,1,"), std::string::npos) << csv;
    r = runTool(base + " --csv " + (dir / "names.csv").string() + " --with-names", dir);
    EXPECT_NE(readFile(dir / "names.csv").find(",\"Smith, \"\"Al\"\"\","), std::string::npos);
    // Names stay with the supervisor: the files and the folder made for them are theirs alone.
    namespace fs = std::filesystem;
    EXPECT_EQ(fs::status(dir / "names.csv").permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(dir / "all").permissions() & fs::perms::all, fs::perms::owner_all);

    // Wrong usage: 2. Data errors: 1, naming the file.
    EXPECT_EQ(runTool(base, dir).status, 2);
    EXPECT_EQ(runTool(base + " --client 0 --output x", dir).status, 2);
    EXPECT_EQ(runTool(base + " --client 1 --all --output x", dir).status, 2);
    r = runTool(base + " --client 3 --output " + (dir / "three.prn").string(), dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("there is no client 3"), std::string::npos) << r.err;

    writeFile(dir / "KCSVI.TXT", "LOW\r\nno end\r\n");
    r = runTool(base + " --client 1 --output " + (dir / "all" / "two.prn").string(), dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kcs-report: KCSVI.TXT, line 1: the block \"LOW\" has no END line\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "all" / "two.prn"));  // never a partial report

    r = runTool("--program-folder " + dir.string() + " --client-file " + (dir / "none.KCS").string() +
                    " --csv x.csv", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "none.KCS"));
}
