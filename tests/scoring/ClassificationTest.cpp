#include <gtest/gtest.h>

#include "Fixture.h"
#include "kcs/report/Paragraph.h"
#include "kcs/scoring/Scorer.h"

using namespace kcs::scoring;
using kcs::testing::ClientBuilder;
using kcs::testing::FixtureData;
using kcs::testing::TempFolder;

namespace {

Classification classify(const ClientBuilder& client, const FixtureData& data = FixtureData{}) {
    TempFolder folder;
    data.write(folder.path());
    auto table = kcs::testing::tableOf({client.build()});
    Scorer scorer;
    scorer.Score(folder.path(), table, 1);
    return scorer.ClassifySubstanceUse(2);
}

}  // namespace

TEST(Classification, ThreeDependencyCriteriaMakeDependencyTwoDoNot) {
    ClientBuilder two;
    two.answer(7, 1).answer(146, 2);
    auto c = classify(two);
    EXPECT_EQ(c.DependencyCriteria, 2);
    EXPECT_EQ(c.DependencyFlag, 0);
    two.answer(74, 1);  // a past diagnosis changes only the wording
    EXPECT_EQ(classify(two).DependencyFlag, 0);

    ClientBuilder three;
    three.answer(7, 1).answer(146, 2).answer(140, 3).answer(66, 1).answer(142, 1).answer(143, 2);
    c = classify(three);
    EXPECT_EQ(c.DependencyCriteria, 5);
    EXPECT_EQ(c.DependencyFlag, 1);
    EXPECT_TRUE(c.PhysiologicalFlag);
    EXPECT_EQ(c.DependencyList, "140, 142, 143, 146,  7,  66");
    EXPECT_EQ(c.ToleranceText, "(Tolerance:  66 , Withdrawal: 142, 143).");
    EXPECT_NE(c.Paragraph.find("These admissions include: 140, 142, 143, 146,  7,  66. This person reports"),
              std::string::npos);
    EXPECT_NE(c.Paragraph.find("with physiological dependence (Tolerance:  66 , Withdrawal: 142, 143). This client's"),
              std::string::npos);

    ClientBuilder tolerance;
    tolerance.answer(141, 1).answer(143, 3).answer(144, 2);
    c = classify(tolerance);
    EXPECT_EQ(c.ToleranceText, "(Tolerance:141, Withdrawal: 143).");
}

TEST(Classification, CriterionFourNeedsAnAnswerEvenWhenTheKeyGivesPoints) {
    FixtureData data;
    data.section3Points = {3, 3, 2, 1, 0};  // no answer earns 3 on section 3 items
    ClientBuilder c;
    c.answer(151, 0).answer(145, 0).answer(154, 0).answer(7, 1).answer(32, 1);
    EXPECT_EQ(classify(c, data).DependencyCriteria, 2);
    c.answer(154, 4);  // answered, earns 0 itself, but item 151 earned 3 unanswered
    EXPECT_EQ(classify(c, data).DependencyCriteria, 3);
}

TEST(Classification, AllItemsOfAnAbuseGroupUnansweredPrintTheOmissionNotice) {
    ClientBuilder c;
    c.answer(59, 0).answer(62, 0).answer(136, 0).answer(147, 0).answer(7, 1).answer(32, 1).answer(53, 1);
    auto r = classify(c);
    EXPECT_TRUE(r.OmittedFlag);
    EXPECT_EQ(r.DependencyFlag, 1);
    EXPECT_TRUE(r.Paragraph.empty());
}

TEST(Classification, ArrestsMeetAbuseCriterionThreeOnlyWhenItem138IsAnswered) {
    ClientBuilder c;
    c.court(9, "2");
    auto r = classify(c);
    EXPECT_EQ(r.AbuseCount, 1);
    EXPECT_EQ(r.AbuseList, " Alcohol Arrests.");
    c.answer(138, 0);
    r = classify(c);
    EXPECT_EQ(r.AbuseCount, 0);
    EXPECT_TRUE(r.OmittedFlag);

    ClientBuilder list;
    list.answer(136, 1).answer(147, 2).answer(59, 1).answer(85, 1).court(10, "4");
    r = classify(list);
    EXPECT_EQ(r.AbuseCount, 4);
    EXPECT_EQ(r.AbuseList, "136, 147,  59,  85,  Drug Arrests.");
}

