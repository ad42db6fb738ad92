// The shipped data files in the program folder of the build: every practice-disk client
// gets a report, and the norms place plain answer patterns where they belong.

#include <gtest/gtest.h>

#include "Fixture.h"
#include "kcs/scoring/ScoreAndReport.h"

using namespace kcs::scoring;
using kcs::testing::ClientBuilder;

namespace {

const std::filesystem::path kProgramFolder = KCS_BIN_DIR;

bool haveData() { return std::filesystem::exists(kProgramFolder / "KCSB.TXT"); }

// Answer codes of an item ordered by the points the key gives them.
struct KeyView {
    ScoringTables t;
    int points(int item, int code) const {
        const int section = item <= 99 ? 1 : item <= 135 ? 2 : 3;
        const int position = item - kSectionBounds[static_cast<std::size_t>(section - 1)];
        return t.AnswerKey[static_cast<std::size_t>(section)][static_cast<std::size_t>(code)][static_cast<std::size_t>(position - 1)] - '0';
    }
    int best(int item, bool most) const {
        const int last = item <= 99 ? 2 : 4;
        // Ties go to False and the last choice: admitting nothing the key does not score.
        int chosen = last;
        for (int code = last; code >= 1; --code)
            if (most ? points(item, code) > points(item, chosen) : points(item, code) < points(item, chosen)) chosen = code;
        return chosen;
    }
};

KeyView loadKey() {
    Scorer s;
    s.LoadScoringFiles(kProgramFolder);
    return KeyView{s.tables()};
}

// Every item answered to earn nothing, except the items of `admitScales`, answered to
// earn the most; the Stress items rated to report the least strain (group A low, group
// B high).
ClientBuilder persona(const KeyView& key, std::initializer_list<int> admitScales) {
    ClientBuilder c;
    for (int item = 1; item <= 158; ++item)
        if (item < 100 || item > 135) c.answer(item, key.best(item, false));
    for (int s : admitScales)
        for (int item : key.t.ScaleItems[static_cast<std::size_t>(s)]) c.answer(item, key.best(item, true));
    for (int item : {100, 101, 103, 107, 108, 109, 112, 116, 118, 120, 121, 123, 124, 127, 129}) c.answer(item, 1);
    for (int item : {102, 104, 105, 106, 110, 111, 113, 114, 115, 117, 119, 122, 125, 126, 128}) c.answer(item, 4);
    for (int item = 130; item <= 135; ++item) c.answer(item, 4);
    return c;
}

Scores scoresOf(const ClientBuilder& c) {
    auto table = kcs::testing::tableOf({c.build()});
    Scores s;
    ComposeReport(table, 1, {kProgramFolder, 'b', true}, &s);
    return s;
}

}  // namespace

TEST(RealData, EveryPracticeDiskClientGetsAReport) {
    const auto disk = kProgramFolder / "practice-disk" / "DATA401.KCS";
    if (!haveData() || !std::filesystem::exists(disk)) GTEST_SKIP() << "no data files in " << kProgramFolder;
    kcs::testing::TempFolder copy;  // the loader may create or touch the file; work on a copy
    std::filesystem::copy_file(disk, copy.path() / "DATA401.KCS");
    kcs::records::ClientTable table;
    kcs::records::LoadClients(table, copy.path() / "DATA401.KCS");
    ASSERT_GT(table.NumClients, 0);
    for (std::int16_t n = 1; n <= table.NumClients; ++n) {
        for (bool summary : {false, true}) {
            const std::string bytes = ComposeReport(table, n, {kProgramFolder, 'b', summary});
            EXPECT_GT(bytes.size(), 2000u) << n;
            EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
        }
    }
}

TEST(RealData, PersonasLandInTheirRanges) {
    if (!haveData()) GTEST_SKIP() << "no data files in " << kProgramFolder;
    const KeyView key = loadKey();

    const Scores drinker = scoresOf(persona(key, {kAlcohol}));
    EXPECT_EQ(drinker.range(kAlcohol), 4) << "percentile " << drinker.Percentile[kAlcohol];
    EXPECT_FALSE(drinker.invalid());

    const Scores denier = scoresOf(persona(key, {kTruthfulness}));
    EXPECT_GE(denier.Percentile[kTruthfulness], 70);

    const Scores open = scoresOf(persona(key, {}));
    for (int s = 1; s <= kScaleCount; ++s) EXPECT_EQ(open.range(s), 1) << "scale " << s << " percentile " << open.Percentile[static_cast<std::size_t>(s)];
    EXPECT_EQ(open.Class.DependencyFlag, 0);
    EXPECT_EQ(open.Class.AbuseCount, 0);
}
