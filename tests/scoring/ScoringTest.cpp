#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "kcs/report/Paragraph.h"
#include "kcs/scoring/TextInput.h"
#include "kcs/test/ScoringFixture.h"

using namespace kcs::scoring;
using namespace kcs::test;
using kcs::records::Field;

namespace {

std::vector<int> constant(int value) { return std::vector<int>(77, value); }

// The classification in print mode, paragraph included.
Classification classify(const ClientBuilder& client, const FixtureData& data = FixtureData{}) {
    return Scored(client, data).scorer.ClassifySubstanceUse(2);
}

}  // namespace

TEST(RiskRanges, BoundariesAndLabels) {
    const std::array<std::string, 5> names{"", "LOW", "MEDIUM", "PROBLEM", "MAXIMUM"};
    struct Case { int p; int range; const char* label; };
    for (auto c : {Case{0, 1, "LOW"}, Case{39, 1, "LOW"}, Case{40, 2, "MEDIUM-LOW"}, Case{55, 2, "MEDIUM-LOW"},
                   Case{56, 2, "MEDIUM-HIGH"}, Case{69, 2, "MEDIUM-HIGH"}, Case{70, 3, "PROBLEM"},
                   Case{89, 3, "PROBLEM"}, Case{90, 4, "MAXIMUM-LOW"}, Case{94, 4, "MAXIMUM-LOW"},
                   Case{95, 4, "MAXIMUM-HIGH"}, Case{100, 4, "MAXIMUM-HIGH"}}) {
        EXPECT_EQ(RiskRange(c.p), c.range) << c.p;
        EXPECT_EQ(RangeLabel(c.p, names), c.label) << c.p;
    }
}

TEST(StressScale, RatioOfTheTwoGroupsAndUnansweredItems) {
    // Group A all 1, group B all 4: 15 x 60 / 60 = 15, percentile 2 x 15; all unanswered
    // counts A as 1 and B as 4, the same 15 (36 omitted). All 4 is a golden report's.
    ClientBuilder c;
    for (int item : {100, 101, 103, 107, 108, 109, 112, 116, 118, 120, 121, 123, 124, 127, 129}) c.answer(item, 1);
    for (auto [client, omitted] : {std::pair{c, 0}, std::pair{ClientBuilder{}.answers(100, 135, 0), 36}}) {
        const Scores s = scoresOf(client);
        EXPECT_EQ(std::tuple(s.RawScore[kStress], s.Percentile[kStress], s.OmittedCount[kStress]), std::tuple(15, 30, omitted));
    }
}

TEST(Validity, NinetyFiveTrueAnswersInvalidateAndSkipCourtPoints) {
    Scores s = scoresOf(ClientBuilder{}.answers(1, 95, 1).court(6, "7").court(11, "0"));  // court: 5 + 4 Violence
    EXPECT_EQ(s.RawScore[kTruthfulness], 99);
    EXPECT_EQ(s.Percentile[kTruthfulness], 99);  // beyond the 77-entry table
    EXPECT_TRUE(s.invalid());
    // Violence items 71-95 True: keyed points only (5 x (2+1+1+1+3)), then the -1 corrections
    // of items 19 and 65.
    EXPECT_EQ(s.RawScore[kViolence], 5 * 8 - 2);
    s = scoresOf(ClientBuilder{}.answers(1, 94, 1).court(6, "7").court(11, "0"));
    EXPECT_NE(s.RawScore[kTruthfulness], 99);
    EXPECT_EQ(s.RawScore[kViolence], (4 * 8 + 2 + 1 + 1 + 1) - 2 + 5 + 4);
}

