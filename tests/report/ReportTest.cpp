#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "Fixture.h"
#include "kcs/common/Publishers.h"
#include "kcs/report/ReportWriter.h"
#include "kcs/scoring/ScoreAndReport.h"

using namespace kcs::scoring;
using kcs::report::PrintFile;
using kcs::report::ReportWriter;
using kcs::testing::ClientBuilder;
using kcs::testing::FixtureData;
using kcs::testing::TempFolder;

namespace {

struct Loaded {
    TempFolder folder;
    Scorer scorer;
};

std::unique_ptr<Loaded> load(const ClientBuilder& client, const FixtureData& data = FixtureData{}) {
    auto l = std::make_unique<Loaded>();
    data.write(l->folder.path());
    auto table = kcs::testing::tableOf({client.build()});
    l->scorer.Score(l->folder.path(), table, 1);
    return l;
}

std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = bytes.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(bytes.substr(start, at - start));
    EXPECT_EQ(start, bytes.size()) << "text after the last line end";
    return lines;
}

// `left`, padded to column `column`, then `right`.
std::string at(const std::string& left, std::size_t column, const std::string& right) {
    return left + std::string(column - 1 - left.size(), ' ') + right;
}

std::vector<std::vector<std::string>> pagesOf(const std::string& bytes) {
    std::vector<std::vector<std::string>> pages(1);
    for (auto& l : linesOf(bytes)) {
        if (l == "\f") pages.emplace_back();
        else pages.back().push_back(l);
    }
    return pages;
}

}  // namespace

TEST(PrintFile, ColumnsNumbersAndTheTabPastTheColumn) {
    PrintFile f;
    f.spaces(7).text("ABC").column(12).text("x").column(12).text("y").endLine();
    f.number(35).number(-4).number(0).column(5).text("z").endLine();
    f.formFeedLine();
    EXPECT_EQ(f.bytes(), "       ABC x\r\n           y\r\n 35 -4  0 \r\n    z\r\n\f\r\n");
    PrintFile g;
    g.text("abcd").column(5).text("e").column(1).text("f");
    EXPECT_EQ(g.bytes(), "abcde\r\nf");
}

TEST(ReportLayout, ChartColumnsOfOneAndTwoDigitPercentiles) {
    auto l = load(ClientBuilder{});
    auto& sc = l->scorer.scores();
    sc.Percentile[1] = 9;
    sc.Percentile[2] = 10;
    sc.Percentile[3] = 100;
    sc.Percentile[4] = 39;
    sc.Percentile[5] = 40;
    sc.Percentile[6] = 90;
    sc.AlcoholArrestFloor = true;
    ReportWriter w(l->scorer, 'b', false);
    w.PrintProfileChart(1, 6);
    EXPECT_EQ(w.LineCount, 19);
    const auto lines = linesOf(w.out().bytes());
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[4], at(at("       TRUTHFULNESS", 29, " 9 "), 38, "****............-...........-.......-...-"));
    EXPECT_EQ(lines[6], at(at("       ALCOHOL", 28, " 10 *"), 38, "*****...........-...........-.......-...-"));
    EXPECT_EQ(lines[8], at(at("       DRUGS", 28, " 100 "), 38, std::string(41, '*')));
    EXPECT_EQ(lines[10], at(at("       RESISTANCE", 28, " 39 "), 38, "****************-...........-.......-...-"));
    EXPECT_EQ(lines[12], at(at("       VIOLENCE", 28, " 40 "), 38, "*****************...........-.......-...-"));
    EXPECT_EQ(lines[15], at("", 38, "+---------------+-----------+-------+---+"));
    EXPECT_EQ(lines[17], at("       * Minimum Scale Score", 38, "----------- PERCENTILE SCORES -----------"));
    EXPECT_EQ(lines[18], "");
}

TEST(ReportLayout, PageHeaderShowsTheLastDigitOfThePageNumber) {
    auto l = load(ClientBuilder{});
    ReportWriter w(l->scorer, 'b', false);
    w.PageNumber = 9;
    w.PrintPageHeader();
    w.PrintPageHeader();
    EXPECT_EQ(w.PageNumber, 11);
    EXPECT_EQ(w.LineCount, 2);
    EXPECT_EQ(w.out().bytes(),
              "\f\r\n" + at(at("       NAME: Test Client", 41, "-0-"), 69, "KCS REPORT") + "\r\n\r\n" +
              "\f\r\n" + at(at("       NAME: Test Client", 41, "-1-"), 69, "KCS REPORT") + "\r\n\r\n");
}

