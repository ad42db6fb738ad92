#include <gtest/gtest.h>

#include "kcs/report/Paragraph.h"
#include "kcs/test/ScoringFixture.h"

using namespace kcs::scoring;
using namespace kcs::test;

namespace {

// The classification in print mode, paragraph included.
Classification classify(const ClientBuilder& client, const FixtureData& data = FixtureData{}) {
    return Scored(client, data).scorer.ClassifySubstanceUse(2);
}

}  // namespace

TEST(Classification, CriteriaCountsAndOmissions) {
    FixtureData unansweredEarns;
    unansweredEarns.section3Points = {3, 3, 2, 1, 0};  // no answer earns 3 on section 3 items
    ClientBuilder two, criterionFour, arrests;
    two.answer(7, 1).answer(146, 2);
    criterionFour.answer(151, 0).answer(145, 0).answer(154, 0).answer(7, 1).answer(32, 1);
    arrests.court(9, "2");
    struct Case { const char* what; ClientBuilder client; FixtureData data; int criteria, dependency, abuse; bool omitted; };
    for (const auto& k : std::vector<Case>{
             {"two criteria", two, {}, 2, 0, 0, false},
             {"a past diagnosis changes only the wording", ClientBuilder(two).answer(74, 1), {}, 2, 0, 0, false},
             {"criterion four needs an answer even when the key gives points", criterionFour, unansweredEarns, 2, 0, 0, false},
             {"an answer earning 0 itself, item 151 3 unanswered", ClientBuilder(criterionFour).answer(154, 4),
              unansweredEarns, 3, 1, 0, false},
             {"all items of an abuse group unanswered",
              ClientBuilder{}.answer(59, 0).answer(62, 0).answer(136, 0).answer(147, 0).answer(7, 1).answer(32, 1).answer(53, 1),
              {}, 3, 1, 0, true},
             {"arrests meet abuse criterion three", arrests, {}, 0, 0, 1, false},
             {"only when item 138 is answered", ClientBuilder(arrests).answer(138, 0), {}, 0, 0, 0, true}}) {
        SCOPED_TRACE(k.what);
        const auto c = classify(k.client, k.data);
        EXPECT_EQ(std::tuple(c.DependencyCriteria, c.DependencyFlag, c.AbuseCount, c.OmittedFlag),
                  std::tuple(k.criteria, k.dependency, k.abuse, k.omitted));
        EXPECT_EQ(c.Paragraph.empty(), k.omitted);
    }
}

TEST(Classification, ListsAndPhysiologicalDependence) {
    auto c = classify(ClientBuilder{}.answer(7, 1).answer(146, 2).answer(140, 3).answer(66, 1).answer(142, 1).answer(143, 2));
    EXPECT_EQ(std::tuple(c.DependencyCriteria, c.DependencyFlag, c.PhysiologicalFlag), std::tuple(5, 1, true));
    // How the lists read in the paragraph shows in the golden reports; these start with a
    // three-digit item.
    EXPECT_EQ(classify(ClientBuilder{}.answer(141, 1).answer(143, 3).answer(144, 2)).ToleranceText,
              "(Tolerance:141, Withdrawal: 143).");
    EXPECT_EQ(classify(ClientBuilder{}.court(9, "2")).AbuseList, " Alcohol Arrests.");
    c = classify(ClientBuilder{}.answer(136, 1).answer(147, 2).answer(59, 1).answer(85, 1).court(10, "4"));
    EXPECT_EQ(c.AbuseCount, 4);
    EXPECT_EQ(c.AbuseList, "136, 147,  59,  85,  Drug Arrests.");
}

TEST(Classification, SelfRatingsTakeTheMostSevereRule) {
    struct Case { int drinking; int drugs; const char* sentence; int severity; const char* subject; };
    for (const auto& k : {
             Case{1, 3, " This client describes their drinking as a severe problem and their drug use as a mild problem.", 3, "alcohol and drugs"},
             Case{2, 4, " This client describes their drinking as a moderate problem and their drug use as a minimum problem.", 2, "alcohol"},
             Case{3, 1, " This client describes their drinking as a mild problem and their drug use as a severe problem.", 3, "alcohol and drugs"},
             Case{4, 0, " This client's self-ratings of their drinking and drug use was 'no problem.'", 0, ""}}) {
        auto r = classify(ClientBuilder{}.answer(149, k.drinking).answer(153, k.drugs));
        EXPECT_EQ(r.SelfRatingSentence, k.sentence);
        EXPECT_EQ(r.RatingSeverity, k.severity);
        EXPECT_EQ(r.RatingSubject, k.subject);
    }
}

TEST(Classification, ParagraphParts) {
    // The parts the golden reports do not reach: self-ratings above what the scales show,
    // one scale elevated and the other not.
    const std::string p = classify(ClientBuilder{}.answer(153, 3)).Paragraph;
    EXPECT_EQ(p.substr(p.size() - 159), "According to DSM-IV criteria as represented in the KCS, this person does not meet the "
                                        "criteria of dependency or abuse. Yet, self-ratings suggest drugs concern.");
    FixtureData data;
    data.tables[0][1] = std::vector<int>(77, 70);
    EXPECT_NE(classify(ClientBuilder{}.answer(12, 1).answer(74, 1), data)
                  .Paragraph.find(" This person's Alcohol Scale score is elevated (at or above the 70th percentile) "
                                  "whereas their Drugs Scale score is not (at or below the 69th percentile) elevated. "
                                  "This KCS profile"),
              std::string::npos);
}

using kcs::report::JustifyLine;
using kcs::report::WrapParagraph;

// How lines are widened shows in the golden reports' paragraphs; these are left alone: too
// short, already full, or no inner space (one at the first position does not count).
TEST(Justification, LeavesLinesItCannotWiden) {
    const std::string line55 = "one two three four five six seven eight nine ten eleven";
    for (const std::string& kept : {line55, std::string(71, 'x'), " " + std::string(60, 'y'), std::string(70, 'z')})
        EXPECT_EQ(JustifyLine(kept), kept);
}

TEST(Justification, WrapsAtTheLastSpaceWithin72) {
    const std::string word71(71, 'a');
    EXPECT_EQ(WrapParagraph(word71 + " b"), (std::vector<std::string>{word71, "b"}));
    // A word longer than a line is cut instead of looping.
    EXPECT_EQ(WrapParagraph(std::string(80, 'c')), (std::vector<std::string>{std::string(71, 'c'), std::string(9, 'c')}));
    EXPECT_EQ(WrapParagraph("abc def   "), std::vector<std::string>{"abc def"});  // trailing spaces go
}