TEST(TruthCorrection, DecileRowsAndTheInvalidTop) {
    FixtureData data;
    for (int row = 0; row < 9; ++row) data.truthCorrection[static_cast<std::size_t>(row)] = {row + 1, 50, 0, 0, 10 * (row + 1)};
    ClientBuilder c;
    c.answer(1, 1).answer(11, 1);  // Truthfulness and Alcohol (raw 2) earn points, Drugs none
    struct Case { int truth; int row; };
    for (auto k : {Case{9, 0}, Case{10, 1}, Case{19, 1}, Case{89, 8}, Case{90, 9}, Case{94, 9}, Case{95, 9}, Case{99, 9}}) {
        SCOPED_TRACE(k.truth);
        data.tables[0][0] = constant(k.truth);
        const Scores s = scoresOf(c, data);
        EXPECT_EQ(s.RawScore[kAlcohol], 2 + k.row);
        EXPECT_EQ(s.invalid(), k.truth >= 95);
        if (s.invalid()) {
            for (int scale = 2; scale <= 6; ++scale) EXPECT_EQ(s.Percentile[static_cast<std::size_t>(scale)], 99);
        } else {
            EXPECT_EQ(s.RawScore[kDrugs], 0);  // no points, no correction
            EXPECT_EQ(s.RawScore[kStress], 60 + 10 * k.row);  // Stress always qualifies
        }
    }
}

TEST(ArrestFloors, RaiseOnlyWhenBelowAndMarkTheScale) {
    FixtureData data;
    for (auto [table, percentile] : {std::pair{30, 61}, std::pair{65, 65}}) {
        data.tables[0][1] = constant(table);
        const Scores s = scoresOf(ClientBuilder{}.court(9, "2"), data);
        EXPECT_EQ(s.Percentile[kAlcohol], percentile);
        EXPECT_EQ(s.AlcoholArrestFloor, table < percentile);
        EXPECT_FALSE(s.DrugArrestFloor);
    }
    data.tables[0][2] = constant(1);
    using Drug = std::pair<const char*, int>;  // arrests, floor
    for (auto [arrests, floor] : {Drug{"1", 40}, Drug{"3", 72}, Drug{"4", 80}, Drug{"5", 89}, Drug{"12", 89}}) {
        const Scores s = scoresOf(ClientBuilder{}.court(10, arrests), data);
        EXPECT_EQ(s.Percentile[kDrugs], floor) << arrests;
        EXPECT_TRUE(s.DrugArrestFloor);
        EXPECT_EQ(s.RawScore[kDrugs], std::min(5, std::stoi(arrests)));
    }
    // Arrests add raw points, but a raw score of 0 (item 152 False takes 2 from Alcohol)
    // gives percentile 0 and no floor.
    const Scores zero = scoresOf(ClientBuilder{}.court(9, "2").answer(152, 2), data);
    EXPECT_EQ(zero.RawScore[kAlcohol] + zero.Percentile[kAlcohol], 0);
    EXPECT_FALSE(zero.AlcoholArrestFloor);
}

TEST(CourtHistory, NotAvailableEarnsNothing) {
    for (const char* months : {"N", "n", "-1"}) {
        const Scored r(ClientBuilder{}.court(11, months).court(8, "N").court(6, "N"));
        EXPECT_EQ(r.scorer.scores().RawScore[kViolence], 0) << months;
        EXPECT_EQ(r.scorer.client().CourtValues[11], "N/A");
    }
    struct Case { int item; const char* value; int points; };
    for (auto k : {Case{11, "0", 4}, Case{1, "14", 5}, Case{1, "15", 4}, Case{1, "20", 2}, Case{1, "21", 1},
                   Case{2, "2", 1}, Case{2, "13", 5}, Case{4, "9", 5}, Case{6, "1", 1}, Case{6, "2", 2}, Case{6, "6", 4},
                   Case{7, "12", 4}, Case{8, "3", 3}, Case{11, "3", 3}, Case{11, "9", 1}, Case{3, "9", 0}, Case{5, "9", 0}})
        EXPECT_EQ(scoresOf(ClientBuilder{}.court(k.item, k.value)).RawScore[kViolence], k.points) << k.item << "=" << k.value;
}

TEST(Omissions, FourUnansweredItemsStillScoreFiveDoNot) {
    for (int last : {14, 15}) {
        const Scores s = scoresOf(ClientBuilder{}.answers(11, last, 0));
        EXPECT_EQ(s.OmittedCount[kAlcohol], last - 10);
        EXPECT_EQ(s.scored(kAlcohol), last == 14);
    }
}

