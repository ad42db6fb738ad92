#include <gtest/gtest.h>

#include <cstdlib>

#include "kcs/report/PrintReport.h"
#include "kcs/report/ScoreAndReport.h"
#include "kcs/test/ScoringFixture.h"

using namespace kcs::report;
using namespace kcs::test;
using kcs::records::Field;

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

// Whole reports compared byte for byte with reviewed copies. Set KCS_UPDATE_GOLDEN=1 to
// rewrite the copies after a deliberate change, and review the difference by eye.
TEST(GoldenReport, EachCaseIsByteForByteItsReviewedCopy) {
    // Arrests raise Alcohol and Drugs (noted beside the significant items), significant items
    // on three scales, a dependency classification with physiological dependence, elevated
    // scales, a one-page summary page.
    ClientBuilder dependent;
    dependent.set(Field::Name, "Jordan Q. Example").set(Field::Sex, "2").set(Field::Race, "3").set(Field::Marital, "1")
        .court(1, "16").court(2, "3").court(3, "2").court(4, "1").court(6, "5").court(7, "2").court(9, "2")
        .court(10, "1").court(11, "4");
    for (int i : {2, 5, 8, 11, 15, 16, 20, 21, 25, 31, 35, 36, 40, 41, 45, 52, 55, 56, 60, 71, 75, 76, 80})
        dependent.answer(i, 1);
    dependent.answer(7, 1).answer(66, 1).answer(141, 2).answer(142, 1).answer(145, 2).answer(149, 1).answer(153, 2)
        .answer(136, 3).answer(147, 2);
    for (int i = 100; i <= 135; ++i) dependent.answer(i, 1 + i % 4);
    // An excessive number of True answers: the short report, second publisher.
    ClientBuilder invalid;
    invalid.set(Field::Name, "N").set(Field::Age, "N").set(Field::Education, "N").set(Field::DateOfBirth, "N")
        .set(Field::Sex, "0").set(Field::Race, "6").set(Field::Marital, "5").set(Field::TestDate, "1/5/2025")
        .court(9, "N").answers(1, 97, 1).answer(140, 0).answer(150, 3);
    // Scales not scored, the omission notice of the classification, unanswered section 3
    // items, empty significant-item blocks: a client who admits nothing.
    ClientBuilder omitting;
    omitting.set(Field::Name, "Omitting Client").court(11, "N").answers(31, 35, 0).answers(120, 125, 0).answer(59, 0)
        .answer(62, 0).answer(136, 0).answer(147, 0).answer(150, 0).answer(158, 0).answer(3, 1);
    // Long narratives: paragraphs cross the page foot at line 58 and go on below the next
    // page header, the page numbers pass 10 (shown by their last digit).
    FixtureData longNarratives;
    longNarratives.narrativeLines = {0, 70, 60, 75, 56, 70, 64};
    ClientBuilder manyPages;
    manyPages.set(Field::Name, "Many Pages").answers(11, 60, 1).answer(74, 1);
    // The summary page prints the court values as the main report left them: a blank value,
    // one space in the main report, has two on the summary page; "N" is "N/A" on both.
    ClientBuilder blankCourt;
    blankCourt.set(Field::Name, "Blank Court").court(2, "").court(3, "N").court(6, "").court(7, "4").court(11, "");

    struct Case { const char* name; const ClientBuilder& client; bool summary; char publisher; int index;  // record number
                  FixtureData data = {}; };
    for (const auto& c : {Case{"dependent-summary", dependent, true, 'b', 3}, Case{"invalid-test", invalid, true, 'c', 1},
                          Case{"omissions", omitting, false, 'b', 12},
                          Case{"long-narratives", manyPages, false, 'b', 7, longNarratives},
                          Case{"summary-court-values", blankCourt, true, 'b', 1}}) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        c.data.write(folder.path());
        std::vector<kcs::records::ClientRecord> clients(static_cast<std::size_t>(c.index), ClientBuilder{}.build());
        clients.back() = c.client.build();
        auto table = tableOf(clients);
        const std::string bytes = ComposeReport(table, static_cast<std::int16_t>(c.index), {folder.path(), c.publisher, c.summary});
        const auto golden = std::filesystem::path(KCS_GOLDEN_DIR) / (std::string(c.name) + ".prn");
        if (std::getenv("KCS_UPDATE_GOLDEN")) writeFile(golden, bytes);
        const std::string expected = readFile(golden);
        ASSERT_FALSE(expected.empty()) << "missing golden file " << golden;
        if (bytes != expected) {
            const auto at = std::mismatch(bytes.begin(), bytes.end(), expected.begin(), expected.end()).first - bytes.begin();
            ADD_FAILURE() << "differs from its golden copy at byte " << at << " (line "
                          << std::count(bytes.begin(), bytes.begin() + at, '\n') + 1 << ")";
        }
    }
}

