// Whole reports compared byte for byte with reviewed copies. Set KCS_UPDATE_GOLDEN=1 to
// rewrite the copies after a deliberate change, and review the difference by eye.

#include <gtest/gtest.h>

#include <cstdlib>

#include "kcs/report/ScoreAndReport.h"
#include "kcs/test/ScoringFixture.h"

using namespace kcs::test;
using kcs::records::Field;

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

    struct Case {
        const char* name;
        const ClientBuilder& client;
        bool summary;
        char publisher;
        int index;  // the client's record number
        FixtureData data = {};
    };
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
        const std::string bytes =
            kcs::report::ComposeReport(table, static_cast<std::int16_t>(c.index), {folder.path(), c.publisher, c.summary});
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
