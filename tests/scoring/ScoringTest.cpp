#include <gtest/gtest.h>

#include "Fixture.h"
#include "kcs/scoring/DataError.h"
#include "kcs/scoring/Scorer.h"

using namespace kcs::scoring;
using kcs::records::Field;
using kcs::testing::ClientBuilder;
using kcs::testing::FixtureData;
using kcs::testing::TempFolder;

namespace {

struct Scored {
    TempFolder folder;
    Scorer scorer;
    const Scores& s() const { return scorer.scores(); }
};

std::unique_ptr<Scored> score(const FixtureData& data, const ClientBuilder& client) {
    auto r = std::make_unique<Scored>();
    data.write(r->folder.path());
    auto table = kcs::testing::tableOf({client.build()});
    r->scorer.Score(r->folder.path(), table, 1);
    return r;
}

std::vector<int> constant(int value) { return std::vector<int>(77, value); }

std::string errorOf(const FixtureData& data, const ClientBuilder& client) {
    try {
        score(data, client);
    } catch (const DataError& e) {
        return e.what();
    }
    return "no error";
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
    EXPECT_TRUE(InRange(5, 5, 5));
    EXPECT_FALSE(InRange(4, 5, 9));
}

TEST(StressScale, RatioOfTheTwoGroupsAndUnansweredItems) {
    FixtureData data;
    // Group A all 1 and group B all 4: 15 x 60 / 60 = 15, percentile 2 x 15.
    ClientBuilder c;
    for (int item : {100, 101, 103, 107, 108, 109, 112, 116, 118, 120, 121, 123, 124, 127, 129}) c.answer(item, 1);
    auto r = score(data, c);
    EXPECT_EQ(r->s().RawScore[kStress], 15);
    EXPECT_EQ(r->s().Percentile[kStress], 30);
    EXPECT_TRUE(r->s().scored(kStress));

    // All unanswered counts A as 1 and B as 4: the same 15, but 36 omitted items.
    ClientBuilder blank;
    blank.answers(100, 135, 0);
    r = score(data, blank);
    EXPECT_EQ(r->s().RawScore[kStress], 15);
    EXPECT_EQ(r->s().OmittedCount[kStress], 36);
    EXPECT_FALSE(r->s().scored(kStress));

    // All 4: 60 x 60 / 60 = 60 lies beyond the last band, the percentile stays 0.
    r = score(data, ClientBuilder{});
    EXPECT_EQ(r->s().RawScore[kStress], 60);
    EXPECT_EQ(r->s().Percentile[kStress], 0);
    EXPECT_EQ(r->s().ScoredItemCount[kStress], 9);
}

TEST(Validity, NinetyFiveTrueAnswersInvalidateAndSkipCourtPoints) {
    FixtureData data;
    ClientBuilder c;
    c.answers(1, 95, 1).court(6, "7").court(11, "0");  // would add 5 + 4 to Violence
    auto r = score(data, c);
    EXPECT_EQ(r->s().RawScore[kTruthfulness], 99);
    EXPECT_EQ(r->s().Percentile[kTruthfulness], 99);  // beyond the 77-entry table
    EXPECT_TRUE(r->s().invalid());
    // Violence items 71-95 answered True: keyed points only (5 groups of 2+1+1+1+3), then
    // the -1 corrections of items 19 and 65.
    EXPECT_EQ(r->s().RawScore[kViolence], 5 * 8 - 2);

    ClientBuilder c94;
    c94.answers(1, 94, 1).court(6, "7").court(11, "0");
    r = score(data, c94);
    EXPECT_NE(r->s().RawScore[kTruthfulness], 99);
    EXPECT_EQ(r->s().RawScore[kViolence], (4 * 8 + 2 + 1 + 1 + 1) - 2 + 5 + 4);
}

TEST(TruthCorrection, DecileRowsAndTheInvalidTop) {
    FixtureData data;
    for (int row = 0; row < 9; ++row) data.truthCorrection[static_cast<std::size_t>(row)] = {row + 1, 100, 0, 0, 10 * (row + 1)};
    ClientBuilder c;
    c.answer(1, 1).answer(11, 1);  // Truthfulness and Alcohol each earn points
    const int alcoholRaw = 2;

    struct Case { int truth; int row; };
    for (auto k : {Case{9, 0}, Case{10, 1}, Case{19, 1}, Case{89, 8}, Case{90, 9}, Case{94, 9}}) {
        data.tables[0][0] = constant(k.truth);
        auto r = score(data, c);
        EXPECT_EQ(r->s().RawScore[kAlcohol], alcoholRaw + k.row) << k.truth;
        // Drugs earned no points, so no correction; Stress always qualifies.
        EXPECT_EQ(r->s().RawScore[kDrugs], 0) << k.truth;
        EXPECT_EQ(r->s().RawScore[kStress], 60 + 10 * k.row) << k.truth;
        EXPECT_FALSE(r->s().invalid());
    }

    for (int truth : {95, 99}) {
        data.tables[0][0] = constant(truth);
        auto r = score(data, c);
        EXPECT_TRUE(r->s().invalid());
        for (int s = 2; s <= 6; ++s) EXPECT_EQ(r->s().Percentile[static_cast<std::size_t>(s)], 99) << truth << " " << s;
        EXPECT_EQ(r->s().RawScore[kAlcohol], alcoholRaw + 9);
    }
}

TEST(ArrestFloors, RaiseOnlyWhenBelowAndMarkTheScale) {
    FixtureData data;
    data.tables[0][1] = constant(30);
    ClientBuilder c;
    c.court(9, "2");
    auto r = score(data, c);
    EXPECT_EQ(r->s().Percentile[kAlcohol], 61);
    EXPECT_TRUE(r->s().AlcoholArrestFloor);
    EXPECT_FALSE(r->s().DrugArrestFloor);

    data.tables[0][1] = constant(65);
    r = score(data, c);
    EXPECT_EQ(r->s().Percentile[kAlcohol], 65);
    EXPECT_FALSE(r->s().AlcoholArrestFloor);

    struct Case { const char* arrests; int floor; };
    data.tables[0][2] = constant(1);
    for (auto k : {Case{"1", 40}, Case{"3", 72}, Case{"4", 80}, Case{"5", 89}, Case{"12", 89}}) {
        ClientBuilder d;
        d.court(10, k.arrests);
        r = score(data, d);
        EXPECT_EQ(r->s().Percentile[kDrugs], k.floor) << k.arrests;
        EXPECT_TRUE(r->s().DrugArrestFloor);
        EXPECT_EQ(r->s().RawScore[kDrugs], std::min(5, std::stoi(k.arrests)));
    }

    // Arrests add raw points, but a raw score of 0 (item 152 False takes 2 from Alcohol)
    // gives percentile 0 and no floor.
    ClientBuilder zero;
    zero.court(9, "2").answer(152, 2);
    r = score(data, zero);
    EXPECT_EQ(r->s().RawScore[kAlcohol], 0);
    EXPECT_EQ(r->s().Percentile[kAlcohol], 0);
    EXPECT_FALSE(r->s().AlcoholArrestFloor);
}

TEST(CourtHistory, NotAvailableEarnsNothing) {
    FixtureData data;
    for (const char* months : {"N", "n", "-1"}) {
        ClientBuilder c;
        c.court(11, months).court(8, "N").court(6, "N");
        auto r = score(data, c);
        EXPECT_EQ(r->s().RawScore[kViolence], 0) << months;
        EXPECT_EQ(r->scorer.client().CourtValues[11], "N/A");
    }
    ClientBuilder zero;
    zero.court(11, "0");
    EXPECT_EQ(score(data, zero)->s().RawScore[kViolence], 4);
    struct Case { int item; const char* value; int points; };
    for (auto k : {Case{1, "14", 5}, Case{1, "15", 4}, Case{1, "20", 2}, Case{1, "21", 1}, Case{2, "2", 1},
                   Case{2, "13", 5}, Case{4, "9", 5}, Case{6, "1", 1}, Case{6, "2", 2}, Case{6, "6", 4},
                   Case{7, "12", 4}, Case{8, "3", 3}, Case{11, "3", 3}, Case{11, "9", 1}, Case{3, "9", 0},
                   Case{5, "9", 0}}) {
        ClientBuilder c;
        c.court(k.item, k.value);
        EXPECT_EQ(score(data, c)->s().RawScore[kViolence], k.points) << k.item << "=" << k.value;
    }
}

TEST(Omissions, FourUnansweredItemsStillScoreFiveDoNot) {
    FixtureData data;
    ClientBuilder four;
    four.answers(11, 14, 0);
    auto r = score(data, four);
    EXPECT_EQ(r->s().OmittedCount[kAlcohol], 4);
    EXPECT_TRUE(r->s().scored(kAlcohol));
    ClientBuilder five;
    five.answers(11, 15, 0);
    r = score(data, five);
    EXPECT_EQ(r->s().OmittedCount[kAlcohol], 5);
    EXPECT_FALSE(r->s().scored(kAlcohol));
}

TEST(MinimumScores, SignificantAnswersSetFloors) {
    FixtureData data;
    struct Case { std::vector<int> trueItems; int alcohol; };
    // Item points: 11, 16, 21, 26 earn 2; 15, 20, 25 earn 3; the rest 1.
    for (const auto& k : {Case{{15}, 12}, Case{{11, 16}, 25}, Case{{11, 15}, 38}, Case{{15, 20}, 43},
                          Case{{11, 15, 16}, 49}, Case{{11, 15, 16, 20}, 53},
                          Case{{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26}, 71}}) {
        ClientBuilder c;
        for (int item : k.trueItems) c.answer(item, 1);
        auto r = score(data, c);
        EXPECT_EQ(r->s().Percentile[kAlcohol], k.alcohol) << k.trueItems.size();
    }
    // A floor never lowers a percentile.
    data.tables[0][1] = constant(80);
    ClientBuilder c;
    c.answer(15, 1);
    EXPECT_EQ(score(data, c)->s().Percentile[kAlcohol], 80);
}

TEST(SexGroups, FemaleClientsUseTheSecondTables) {
    FixtureData data;
    ClientBuilder c;
    c.answer(12, 1).set(Field::Sex, "2");
    auto r = score(data, c);
    EXPECT_EQ(r->s().Percentile[kAlcohol], 2);  // raw 1 -> 1 + 1 in the second group
    c.set(Field::Sex, "0");
    EXPECT_EQ(score(data, c)->s().Percentile[kAlcohol], 1);
}

TEST(ScorerState, AReusedScorerKeepsNothingOfTheLastClient) {
    FixtureData data;
    data.tables[0][1] = constant(30);
    TempFolder folder;
    data.write(folder.path());

    ClientBuilder first;  // arrest floor and dependency
    first.court(9, "3").answer(7, 1).answer(32, 1).answer(53, 1);
    ClientBuilder second;  // invalid test: the percentile step ends early
    second.answers(1, 96, 1).answers(136, 158, 4);
    auto table = kcs::testing::tableOf({first.build(), second.build()});

    Scorer scorer;
    scorer.Score(folder.path(), table, 1);
    EXPECT_TRUE(scorer.scores().AlcoholArrestFloor);
    EXPECT_EQ(scorer.scores().Class.DependencyFlag, 1);

    scorer.Score(folder.path(), table, 2);
    EXPECT_TRUE(scorer.scores().invalid());
    EXPECT_FALSE(scorer.scores().AlcoholArrestFloor);
    EXPECT_FALSE(scorer.scores().DrugArrestFloor);
    // The second client's own classification: items 7, 32, 53 True meet three criteria too,
    // and item 138 answered 4 leaves abuse criterion 3 unmet.
    EXPECT_EQ(scorer.scores().Class.DependencyFlag, 1);

    ClientBuilder clean;
    table.Clients[2] = clean.build();
    scorer.Score(folder.path(), table, 2);
    EXPECT_EQ(scorer.scores().Class.DependencyFlag, 0);
    EXPECT_EQ(scorer.scores().Class.AbuseCount, 0);
}

TEST(DamagedRecords, NameTheRecordAndField) {
    FixtureData data;
    ClientBuilder sex;
    sex.set(Field::Sex, "3");
    EXPECT_EQ(errorOf(data, sex),
              "client record 1: field Sex holds \"3\", which is not a code of its list; the client file may be "
              "damaged");
    ClientBuilder race;
    race.set(Field::Race, "7");
    EXPECT_NE(errorOf(data, race).find("field Race holds \"7\""), std::string::npos);
    ClientBuilder marital;
    marital.set(Field::Marital, "x");
    EXPECT_NE(errorOf(data, marital).find("field Marital"), std::string::npos);
    ClientBuilder blankCodes;  // blank code fields read as "N/A"
    blankCodes.set(Field::Sex, "").set(Field::Race, "").set(Field::Marital, "");
    EXPECT_EQ(errorOf(data, blankCodes), "no error");

    ClientBuilder section1;
    section1.answer(40, 3);
    EXPECT_EQ(errorOf(data, section1),
              "client record 1: field Answers, item 40 holds answer code \"3\", which the answer key does not "
              "cover; the client file may be damaged");
    ClientBuilder section3;
    section3.answer(150, 5);
    EXPECT_NE(errorOf(data, section3).find("item 150 holds answer code \"5\""), std::string::npos);
    ClientBuilder letter;
    letter.answerChar(120, 'A');
    EXPECT_NE(errorOf(data, letter).find("item 120"), std::string::npos);

    TempFolder folder;
    data.write(folder.path());
    auto table = kcs::testing::tableOf({ClientBuilder{}.build()});
    Scorer scorer;
    try {
        scorer.Score(folder.path(), table, 2);
        FAIL() << "client 2 does not exist";
    } catch (const DataError& e) {
        EXPECT_EQ(std::string(e.what()), "client record 2: there is no such client (the file holds 1)");
    }
}

TEST(DamagedDataFiles, NameTheFileAndLine) {
    ClientBuilder c;
    {
        FixtureData data;
        data.tables[0][0] = std::vector<int>(78, 50);  // one more than a table can hold
        EXPECT_EQ(errorOf(data, c),
                  "KCSB.TXT, line 17: a percentile table may cover at most 77 raw scores, this one claims 78");
    }
    {
        FixtureData data;
        for (int i = 96; i <= 99; ++i) data.scaleItems[5].push_back(i);
        for (int i = 100; i <= 111; ++i) data.scaleItems[5].push_back(i);
        EXPECT_NE(errorOf(data, c).find("a scale may list at most 40 items, this one claims 41"), std::string::npos);
    }
    {
        FixtureData data;
        data.significantItems[45] = 159;
        EXPECT_EQ(errorOf(data, c), "KCSB.TXT, line 3: item number 159 is not an item of the test (1 to 158)");
    }
    {
        FixtureData data;
        data.tables[1][4] = constant(101);
        EXPECT_NE(errorOf(data, c).find("percentile 101 is outside 0 to 100"), std::string::npos);
    }
    {
        FixtureData data;
        data.truthCorrection[0] = {0, 0, 0, 0, 32760};
        data.tables[0][0] = constant(15);
        c.answer(1, 1);
        EXPECT_EQ(errorOf(data, c),
                  "KCSB.TXT: a score overflows; the scoring data file holds values out of scale");
    }
    TempFolder folder;
    FixtureData data;
    data.write(folder.path());
    auto table = kcs::testing::tableOf({c.build()});
    Scorer scorer;
    // A key string one digit short, and a file cut short.
    auto text = kcs::testing::readBytes(folder.path() / "KCSB.TXT");
    auto keyed = text;
    keyed.replace(keyed.find("\"0000"), 2, "\"");
    kcs::testing::writeBytes(folder.path() / "KCSB.TXT", keyed);
    try {
        scorer.Score(folder.path(), table, 1);
        FAIL();
    } catch (const DataError& e) {
        EXPECT_EQ(std::string(e.what()), "KCSB.TXT, line 4: the answer key of section 1, code 0 must hold 99 digits");
    }
    kcs::testing::writeBytes(folder.path() / "KCSB.TXT", text.substr(0, text.size() - 12));
    EXPECT_THROW(scorer.Score(folder.path(), table, 1), DataError);
    std::filesystem::remove(folder.path() / "KCSRPTnew.TXT");
    try {
        scorer.Score(folder.path(), table, 1);
        FAIL();
    } catch (const DataError& e) {
        EXPECT_EQ(e.where(), "KCSRPTnew.TXT");
    }
}
