// Checks the scoring data file KCSB.TXT against the capacities and rules of the
// scoring, and the item roles that the fixed scoring rules give certain items.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "ContentFiles.h"

namespace {

using namespace kcs::content;

class ScoringDataFile : public ::testing::Test {
protected:
    ScoringData d = loadScoringData(binDir() / "KCSB.TXT");
    bool onScale(int scale, int item) const {
        const auto& v = d.scaleItems[scale];
        return std::find(v.begin(), v.end(), item) != v.end();
    }
};

TEST_F(ScoringDataFile, HasEveryPartWithinCapacityAndNothingLeftOver) {
    EXPECT_EQ(d.leftOverFields, 0u);
    const std::size_t lengths[4] = {0, 99, 36, 23};
    for (int s = 1; s <= 3; ++s)
        for (int c = 0; c < (s == 1 ? 3 : 5); ++c) {
            const std::string k = d.key(s, c);
            EXPECT_EQ(k.size(), lengths[s]) << "section " << s << " code " << c;
            EXPECT_EQ(k.find_first_not_of("0123456789"), std::string::npos) << "section " << s << " code " << c;
        }
    for (int s = 1; s <= 5; ++s) {
        EXPECT_LE(d.scaleItems[s].size(), 40u) << "scale " << s;
        EXPECT_FALSE(d.scaleItems[s].empty()) << "scale " << s;
        std::set<int> seen;
        for (int item : d.scaleItems[s]) {
            EXPECT_TRUE(item >= 1 && item <= 158) << item;
            EXPECT_TRUE(seen.insert(item).second) << "item " << item << " twice on scale " << s;
        }
    }
    ASSERT_EQ(d.truthCorrection.size(), 9u);
    for (const auto& row : d.truthCorrection)
        for (int v : row) EXPECT_TRUE(v >= 0 && v <= 20) << v;
}

TEST_F(ScoringDataFile, NormsNeverFallAndStayWithinPercentiles) {
    const auto monotone = [](const std::vector<int>& t, const std::string& what) {
        for (std::size_t i = 0; i < t.size(); ++i) {
            EXPECT_TRUE(t[i] >= 0 && t[i] <= 99) << what << " entry " << i + 1 << " = " << t[i];
            if (i > 0) {
                EXPECT_GE(t[i], t[i - 1]) << what << " falls at entry " << i + 1;
            }
        }
    };
    for (int g = 1; g <= 2; ++g) {
        for (int s = 1; s <= 5; ++s) {
            const auto& t = d.norms.at({g, s});
            const std::string what = "sex group " + std::to_string(g) + " scale " + std::to_string(s);
            EXPECT_GE(t.size(), 1u) << what;
            EXPECT_LE(t.size(), 77u) << what;
            monotone(t, what);
        }
        monotone(d.stressPercentiles[g], "Stress percentiles of sex group " + std::to_string(g));
    }
    for (std::size_t i = 1; i < d.stressBounds.size(); ++i)
        EXPECT_GT(d.stressBounds[i], d.stressBounds[i - 1]) << "Stress bound " << i + 1;
    // The lowest possible Stress raw score is 15 (every strain item rare, every coping
    // item very often); the bands must start below it so every client is placed.
    EXPECT_LT(d.stressBounds.front(), 15);
    EXPECT_GE(d.stressBounds.back(), 240 + 10);
}

TEST_F(ScoringDataFile, SignificantAndMinimumScoreItemsAreKeyedItemsOfTheirScale) {
    const int sigBlocks[4] = {12, 13, 8, 13};
    const int minBlocks[4] = {16, 17, 19, 16};
    std::size_t sig = 0, min = 0;
    for (int b = 0; b < 4; ++b) {
        const int scale = b + 2;
        for (int i = 0; i < sigBlocks[b]; ++i, ++sig) {
            const int item = d.significant[sig];
            EXPECT_TRUE(onScale(scale, item)) << "significant item " << item << " not on scale " << scale;
            EXPECT_GE(d.maxAdmittedPoints(item), 2) << "significant item " << item << " can never be listed";
        }
        for (int i = 0; i < minBlocks[b]; ++i, ++min) {
            const int item = d.minimumScoreItems[min];
            EXPECT_TRUE(onScale(scale, item)) << "minimum-score item " << item << " not on scale " << scale;
            const int best = d.maxAdmittedPoints(item);
            EXPECT_TRUE(best == 2 || best == 3) << "minimum-score item " << item << " earns " << best;
        }
    }
}

TEST_F(ScoringDataFile, ItemsWithFixedMeaningsAreKeyedTheWayTheRulesReadThem) {
    // Cutting down on drinking (151) and on drug use (154) count as a dependency
    // criterion through the points they earn.
    EXPECT_TRUE(onScale(2, 151));
    EXPECT_TRUE(onScale(3, 154));
    for (int item : {151, 154}) {
        for (int code = 1; code <= 3; ++code) EXPECT_GE(d.points(item, code), 2) << item << " choice " << code;
        EXPECT_EQ(d.points(item, 4), 0) << item;
    }
    // Items 19 and 65 speak against violence when True: True must never add Violence points.
    for (int item : {19, 65}) EXPECT_EQ(d.points(item, 1), 0) << item;
    // Section 3 choice 4 denies the behaviour: it never earns points on any scale.
    for (int item = 136; item <= 158; ++item) EXPECT_EQ(d.points(item, 4), 0) << item;
    // Truthfulness scores denial of common faults: only True/False statements, one point each.
    for (int item : d.scaleItems[1]) {
        EXPECT_LE(item, 99);
        EXPECT_EQ(d.maxAdmittedPoints(item), 1) << item;
    }
    // Unanswered items earn nothing; an omission is counted, not scored.
    for (int s = 1; s <= 3; ++s) EXPECT_EQ(d.key(s, 0).find_first_not_of('0'), std::string::npos);
    // The Stress items belong to the Stress ratio only.
    for (int s = 1; s <= 5; ++s)
        for (int item : d.scaleItems[s]) EXPECT_FALSE(item >= 100 && item <= 129) << item;
}

}  // namespace