TEST(ReportLayout, NarrativeCrossingTheFootContinuesAfterAPageHeader) {
    FixtureData data;
    data.narrativeLines[2] = 20;
    auto l = load(ClientBuilder{}, data);
    ReportWriter w(l->scorer, 'b', false);
    w.LineCount = 50;
    w.PageNumber = 3;
    w.PrintScaleNarrative(2);
    const auto lines = linesOf(w.out().bytes());
    EXPECT_EQ(lines[0], at("       ALCOHOL SCALE: LOW RISK RANGE", 61, "RISK PERCENTILE:0"));
    EXPECT_EQ(lines[1], "        Scale 2 in the LOW range: the client's answers");
    // Heading at 51, paragraph lines 52..58, then the header; 21 paragraph lines in all.
    EXPECT_EQ(lines[8], "\f");
    EXPECT_EQ(lines[9].substr(0, 31), "       NAME: Test Client       ");
    EXPECT_EQ(w.LineCount, 2 + 21 - 7);
}

TEST(ReportLayout, SignificantItemsInTwoColumnsAndEmptyBlocks) {
    ClientBuilder c;
    c.answer(11, 1).answer(15, 1).answer(16, 1).answer(12, 1).court(10, "3");
    auto l = load(c);
    ReportWriter w(l->scorer, 'b', false);
    w.LineCount = 10;
    w.PrintSignificantItems();
    const auto lines = linesOf(w.out().bytes());
    EXPECT_EQ(lines[4], at("       ALCOHOL", 44, "DRUGS"));
    EXPECT_EQ(lines[5], at("       -------", 44, "-----"));
    EXPECT_EQ(lines[6], at("       11. Admits item 11", 44, "** Score due to drug arrests"));
    EXPECT_EQ(lines[7], "       15. Admits item 15");
    EXPECT_EQ(lines[8], "       16. Admits item 16");
    EXPECT_EQ(lines[9], "");
    EXPECT_EQ(lines[10], at("       RESISTANCE", 44, "VIOLENCE"));
    EXPECT_EQ(lines[12], at("       No significant items were reported", 44, "No significant items were reported"));
    EXPECT_EQ(lines[13], at("       for this scale.", 44, "for this scale."));
    EXPECT_EQ(lines.size(), 16u);
    EXPECT_EQ(w.LineCount, 10 + 4 + 5 + 1 + 4 + 1 + 1);
}

TEST(ReportLayout, UnansweredSection3ItemsAndTheExtraCount) {
    ClientBuilder c;
    c.answer(136, 0).answer(137, 2).answer(158, 0);
    auto l = load(c);
    ReportWriter w(l->scorer, 'b', false);
    w.LineCount = 2;
    w.PrintSection3Answers();
    const auto lines = linesOf(w.out().bytes());
    EXPECT_EQ(lines[6], "       136. No response given");
    EXPECT_EQ(lines[7], "       137. Statement 137: sometimes");
    EXPECT_EQ(lines[28], "       158. No response given");
    EXPECT_EQ(lines[29], "");
    EXPECT_EQ(w.LineCount, 2 + 6 + 23 + 1 + 1);
}

TEST(ReportLayout, Section3StartsANewPageWhenItLacksRoom) {
    auto l = load(ClientBuilder{});
    const std::string notice = "         " + std::string(kcs::kProductNoticeLine) + "\r\n";
    struct Case { int lineCount; bool notice; bool page; };
    for (auto k : {Case{40, false, false}, Case{41, true, true}, Case{56, true, true}, Case{57, false, true},
                   Case{58, false, true}}) {
        ReportWriter w(l->scorer, 'b', false);
        w.PageNumber = 4;
        w.LineCount = k.lineCount;
        w.BreakBeforeSection3();
        const std::string& out = w.out().bytes();
        EXPECT_EQ(out.find(notice) != std::string::npos, k.notice) << k.lineCount;
        EXPECT_EQ(out.find("\f\r\n") != std::string::npos, k.page) << k.lineCount;
        EXPECT_EQ(w.LineCount, k.page ? 2 : k.lineCount);
    }
}

