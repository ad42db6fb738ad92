#include <gtest/gtest.h>

#include "kcs/common/Publishers.h"
#include "kcs/report/ReportWriter.h"
#include "kcs/report/ScoreAndReport.h"
#include "kcs/test/ScoringFixture.h"

using namespace kcs::scoring;
using namespace kcs::report;
using namespace kcs::test;

namespace {

std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = bytes.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(bytes.substr(start, at - start));
    EXPECT_EQ(start, bytes.size()) << "text after the last line end";
    return lines;
}

}  // namespace

TEST(ReportLayout, Section3StartsANewPageWhenItLacksRoom) {
    Scored l{ClientBuilder{}};
    const std::string notice = "         " + std::string(kcs::kProductNoticeLine) + "\r\n";
    struct Case { int lineCount; bool notice; bool page; };
    for (auto k : {Case{40, false, false}, Case{41, true, true}, Case{56, true, true}, Case{57, false, true},
                   Case{58, false, true}}) {
        ReportWriter w(l.scorer, 'b', false);
        w.PageNumber = 4;
        w.LineCount = k.lineCount;
        w.BreakBeforeSection3();
        const std::string& out = w.out().bytes();
        EXPECT_EQ(out.find(notice) != std::string::npos, k.notice) << k.lineCount;
        EXPECT_EQ(out.find("\f\r\n") != std::string::npos, k.page) << k.lineCount;
        EXPECT_EQ(w.LineCount, k.page ? 2 : k.lineCount);
    }
}

TEST(ReportLayout, AtThePageFootTheProductNoticeAndClosingBlankLineGiveWay) {
    Scored l{ClientBuilder{}};
    ReportWriter publisher(l.scorer, 'x', false);
    publisher.LineCount = 57;
    publisher.PrintPublisherNotice(2);
    EXPECT_EQ(publisher.out().bytes(), "        " + std::string(kcs::kSecondPublisher.reportLine) + "\r\n");
    ReportWriter note(l.scorer, 'b', false);
    note.LineCount = 55;
    note.PrintScaleInvalidNote(1);
    EXPECT_EQ(note.LineCount, 58);
    EXPECT_EQ(linesOf(note.out().bytes()).size(), 3u);
}

// Every report, whatever the answers, keeps the page discipline: CR LF lines, 80
// columns, pages of at most 60 lines.
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
            std::size_t pageLines = 0;
            for (const auto& line : linesOf(ComposeReport(table, n, {folder.path(), 'b', n % 2 == 0}))) {
                pageLines = line == "\f" ? 0 : pageLines + 1;
                EXPECT_LE(pageLines, 60u) << "round " << round << " client " << n;
                EXPECT_LE(line.size(), 80u);
            }
        }
    }
}

TEST(ScoreAndReport, WritesReportPrnWholeAndRemovesAStaleOneOnFailure) {
    TempDir folder;
    const auto& dir = folder.path();
    FixtureData{}.write(dir);
    auto table = tableOf({ClientBuilder{}.build()});
    ScoreAndReport(table, 1, {dir, 'b', false});
    EXPECT_EQ(readFile(dir / "REPORT.PRN"), ComposeReport(table, 1, {dir, 'b', false}));
    EXPECT_FALSE(std::filesystem::exists(dir / "report.prn"));

    // A narrative without the wanted label or its END line, an invalid-test text without
    // END: a clear error, and neither the stale report nor a temporary one left behind.
    FixtureData high;
    high.tables[0][2] = std::vector<int>(77, 60);
    writeFile(dir / "KCSB.TXT", high.scoringData());
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
        std::size_t files = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++files;
        EXPECT_EQ(files, 9u);  // the data files only
    }
}
