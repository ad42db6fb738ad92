// Whole reports compared byte for byte with reviewed copies. Set KCS_UPDATE_GOLDEN=1 to
// rewrite the copies after a deliberate change, and review the difference by eye.

#include <gtest/gtest.h>

#include <cstdlib>

#include "kcs/report/ScoreAndReport.h"
#include "kcs/test/ScoringFixture.h"

using namespace kcs::scoring;
using namespace kcs::report;
using namespace kcs::test;
using kcs::records::Field;

namespace {

void expectGolden(const std::string& name, const ClientBuilder& client, bool summary, char publisher,
                  const FixtureData& data = FixtureData{}, int index = 1) {
    TempDir folder;
    data.write(folder.path());
    std::vector<kcs::records::ClientRecord> clients(static_cast<std::size_t>(index), ClientBuilder{}.build());
    clients.back() = client.build();
    auto table = tableOf(clients);
    const std::string bytes =
        ComposeReport(table, static_cast<std::int16_t>(index), {folder.path(), publisher, summary});
    const auto golden = std::filesystem::path(KCS_GOLDEN_DIR) / (name + ".prn");
    if (std::getenv("KCS_UPDATE_GOLDEN")) writeFile(golden, bytes);
    const std::string expected = readFile(golden);
    ASSERT_FALSE(expected.empty()) << "missing golden file " << golden;
    if (bytes != expected) {
        std::size_t at = 0;
        while (at < bytes.size() && at < expected.size() && bytes[at] == expected[at]) ++at;
        const auto line = std::count(bytes.begin(), bytes.begin() + static_cast<long>(at), '\n') + 1;
        FAIL() << name << " differs from its golden copy at byte " << at << " (line " << line << ")";
    }
}

}  // namespace

// Arrests raise Alcohol and Drugs (noted beside the significant items), significant items
// on three scales, a dependency classification with physiological dependence, elevated
// scales, a one-page summary page.
TEST(GoldenReport, DependentClientWithArrestsAndSummaryPage) {
    ClientBuilder c;
    c.set(Field::Name, "Jordan Q. Example").set(Field::Sex, "2").set(Field::Race, "3").set(Field::Marital, "1")
        .court(1, "16").court(2, "3").court(3, "2").court(4, "1").court(6, "5").court(7, "2").court(9, "2")
        .court(10, "1").court(11, "4");
    for (int i : {2, 5, 8, 11, 15, 16, 20, 21, 25, 31, 35, 36, 40, 41, 45, 52, 55, 56, 60, 71, 75, 76, 80})
        c.answer(i, 1);
    c.answer(7, 1).answer(66, 1).answer(141, 2).answer(142, 1).answer(145, 2).answer(149, 1).answer(153, 2)
        .answer(136, 3).answer(147, 2);
    for (int i = 100; i <= 135; ++i) c.answer(i, 1 + i % 4);
    expectGolden("dependent-summary", c, true, 'b', FixtureData{}, 3);
}

// An excessive number of True answers: the short report, second publisher.
TEST(GoldenReport, InvalidTestShortReport) {
    ClientBuilder c;
    c.set(Field::Name, "N").set(Field::Age, "N").set(Field::Education, "N").set(Field::DateOfBirth, "N")
        .set(Field::Sex, "0").set(Field::Race, "6").set(Field::Marital, "5").set(Field::TestDate, "1/5/2025")
        .court(9, "N").answers(1, 97, 1).answer(140, 0).answer(150, 3);
    expectGolden("invalid-test", c, true, 'c');
}

// Scales not scored, the omission notice of the classification, unanswered section 3
// items, empty significant-item blocks: a client who admits nothing.
TEST(GoldenReport, OmittedItemsAndUnansweredSection3) {
    ClientBuilder c;
    c.set(Field::Name, "Omitting Client").court(11, "N").answers(31, 35, 0).answers(120, 125, 0).answer(59, 0)
        .answer(62, 0).answer(136, 0).answer(147, 0).answer(150, 0).answer(158, 0).answer(3, 1);
    expectGolden("omissions", c, false, 'b', FixtureData{}, 12);
}

// Long narratives: paragraphs cross the page foot at line 58 and go on below the next
// page header, the page numbers pass 10 (shown by their last digit).
TEST(GoldenReport, LongNarrativesAcrossManyPages) {
    FixtureData data;
    data.narrativeLines = {0, 70, 60, 75, 56, 70, 64};
    ClientBuilder c;
    c.set(Field::Name, "Many Pages").answers(11, 60, 1).answer(74, 1);
    expectGolden("long-narratives", c, false, 'b', data, 7);
}

// The summary page prints the court values as the main report left them: a blank value,
// one space in the main report, has two on the summary page; "N" is "N/A" on both.
TEST(GoldenReport, SummaryPageCourtValuesMarkedUpTwice) {
    ClientBuilder c;
    c.set(Field::Name, "Blank Court").court(2, "").court(3, "N").court(6, "").court(7, "4").court(11, "");
    expectGolden("summary-court-values", c, true, 'b');
}
