// Scores written personas against the shipped data with the program's own scoring,
// to show that the keys and norms make sense together: what a client admits must
// move the scales the right way.

#include <gtest/gtest.h>

#include "ContentFiles.h"
#include "kcs/test/ScoringFixture.h"

namespace {

using namespace kcs::content;
using kcs::test::ClientBuilder;

constexpr int kStressA[15] = {100, 101, 103, 107, 108, 109, 112, 116, 118, 120, 121, 123, 124, 127, 129};

// The answer code of an item that earns the most (or least) points.
int codeFor(int item, bool most) {
    int best = 1;
    for (int c = 2; c <= (item <= 99 ? 2 : 4); ++c)
        if (most ? points(item, c) > points(item, best) : points(item, c) < points(item, best)) best = c;
    return best;
}

// A client who admits nothing: every keyed item answered the way that earns no points,
// the ordinary faults of the Truthfulness scale admitted, calm and coping.
ClientBuilder openDenier() {
    ClientBuilder c;
    for (int i = 1; i <= 158; ++i) c.answer(i, codeFor(i, false));
    c.answers(100, 129, 4).answers(136, 158, 4);  // coping very often ...
    for (int i : kStressA) c.answer(i, 1);        // ... strain rarely
    return c;
}

// `c` with every item of `scale` answered the way that earns the most.
ClientBuilder admitting(ClientBuilder c, int scale) {
    for (int item : tables().ScaleItems[scale]) c.answer(item, codeFor(item, true));
    return c;
}

kcs::scoring::Scores score(const ClientBuilder& client) {
    kcs::scoring::Scorer s;
    s.Score(binDir(), kcs::test::tableOf({client.build()}), 1);
    return s.scores();
}

TEST(Personas, AnOpenClientWhoAdmitsNothingStaysLowEverywhere) {
    for (const char* sex : {"1", "2"}) {
        const auto s = score(openDenier().set(kcs::records::Field::Sex, sex));
        EXPECT_FALSE(s.invalid()) << "sex " << sex;
        for (int scale = 1; scale <= 6; ++scale)
            EXPECT_EQ(s.range(scale), 1) << "sex " << sex << " scale " << scale << " at " << s.Percentile[scale];
        EXPECT_EQ(s.Class.DependencyFlag + s.Class.AbuseCount, 0) << "sex " << sex;
    }
}

TEST(Personas, AClientWhoDeniesEveryFaultGetsAHighTruthfulnessPercentile) {
    EXPECT_GE(score(admitting(openDenier(), 1)).Percentile[1], 90);
}

TEST(Personas, AdmittingEveryItemOfAScaleLandsInItsMaximumRange) {
    for (int scale : {2, 3, 4, 5}) {
        auto c = admitting(openDenier(), scale);
        if (scale == 2) c.answer(152, 1);  // alcohol only
        if (scale == 3) c.answer(152, 2);  // drugs only
        const auto s = score(c);
        EXPECT_EQ(s.range(scale), 4) << "scale " << scale << " at " << s.Percentile[scale];
        EXPECT_FALSE(s.invalid()) << "scale " << scale;
        if (scale == 2 || scale == 3) {
            EXPECT_EQ(s.Class.DependencyFlag, 1) << "scale " << scale;
        }
    }
}

TEST(Personas, StrainWithoutCopingRaisesStressAndAFewAdmissionsGiveAMiddleScore) {
    auto strained = openDenier().answers(100, 129, 1);
    for (int i : kStressA) strained.answer(i, 4);
    EXPECT_EQ(score(strained).range(6), 4);

    // A handful of drinking admissions, not all of them: neither low nor maximum.
    auto some = openDenier();
    int admitted = 0;
    for (int item : tables().ScaleItems[2])
        if (item <= 99 && points(item, 1) >= 2 && admitted < 5) { some.answer(item, 1); ++admitted; }
    const auto s = score(some);
    EXPECT_TRUE(s.range(2) == 2 || s.range(2) == 3) << "percentile " << s.Percentile[2];
}

}  // namespace