TEST(MinimumScores, SignificantAnswersSetFloors) {
    struct Case { std::vector<int> trueItems; int alcohol; };
    // Item points: 11, 16, 21, 26 earn 2; 15, 20, 25 earn 3; the rest 1.
    for (const auto& k : {Case{{15}, 12}, Case{{11, 16}, 25}, Case{{11, 15}, 38}, Case{{15, 20}, 43},
                          Case{{11, 15, 16}, 49}, Case{{11, 15, 16, 20}, 53},
                          Case{{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26}, 71}}) {
        ClientBuilder c;
        for (int item : k.trueItems) c.answer(item, 1);
        EXPECT_EQ(scoresOf(c).Percentile[kAlcohol], k.alcohol) << k.trueItems.size();
    }
    FixtureData data;  // a floor never lowers a percentile
    data.tables[0][1] = constant(80);
    EXPECT_EQ(scoresOf(ClientBuilder{}.answer(15, 1), data).Percentile[kAlcohol], 80);
}

TEST(SexGroups, FemaleClientsUseTheSecondTables) {
    // Raw 1 is percentile 1 in the first group, 1 + 1 in the second.
    for (auto [sex, percentile] : {std::pair{"2", 2}, std::pair{"0", 1}})
        EXPECT_EQ(scoresOf(ClientBuilder{}.answer(12, 1).set(Field::Sex, sex)).Percentile[kAlcohol], percentile) << sex;
}

TEST(ScorerState, AReusedScorerKeepsNothingOfTheLastClient) {
    FixtureData data;
    data.tables[0][1] = constant(30);
    TempDir folder;
    data.write(folder.path());
    // The first client: an arrest floor and dependency. The second: an invalid test (the
    // percentile step ends early); items 7, 32, 53 True meet three criteria too.
    auto table = tableOf({ClientBuilder{}.court(9, "3").answer(7, 1).answer(32, 1).answer(53, 1).build(),
                          ClientBuilder{}.answers(1, 96, 1).answers(136, 158, 4).build()});
    Scorer scorer;
    const Scores& s = scorer.scores();
    scorer.Score(folder.path(), table, 1);
    EXPECT_TRUE(s.AlcoholArrestFloor);
    EXPECT_EQ(s.Class.DependencyFlag, 1);
    scorer.Score(folder.path(), table, 2);
    EXPECT_TRUE(s.invalid());
    EXPECT_FALSE(s.AlcoholArrestFloor || s.DrugArrestFloor);
    EXPECT_EQ(s.Class.DependencyFlag, 1);
    table.Clients[2] = ClientBuilder{}.build();
    scorer.Score(folder.path(), table, 2);
    EXPECT_EQ(s.Class.DependencyFlag + s.Class.AbuseCount, 0);
}

TEST(DamagedRecords, NameTheRecordAndField) {
    auto code = [](const std::string& field, const std::string& value) {
        return "client record 1: field " + field + " holds \"" + value +
               "\", which is not a code of its list; the client file may be damaged";
    };
    auto answer = [](int item, const std::string& value) {
        return "client record 1: field Answers, item " + std::to_string(item) + " holds answer code \"" + value +
               "\", which the answer key does not cover; the client file may be damaged";
    };
    struct Case { ClientBuilder client; std::string message; };
    for (const auto& k : std::vector<Case>{
             {ClientBuilder{}.set(Field::Sex, "3"), code("Sex", "3")},
             {ClientBuilder{}.set(Field::Sex, "").set(Field::Race, "").set(Field::Marital, ""), "no error"},  // "N/A"
             {ClientBuilder{}.answer(40, 3), answer(40, "3")},
             {ClientBuilder{}.answer(150, 5), answer(150, "5")}})
        EXPECT_EQ(errorOf([&] { scoresOf(k.client); }), k.message);

    Scored one{ClientBuilder{}};
    EXPECT_EQ(errorOf([&] { one.scorer.Score(one.folder.path(), one.table, 2); }),
              "client record 2: there is no such client (the file holds 1)");
}

