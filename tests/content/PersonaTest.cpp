// Scores written personas against the shipped data with the program's own scoring,
// to show that the keys and norms make sense together: what a client admits must
// move the scales the right way.

#include <gtest/gtest.h>

#include "ContentFiles.h"

namespace {

using namespace kcs::content;
using kcs::records::ClientRecord;
using kcs::records::ClientTable;
using kcs::records::Field;
namespace sc = kcs::scoring;

constexpr int kStressA[15] = {100, 101, 103, 107, 108, 109, 112, 116, 118, 120, 121, 123, 124, 127, 129};

class Personas : public ::testing::Test {
protected:
    // The answer code of an item that earns the most (or least) points.
    static int codeFor(int item, bool most) {
        int best = 1;
        for (int c = 2; c <= (item <= 99 ? 2 : 4); ++c)
            if (most ? points(item, c) > points(item, best) : points(item, c) < points(item, best)) best = c;
        return best;
    }

    // A client who admits nothing: every keyed item answered the way that earns no
    // points, the ordinary faults of the Truthfulness scale admitted, calm and coping.
    std::array<int, 159> openDenier() const {
        std::array<int, 159> a{};
        for (int i = 1; i <= 158; ++i) a[i] = codeFor(i, false);
        for (int i = 100; i <= 129; ++i) a[i] = 4;  // coping very often ...
        for (int i : kStressA) a[i] = 1;            // ... strain rarely
        for (int i = 136; i <= 158; ++i) a[i] = 4;
        return a;
    }

    sc::Scores score(const std::array<int, 159>& answers, const char* sex = "1") const {
        ClientTable table;
        ClientRecord& r = table.Clients[1];
        for (const auto& [f, v] : {std::pair{Field::Name, "Persona"}, {Field::Age, "30"}, {Field::Sex, sex},
                                   {Field::Race, "1"}, {Field::Marital, "1"}, {Field::Education, "12"},
                                   {Field::DateOfBirth, "01/01/1995"}, {Field::TestDate, "03/03/2025"},
                                   {Field::EditCount, "0"}, {Field::NameDeleted, "0"}})
            r.set(f, v);
        for (auto f : kcs::records::kCourtFields) r.set(f, "0");
        r.set(Field::PercentageTimeEmployed, "12");
        for (int i = 1; i <= 158; ++i) r.setAnswer(i, static_cast<char>('0' + answers[i]));
        table.NumClients = 1;
        table.CurClient = 1;
        sc::Scorer s;
        s.Score(binDir(), table, 1);
        return s.scores();
    }
};

TEST_F(Personas, AnOpenClientWhoAdmitsNothingStaysLowEverywhere) {
    for (const char* sex : {"1", "2"}) {
        SCOPED_TRACE(std::string("sex ") + sex);
        const auto s = score(openDenier(), sex);
        EXPECT_FALSE(s.invalid());
        for (int scale = 1; scale <= 6; ++scale)
            EXPECT_EQ(s.range(scale), 1) << "scale " << scale << " at " << s.Percentile[scale];
        EXPECT_EQ(s.Class.DependencyFlag, 0);
        EXPECT_EQ(s.Class.AbuseCount, 0);
    }
}

TEST_F(Personas, AClientWhoDeniesEveryFaultGetsAHighTruthfulnessPercentile) {
    auto a = openDenier();
    for (int item : tables().ScaleItems[1]) a[item] = codeFor(item, true);
    const auto s = score(a);
    EXPECT_GE(s.Percentile[1], 90);
}

TEST_F(Personas, AdmittingEveryItemOfAScaleLandsInItsMaximumRange) {
    for (int scale : {2, 3, 4, 5}) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        auto a = openDenier();
        for (int item : tables().ScaleItems[scale]) a[item] = codeFor(item, true);
        if (scale == 2) a[152] = 1;  // alcohol only
        if (scale == 3) a[152] = 2;  // drugs only
        const auto s = score(a);
        EXPECT_EQ(s.range(scale), 4) << "percentile " << s.Percentile[scale];
        EXPECT_FALSE(s.invalid());
        if (scale == 2 || scale == 3) {
            EXPECT_EQ(s.Class.DependencyFlag, 1);
        }
    }
}

TEST_F(Personas, StrainWithoutCopingRaisesStressAndAFewAdmissionsGiveAMiddleScore) {
    auto a = openDenier();
    for (int i = 100; i <= 129; ++i) a[i] = 1;
    for (int i : kStressA) a[i] = 4;
    EXPECT_EQ(score(a).range(6), 4);

    // A handful of drinking admissions, not all of them: neither low nor maximum.
    auto some = openDenier();
    int admitted = 0;
    for (int item : tables().ScaleItems[2])
        if (item <= 99 && points(item, 1) >= 2 && admitted < 5) { some[item] = 1; ++admitted; }
    const auto s = score(some);
    EXPECT_TRUE(s.range(2) == 2 || s.range(2) == 3) << "percentile " << s.Percentile[2];
}

}  // namespace
