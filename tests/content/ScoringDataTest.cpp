// Checks the scoring data file KCSB.TXT against the capacities and rules of the
// scoring, and the item roles that the fixed scoring rules give certain items.

#include <gtest/gtest.h>

#include <set>

#include "ContentFiles.h"
#include "kcs/scoring/TextInput.h"

namespace {

using namespace kcs::content;

TEST(ScoringDataFile, HasEveryPartWithinCapacityAndNothingLeftOver) {
    const auto& t = tables();
    // Every field is read: a miscounted block would shift all that follows it.
    std::size_t expected = 46 + 3 + 5 + 5 + 2 * 50 + 51 + 68 + 9 * 5;
    for (int g = 1; g <= 2; ++g)
        for (int s = 1; s <= 5; ++s) expected += 1 + static_cast<std::size_t>(t.PercentileTableLength[g][s]);
    for (int s = 1; s <= 5; ++s) expected += 1 + t.ScaleItems[s].size();
    kcs::scoring::SequentialFile file(binDir() / "KCSB.TXT");
    std::size_t fields = 0;
    for (; !file.atEnd(); ++fields) file.inputString();
    EXPECT_EQ(fields, expected);

    // The scoring reads the digits it needs and would ignore any more.
    for (int s = 1; s <= 3; ++s)
        for (int c = 0; c < (s == 1 ? 3 : 5); ++c)
            EXPECT_EQ(t.AnswerKey[s][c].size(), std::size_t(s == 1 ? 99 : s == 2 ? 36 : 23)) << "section " << s << " code " << c;
    for (int s = 1; s <= 5; ++s) {
        const std::set<int> distinct(t.ScaleItems[s].begin(), t.ScaleItems[s].end());
        EXPECT_TRUE(!distinct.empty() && distinct.size() == t.ScaleItems[s].size()) << "scale " << s << ": none or one twice";
    }
    for (int row = 1; row <= 9; ++row)
        for (int s = 2; s <= 6; ++s) EXPECT_TRUE(t.TruthCorrection[row][s] >= 0 && t.TruthCorrection[row][s] <= 20);
}

TEST(ScoringDataFile, NormsNeverFallAndStayWithinPercentiles) {
    const auto& t = tables();
    const auto monotone = [](const std::vector<int>& v, const std::string& what) {
        EXPECT_FALSE(v.empty()) << what;
        for (std::size_t i = 0; i < v.size(); ++i) {
            EXPECT_TRUE(v[i] >= 0 && v[i] <= 99) << what << " entry " << i + 1 << " = " << v[i];
            if (i > 0) { EXPECT_GE(v[i], v[i - 1]) << what << " falls at entry " << i + 1; }
        }
    };
    for (int g = 1; g <= 2; ++g) {
        const std::string group = "sex group " + std::to_string(g);
        for (int s = 1; s <= 5; ++s) {
            std::vector<int> v;
            for (int r = 1; r <= t.PercentileTableLength[g][s]; ++r) v.push_back(t.PercentileTable[g][r][s]);
            monotone(v, group + " scale " + std::to_string(s));
        }
        monotone({t.StressPercentiles[g].begin() + 1, t.StressPercentiles[g].end()}, group + " Stress");
    }
    for (int i = 2; i <= 51; ++i) EXPECT_GT(t.StressBounds[i], t.StressBounds[i - 1]) << "Stress bound " << i;
    // The lowest possible Stress raw score is 15 (every strain item rare, every coping
    // item very often); the bands must start below it so every client is placed.
    EXPECT_LT(t.StressBounds[1], 15);
    EXPECT_GE(t.StressBounds[51], 250);
}

TEST(ScoringDataFile, SignificantAndMinimumScoreItemsAreKeyedItemsOfTheirScale) {
    const auto& t = tables();
    // Alcohol, Drugs, Resistance and Violence in turn, each with its block of items.
    const int sigBlocks[4] = {12, 13, 8, 13}, minBlocks[4] = {16, 17, 19, 16};
    for (int b = 0, sig = 1, min = 1; b < 4; ++b) {
        const int scale = b + 2;
        for (int i = 0; i < sigBlocks[b]; ++i, ++sig) {
            const int item = t.SignificantItemNumbers[sig];
            EXPECT_TRUE(onScale(scale, item)) << "significant item " << item << " not on scale " << scale;
            EXPECT_GE(maxAdmittedPoints(item), 2) << "significant item " << item << " can never be listed";
        }
        for (int i = 0; i < minBlocks[b]; ++i, ++min) {
            const int item = t.MinimumScoreItems[min];
            EXPECT_TRUE(onScale(scale, item)) << "minimum-score item " << item << " not on scale " << scale;
            EXPECT_TRUE(maxAdmittedPoints(item) == 2 || maxAdmittedPoints(item) == 3) << "minimum-score item " << item;
        }
    }
}

TEST(ScoringDataFile, ItemsWithFixedMeaningsAreKeyedTheWayTheRulesReadThem) {
    // Cutting down on drinking (151) and on drug use (154) count as a dependency
    // criterion through the points they earn.
    for (const auto& [item, scale] : {std::pair{151, 2}, std::pair{154, 3}}) {
        EXPECT_TRUE(onScale(scale, item)) << item;
        for (int code = 1; code <= 3; ++code) EXPECT_GE(points(item, code), 2) << item << " choice " << code;
    }
    // Items 19 and 65 speak against violence when True: True must never add Violence points.
    for (int item : {19, 65}) EXPECT_EQ(points(item, 1), 0) << item;
    // Section 3 choice 4 denies the behaviour: it never earns points on any scale.
    for (int item = 136; item <= 158; ++item) EXPECT_EQ(points(item, 4), 0) << item;
    // Truthfulness scores denial of common faults: only True/False statements, one point each.
    for (int item : tables().ScaleItems[1]) EXPECT_TRUE(item <= 99 && maxAdmittedPoints(item) == 1) << item;
    // Unanswered items earn nothing; an omission is counted, not scored.
    for (int s = 1; s <= 3; ++s) EXPECT_EQ(tables().AnswerKey[s][0].find_first_not_of('0'), std::string::npos);
    // The Stress items belong to the Stress ratio only.
    for (int s = 1; s <= 5; ++s)
        for (int item : tables().ScaleItems[s]) EXPECT_FALSE(item >= 100 && item <= 129) << item;
}

}  // namespace