// A data file missing or not a file is the report tool's bad-input test.
TEST(DamagedDataFiles, NameTheFileAndLine) {
    struct Case {
        std::function<void(FixtureData&)> change;
        std::function<void(std::string&)> editScoringData;
        std::string message;
    };
    const std::vector<Case> cases{
        {[](FixtureData& d) { d.tables[0][0] = std::vector<int>(78, 50); }, {},
         "KCSB.TXT, line 17: a percentile table may cover at most 77 raw scores, this one claims 78"},
        {[](FixtureData& d) { for (int i = 96; i <= 111; ++i) d.scaleItems[5].push_back(i); }, {},
         "KCSB.TXT, line 73: a scale may list at most 40 items, this one claims 41"},
        {[](FixtureData& d) { d.significantItems[45] = 159; }, {},
         "KCSB.TXT, line 3: item number 159 is not an item of the test (1 to 158)"},
        {[](FixtureData& d) { d.tables[1][4] = constant(101); }, {}, "KCSB.TXT, line 53: percentile 101 is outside 0 to 99"},
        {[](FixtureData& d) { d.truthCorrection[0] = {0, 0, 0, 0, 32760}; d.tables[0][0] = constant(15); }, {},
         "KCSB.TXT, line 79: the truth correction 32760 (row 1, scale 6) is outside -240 to 240, the raw scores the "
         "scale can take"},
        {{}, [](std::string& t) { t.replace(t.find("\"0000"), 2, "\""); },
         "KCSB.TXT, line 4: the answer key of section 1, code 0 must hold 99 digits"},
        {{}, [](std::string& t) { t.resize(t.size() - 12); }, "KCSB.TXT, line 87: the file ends before all of its values were read"},
    };
    for (const auto& k : cases) {
        FixtureData data;
        if (k.change) k.change(data);
        TempDir folder;
        data.write(folder.path());
        std::string text = data.scoringData();
        if (k.editScoringData) k.editScoringData(text);
        writeFile(folder / "KCSB.TXT", text);
        auto table = tableOf({ClientBuilder{}.answer(1, 1).build()});
        EXPECT_EQ(errorOf([&] { Scorer().Score(folder.path(), table, 1); }), k.message);
    }
}

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

TEST(SequentialFile, DelimitedFieldsAndWholeLinesInterleaveWithLineEndsOfEveryKind) {
    SequentialFile f("T.TXT",
                     "\"Truth, and more\" , \"B\"junk,  plain text  \r\n"
                     "  12 ,-7,\n\n\n"  // blank lines before a field are skipped
                     "+3\r"
                     "  a whole line, with comma \r\n"
                     "\n"
                     "last\xE9\x93");
    EXPECT_EQ(f.inputString(), "Truth, and more");
    EXPECT_EQ(f.inputString(), "B");  // text after the closing quote is dropped
    EXPECT_EQ(f.inputString(), "plain text");
    EXPECT_EQ(f.inputInteger(), 12);
    EXPECT_EQ(f.inputInteger(), -7);  // a comma closing the line takes the line end with it
    EXPECT_EQ(f.inputInteger(), 3);
    EXPECT_EQ(f.lineInput(), "  a whole line, with comma ");
    EXPECT_EQ(f.lineInput(), "");
    EXPECT_EQ(f.lineInput(), "last\xE9\x93");  // 8-bit bytes pass through, no final line end needed
    EXPECT_TRUE(f.atEnd());
}

// A file cut short or missing is the scorer's test.
TEST(SequentialFile, FailuresNameTheFileAndLine) {
    EXPECT_EQ(errorOf([] { SequentialFile f("KCSB.TXT", "1,2\r\n3,x4\r\n"); for (int i = 0; i < 4; ++i) f.inputInteger(); }),
              "KCSB.TXT, line 2: a whole number was expected, found \"x4\"");
    EXPECT_EQ(errorOf([] { SequentialFile f("KCSB.TXT", "1,,2"); f.inputInteger(); f.inputInteger(); }),
              "KCSB.TXT, line 1: a whole number was expected, found \"\"");
    EXPECT_EQ(errorOf([] { SequentialFile f("KCSB.TXT", "40000"); f.inputInteger(); }),
              "KCSB.TXT, line 1: the number 40000 is too large");
    EXPECT_EQ(errorOf([] { SequentialFile f("R.TXT", "\"open\r\n"); f.inputString(); }),
              "R.TXT, line 1: a quoted value has no closing quote");
    EXPECT_EQ(errorOf([] { SequentialFile f("R.TXT", "a\r\n"); f.lineInput(); f.lineInput(); }),
              "R.TXT, line 2: the file ends before all of its lines were read");
}
