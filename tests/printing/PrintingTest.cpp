// Reports printed for real through the system's default printer (the tests' own CUPS
// queue), checked by what the queue received.
#include <gtest/gtest.h>

#include "CupsCapture.h"
#include "SupervisorTestSupport.h"
#include "kcs/common/RunError.h"
#include "kcs/program/CupsPrinter.h"
#include "kcs/menus/SupervisorForms.h"
#include "kcs/report/PrintReport.h"

using namespace kcs;
using namespace kcs::testutil;

namespace {

struct Printing : SupervisorFixture {
    program::CupsPrinter cups;
    std::optional<test::CupsCapture> queue = test::CupsCapture::open();
    menus::SupervisorFlows realFlows{store, screens, dialogs, cups, paths, options};

    void SetUp() override {
        if (!queue) GTEST_SKIP() << "no CUPS scheduler of the tests' own (the test command starts one as root)";
    }
    std::string reportFile() const { return readFile(folder.path() / report::kReportFileName); }
};

}  // namespace

TEST_F(Printing, AFourPageReportPrintsAsFourPagesInAFixedPitchFont) {
    std::string text;
    for (int page = 1; page <= 4; ++page) {
        if (page > 1) text += "\f\r\n";
        for (int line = 1; line <= 58; ++line) text += "       page " + std::to_string(page) + " line " + std::to_string(line) + "\r\n";
    }
    writeFile(folder.path() / report::kReportFileName, text);
    report::PrintReport(folder.path(), false, cups, "KCS report 1");
    const auto jobs = queue->take(1);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(test::pdfPages(jobs[0]), 4);
    const std::string shown = test::pdfText(jobs[0]);
    // Every line of a page is on its printer page: the first and the 58th, in order.
    std::size_t at = 0;
    for (int page = 1; page <= 4; ++page) {
        for (const char* line : {" line 1\n", " line 58"}) {
            at = shown.find("page " + std::to_string(page) + line, at);
            ASSERT_NE(at, std::string::npos) << page << line;
        }
    }
    // The 80-column layout lines up only in a fixed-pitch font.
    EXPECT_NE(test::poppler("pdffonts", jobs[0]).find("Mono"), std::string::npos) << test::poppler("pdffonts", jobs[0]);
    EXPECT_EQ(reportFile(), text);
}

TEST_F(Printing, ToThePortTheJobIsTheReportFileWithItsClosingFormFeedByteForByte) {
    store.select(2);
    report::ScoreAndReport(store.table(), 2, realFlows.reportOptions(false));
    const std::string before = reportFile();
    report::PrintReport(folder.path(), true, cups, "KCS report 2");
    const auto jobs = queue->take(1);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0], before + "\f\r\n");
}

TEST_F(Printing, PrintAllPrintsEveryReportInClientOrderWithOrWithoutTheSummaryPage) {
    for (bool summary : {false, true}) {
        realFlows.execute(menus::kReportsTab, menus::kPrintAll, summary);
        const auto jobs = queue->take(3);
        ASSERT_EQ(jobs.size(), 3u);
        const char* names[] = {"Ann Lee", "Bob Roe", "Cy Young"};
        for (int n = 1; n <= 3; ++n) {
            const std::string job = jobs[static_cast<std::size_t>(n - 1)];
            const std::string expected = readFile(report::StagingFile(folder.path(), n));
            EXPECT_EQ(expected, report::ComposeReport(store.table(), static_cast<std::int16_t>(n),
                                                      realFlows.reportOptions(summary)));
            EXPECT_EQ(test::pdfPages(job),
                      static_cast<int>(report::SplitReportPages(expected.substr(0, expected.size() - 1)).size()));
            const std::string shown = test::pdfText(job);
            EXPECT_NE(shown.find(std::string("NAME OR ID#: ") + names[n - 1]), std::string::npos);
            EXPECT_EQ(shown.find("ONE-PAGE SUMMARY") != std::string::npos, summary);
        }
        EXPECT_EQ(store.CurClient(), 1);
    }
}

TEST(NoPrinter, TheSupervisorIsToldAndTheReportStays) {
    const char* server = std::getenv("CUPS_SERVER");
    if (!server || std::filesystem::exists(server)) GTEST_SKIP() << "run with CUPS_SERVER naming no scheduler";
    kcs::test::TempDir folder;
    writeFile(folder.path() / report::kReportFileName, "a report\r\n");
    program::CupsPrinter cups;
    for (bool printDOS : {false, true}) {
        try {
            report::PrintReport(folder.path(), printDOS, cups, "KCS report 1");
            ADD_FAILURE() << "printed without a printer";
        } catch (const RunError& e) {
            EXPECT_EQ(e.number(), err::DeviceUnavailable);
            EXPECT_EQ(e.description(), "No printer is set up on this computer, so the report was not printed.");
        }
    }
    EXPECT_EQ(readFile(folder.path() / report::kReportFileName), "a report\r\n\f\r\n");
}
