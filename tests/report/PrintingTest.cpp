// The report leaving the program: pages cut at the form feeds, the raw road with its
// closing form feed, and several clients scored into staging files and printed in order.
#include <gtest/gtest.h>

#include "kcs/report/PrintReport.h"
#include "kcs/test/ScoringFixture.h"

using namespace kcs::report;
using namespace kcs::test;

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
        {"only\r\n", {"only\r\n"}},
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