TEST(Classification, SelfRatingsTakeTheMostSevereRule) {
    struct Case { int drinking; int drugs; const char* sentence; int severity; const char* subject; };
    for (const auto& k : {
             Case{1, 3, " This client describes their drinking as a severe problem and their drug use as a mild problem.", 3, "alcohol and drugs"},
             Case{2, 4, " This client describes their drinking as a moderate problem and their drug use as a minimum problem.", 2, "alcohol"},
             Case{3, 1, " This client describes their drinking as a mild problem and their drug use as a severe problem.", 3, "alcohol and drugs"},
             Case{4, 0, " This client's self-ratings of their drinking and drug use was 'no problem.'", 0, ""}}) {
        ClientBuilder c;
        c.answer(149, k.drinking).answer(153, k.drugs);
        auto r = classify(c);
        EXPECT_EQ(r.SelfRatingSentence, k.sentence);
        EXPECT_EQ(r.RatingSeverity, k.severity);
        EXPECT_EQ(r.RatingSubject, k.subject);
    }
}

TEST(Classification, ParagraphOfAClientMeetingNothing) {
    ClientBuilder c;
    c.answer(153, 3);
    EXPECT_EQ(classify(c).Paragraph,
              "DEPENDENCY/ABUSE CLASSIFICATION: Three or more of the seven DSM-IV dependency items (or their "
              "equivalents) are not admitted to, consequently the classification of 'dependency' as defined here "
              "does not apply. Moreover, this person reports (item #74) that he or she has not been diagnosed "
              "'substance dependent' in the past. One or more of the substance abuse items (or their equivalents) "
              "are not admitted to, consequently the classification of 'substance abuse' as defined here does not "
              "apply. This client describes their drinking as a minimum problem and their drug use as a mild "
              "problem. This individual's Alcohol Scale and Drugs Scale scores are at or below the 69th percentile "
              "and do not represent significant substance (alcohol or other drugs) use risk. According to DSM-IV "
              "criteria as represented in the KCS, this person does not meet the criteria of dependency or abuse. "
              "Yet, self-ratings suggest drugs concern.");
}

TEST(Classification, ElevationAndSummaryParts) {
    FixtureData data;
    data.tables[0][1] = std::vector<int>(77, 70);
    ClientBuilder c;
    c.answer(12, 1).answer(74, 1);
    auto p = classify(c, data).Paragraph;
    EXPECT_NE(p.find(" This person's Alcohol Scale score is elevated (at or above the 70th percentile) whereas their "
                     "Drugs Scale score is not (at or below the 69th percentile) elevated. This KCS profile"),
              std::string::npos);
    EXPECT_NE(p.find("still applies. This client's"), std::string::npos);
    EXPECT_NE(p.find("The 'once dependent, always dependent' theory"), std::string::npos);

    data.tables[0][2] = std::vector<int>(77, 99);
    ClientBuilder d;
    d.answer(12, 1).answer(31, 1).answer(7, 1).answer(32, 1).answer(53, 1);
    p = classify(d, data).Paragraph;
    EXPECT_NE(p.find("And within this dependent category their degree of risk is represented by their Alcohol and "
                     "Drugs Scales score. Review this client's"),
              std::string::npos);
    EXPECT_EQ(p.substr(p.size() - 41), "review of court records could be helpful.");
}

using kcs::report::JustifyLine;
using kcs::report::WrapParagraph;

TEST(Justification, WidensMidLengthLinesToExactly71) {
    const std::string line56 = "one two three four five six seven eight nine ten eleven.";
    ASSERT_EQ(line56.size(), 56u);
    const std::string j = JustifyLine(line56);
    EXPECT_EQ(j.size(), 71u);
    // Doubling runs from the right, round after round; in the second round the search
    // meets both spaces of each widened gap.
    EXPECT_EQ(j, "one  two  three  four  five  six  seven  eight   nine    ten    eleven.");
    const std::string line55(line56.substr(0, 55));
    EXPECT_EQ(JustifyLine(line55), line55);
    const std::string line71(71, 'x');
    EXPECT_EQ(JustifyLine(line71), line71);
    // No inner space (a space at the first position does not count): left as it stands.
    std::string solid(61, 'y');
    solid[0] = ' ';
    EXPECT_EQ(JustifyLine(solid), solid);
    EXPECT_EQ(JustifyLine(std::string(70, 'z')), std::string(70, 'z'));
}

TEST(Justification, WrapsAtTheLastSpaceWithin72) {
    const std::string word71(71, 'a');
    auto lines = WrapParagraph(word71 + " b");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], word71);
    EXPECT_EQ(lines[1], "b");
    // A word longer than a line is cut instead of looping.
    lines = WrapParagraph(std::string(80, 'c'));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 71u);
    // A space left at the start of the rest stays; trailing spaces go.
    lines = WrapParagraph("abc def   ");
    EXPECT_EQ(lines, std::vector<std::string>{"abc def"});
    for (const auto& l : WrapParagraph(std::string(300, 'w') + " x y z " + std::string(500, 'q'))) EXPECT_LE(l.size(), 71u);
}
