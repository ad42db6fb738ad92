#include <gtest/gtest.h>

#include "kcs/report/ScoreAndReport.h"
#include "kcs/test/ScoringFixture.h"

using namespace kcs::test;

namespace {

CommandRun runTool(const std::string& args, const std::filesystem::path& scratch) {
    return runCommand(std::string(KCS_REPORT_TOOL) + " " + args, scratch);
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
    runTool(base + " --csv " + (dir / "names.csv").string() + " --with-names", dir);  // quoting: bad-input table
    // Names stay with the supervisor: the files and the folder made for them are theirs alone.
    namespace fs = std::filesystem;
    EXPECT_EQ(fs::status(dir / "names.csv").permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(dir / "all").permissions() & fs::perms::all, fs::perms::owner_all);

    // Wrong usage: 2; a client the file does not hold: 1. (Bad data files: the bad-input table.)
    EXPECT_EQ(runTool(base, dir).status, 2);
    EXPECT_EQ(runTool(base + " --client 0 --output x", dir).status, 2);
    EXPECT_EQ(runTool(base + " --client 1 --all --output x", dir).status, 2);
    r = runTool(base + " --client 3 --output " + (dir / "three.prn").string(), dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("there is no client 3"), std::string::npos) << r.err;
}