TEST(ReportLayout, PublisherFootsAndTheInvalidNote) {
    auto l = load(ClientBuilder{});
    ReportWriter first(l->scorer, 'b', false);
    first.LineCount = 53;
    first.PrintPublisherNotice(2);
    EXPECT_EQ(first.out().bytes(), "\r\n\r\n\r\n         " + std::string(kcs::kFirstPublisher.reportLine) +
                                       "\r\n         " + std::string(kcs::kProductNoticeLine) + "\r\n");
    EXPECT_EQ(first.LineCount, 58);
    ReportWriter second(l->scorer, 'x', false);
    second.LineCount = 57;
    second.PrintPublisherNotice(2);
    EXPECT_EQ(second.out().bytes(), "        " + std::string(kcs::kSecondPublisher.reportLine) + "\r\n");
    ReportWriter note(l->scorer, 'b', false);
    note.LineCount = 55;
    note.PrintScaleInvalidNote(1);
    EXPECT_EQ(note.LineCount, 58);  // no closing blank line at the foot
    EXPECT_EQ(linesOf(note.out().bytes()).size(), 3u);
}

// Every report, whatever the answers, keeps the page discipline: CR LF lines, 80
// columns, pages of at most 60 lines, page numbers in sequence.
TEST(ReportLayout, RandomClientsKeepThePageDiscipline) {
    std::mt19937 random(4);
    for (int round = 0; round < 12; ++round) {
        FixtureData data;
        for (int s = 1; s <= 6; ++s) data.narrativeLines[static_cast<std::size_t>(s)] = static_cast<int>(random() % 40);
        TempFolder folder;
        data.write(folder.path());
        std::vector<kcs::records::ClientRecord> clients;
        for (int n = 0; n < 20; ++n) {
            ClientBuilder c;
            const int trueShare = static_cast<int>(random() % 100);
            for (int i = 1; i <= 99; ++i) c.answer(i, static_cast<int>(random() % 100) < trueShare ? 1 : 2);
            for (int i = 100; i <= 158; ++i) c.answer(i, static_cast<int>(random() % 5));
            for (int k = 1; k <= 11; ++k) c.court(k, std::to_string(random() % 8));
            clients.push_back(c.build());
        }
        auto table = kcs::testing::tableOf(clients);
        for (std::int16_t n = 1; n <= 20; ++n) {
            const auto bytes = ComposeReport(table, n, {folder.path(), 'b', n % 2 == 0});
            const auto pages = pagesOf(bytes);
            for (std::size_t p = 0; p < pages.size(); ++p) {
                EXPECT_LE(pages[p].size(), 60u) << "round " << round << " client " << n << " page " << p + 1;
                for (const auto& line : pages[p]) EXPECT_LE(line.size(), 80u);
            }
        }
    }
}

TEST(ScoreAndReport, WritesReportPrnWholeAndRemovesAStaleOneOnFailure) {
    TempFolder folder;
    FixtureData data;
    data.write(folder.path());
    auto table = kcs::testing::tableOf({ClientBuilder{}.build()});
    const auto report = folder.path() / "REPORT.PRN";
    ScoreAndReport(table, 1, {folder.path(), 'b', false});
    const std::string bytes = kcs::testing::readBytes(report);
    EXPECT_EQ(bytes, ComposeReport(table, 1, {folder.path(), 'b', false}));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "report.prn"));

    // A narrative without the wanted label: a clear error, and no report left behind.
    kcs::testing::writeBytes(folder.path() / "KCSDG.TXT", "LOW\r\nonly one block\r\nEND\r\n");
    auto clients = kcs::testing::tableOf({ClientBuilder{}.answer(31, 1).build()});
    FixtureData high;
    high.tables[0][2] = std::vector<int>(77, 60);
    kcs::testing::writeBytes(folder.path() / "KCSB.TXT", high.scoringData());
    try {
        ScoreAndReport(clients, 1, {folder.path(), 'b', false});
        FAIL();
    } catch (const DataError& e) {
        EXPECT_EQ(std::string(e.what()), "KCSDG.TXT: no block is headed \"MEDIUM-HIGH\"");
    }
    EXPECT_FALSE(std::filesystem::exists(report));
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++files;
    EXPECT_EQ(files, 9u);  // the data files only, no temporary report

    kcs::testing::writeBytes(folder.path() / "KCSDG.TXT", "MEDIUM-HIGH\r\nno end marker\r\n");
    try {
        ScoreAndReport(clients, 1, {folder.path(), 'b', false});
        FAIL();
    } catch (const DataError& e) {
        EXPECT_EQ(std::string(e.what()), "KCSDG.TXT, line 1: the block \"MEDIUM-HIGH\" has no END line");
    }

    auto invalid = kcs::testing::tableOf({ClientBuilder{}.answers(1, 99, 1).build()});
    kcs::testing::writeBytes(folder.path() / "INVAL.TXT", "no end marker here\r\n");
    EXPECT_THROW(ScoreAndReport(invalid, 1, {folder.path(), 'b', false}), DataError);
    EXPECT_FALSE(std::filesystem::exists(report));
}