// The report leaving the program: pages cut at the form feeds, the raw road with its
// closing form feed, and several clients scored into staging files and printed in order.
namespace {

// Keeps each raw job's bytes; the n-th job (from 1) is refused.
struct Recorder : Printer {
    std::vector<std::string> jobs;
    int failAtJob = 0;
    void printPages(const std::string& name, const std::vector<std::string>&) override { printRaw(name, "pages"); }
    void printRaw(const std::string&, const std::string& bytes) override {
        if (static_cast<int>(jobs.size()) + 1 == failAtJob) throw kcs::RunError(482, "Out of paper.");
        jobs.push_back(bytes);
    }
};

}  // namespace

TEST(ReportPages, CutAtEachFormFeedWithTheBreakLineGoing) {
    struct Case { std::string file; std::vector<std::string> pages; } cases[] = {
        // Four pages: three page breaks; the file's last line feed is not part of the text.
        {"one\r\n\f\r\nNAME -2-\r\n\r\ntwo\r\n\f\r\nthree\r\n\f\r\nfour\r\n",
         {"one\r\n", "NAME -2-\r\n\r\ntwo\r\n", "three\r\n", "four\r\n"}},
        // A form feed inside a line ends the page there.
        {"a\fb\r\n", {"a\r\n", "b\r\n"}},
        // Printed twice to the port: the closing form feeds make empty pages.
        {"x\r\n\f\r\n\f\r\n", {"x\r\n", "", ""}},
    };
    for (const auto& c : cases) {
        TempDir folder;
        writeFile(folder.path() / kReportFileName, c.file);
        EXPECT_EQ(ReadReportText(folder.path()), c.file.substr(0, c.file.size() - 1));
        EXPECT_EQ(SplitReportPages(ReadReportText(folder.path())), c.pages) << c.file;
    }
}

// The page road and one raw print are also the real-printer tests'.
TEST(PrintReport, TheRawFileGetsAClosingFormFeedEachTime) {
    TempDir folder;
    const std::string report = "page one\r\n\f\r\npage two\r\n";
    writeFile(folder.path() / kReportFileName, report);
    Recorder printer;
    PrintReport(folder.path(), true, printer, "KCS report 4");
    PrintReport(folder.path(), true, printer, "KCS report 4");
    ASSERT_EQ(printer.jobs.size(), 2u);
    EXPECT_EQ(printer.jobs[0], report + "\f\r\n");
    EXPECT_EQ(printer.jobs[1], report + "\f\r\n\f\r\n");
    EXPECT_EQ(readFile(folder.path() / kReportFileName), printer.jobs[1]);

    RemoveReportFiles(folder.path());
    EXPECT_FALSE(std::filesystem::exists(folder.path() / kReportFileName));
    EXPECT_EQ(errorNumber([&] { PrintReport(folder.path(), false, printer, "x"); }), 53) << "printed without a report";
}

TEST(PrintReports, APrinterThatFailsHalfWaySaysWhichReportsWerePrinted) {
    TempDir folder;
    FixtureData{}.write(folder.path());
    auto table = tableOf(std::vector<kcs::records::ClientRecord>(4, ClientBuilder{}.build()));
    const ReportOptions options{folder.path(), 'b', false};
    Recorder printer;
    printer.failAtJob = 2;
    try {
        PrintReports(table, {1, 2, 3, 4}, options, true, printer);
        ADD_FAILURE() << "the refused job is not reported";
    } catch (const kcs::RunError& e) {
        EXPECT_EQ(e.number(), 482);
        EXPECT_EQ(e.description(), "Out of paper. Printed: client 1. Not printed: clients 2 to 4; their reports are kept in the "
                    "staging files in the program folder.");
    }
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0], ComposeReport(table, 1, options) + "\f\r\n");
    EXPECT_EQ(readFile(StagingFile(folder.path(), 4)), ComposeReport(table, 4, options));

    // A client that cannot be scored stops the run before anything is printed.
    printer = Recorder{};
    table.Clients[3].setAnswer(5, 'x');
    EXPECT_ANY_THROW(PrintReports(table, {1, 2, 3}, options, false, printer));
    EXPECT_TRUE(printer.jobs.empty());
}
