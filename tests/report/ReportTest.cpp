#include <gtest/gtest.h>

#include "kcs/report/ScoreAndReport.h"
#include "kcs/test/ScoringFixture.h"

using namespace kcs::report;
using namespace kcs::test;

// Every report, whatever the answers and narrative lengths, keeps the page discipline: CR LF
// lines, 80 columns, pages of at most 60 lines.
TEST(ReportLayout, RandomClientsKeepThePageDiscipline) {
    std::mt19937 random(4);
    for (int round = 0; round < 12; ++round) {
        FixtureData data;
        for (int s = 1; s <= 6; ++s) data.narrativeLines[static_cast<std::size_t>(s)] = static_cast<int>(random() % 40);
        TempDir folder;
        data.write(folder.path());
        std::vector<kcs::records::ClientRecord> clients;
        for (int n = 0; n < 20; ++n) clients.push_back(randomClient(random, 100, true, 8).build());
        auto table = tableOf(clients);
        for (std::int16_t n = 1; n <= 20; ++n) {
            const std::string bytes = ComposeReport(table, n, {folder.path(), 'b', n % 2 == 0});
            ASSERT_TRUE(bytes.ends_with("\r\n")) << "text after the last line end";
            std::size_t pageLines = 0;
            for (std::size_t start = 0, end; start < bytes.size(); start = end + 2) {
                end = bytes.find("\r\n", start);
                const std::string line = bytes.substr(start, end - start);
                EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a bare line end, client " << n;
                pageLines = line == "\f" ? 0 : pageLines + 1;
                EXPECT_LE(pageLines, 60u) << "round " << round << " client " << n;
                EXPECT_LE(line.size(), 80u);
            }
        }
    }
}

// A report written whole, and no report after a fault of a client record, are the disk-fault
// test's and the report fuzzer's; here the faults of the narrative and invalid-test texts.
TEST(ScoreAndReport, TextFileFaultsAreNamedAndNoReportIsLeft) {
    TempDir folder;
    const auto& dir = folder.path();
    FixtureData high;
    high.tables[0][2] = std::vector<int>(77, 60);
    high.write(dir);
    auto drugs = tableOf({ClientBuilder{}.answer(31, 1).build()});
    auto invalid = tableOf({ClientBuilder{}.answers(1, 99, 1).build()});
    struct Case { const char* file; const char* text; kcs::records::ClientTable& table; const char* message; };
    for (const auto& k : {Case{"KCSDG.TXT", "LOW\r\nonly one block\r\nEND\r\n", drugs, "KCSDG.TXT: no block is headed \"MEDIUM-HIGH\""},
                          Case{"KCSDG.TXT", "MEDIUM-HIGH\r\nno end marker\r\n", drugs, "KCSDG.TXT, line 1: the block \"MEDIUM-HIGH\" has no END line"},
                          Case{"INVAL.TXT", "no end marker here\r\n", invalid, "INVAL.TXT: the text has no END line"}}) {
        writeFile(dir / "REPORT.PRN", "an earlier client's report");
        writeFile(dir / k.file, k.text);
        EXPECT_EQ(errorOf([&] { ScoreAndReport(k.table, 1, {dir, 'b', false}); }), k.message);
        EXPECT_FALSE(std::filesystem::exists(dir / "REPORT.PRN"));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 9) << "the data files only";
    }
}
