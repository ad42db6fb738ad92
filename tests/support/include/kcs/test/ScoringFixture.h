#pragma once
// Small, fully controlled data files in the program's formats (scoring data, report
// texts, narratives, invalid-test text) and client records, for the scoring and report
// tests and the scoring benchmark. Defaults give simple arithmetic: a True answer earns
// 1 point (2 or 3 on a few items), every percentile table maps raw score R to
// percentile R (R+1 for sex group 2), Stress raw r maps to 2r.

#include <array>
#include <random>
#include <string>
#include <vector>

#include "kcs/records/ClientRecord.h"
#include "kcs/scoring/DataError.h"
#include "kcs/scoring/Scorer.h"
#include "kcs/test/Clients.h"
#include "kcs/test/Support.h"

namespace kcs::test {

struct FixtureData {
    std::array<std::string, 6> scaleNames{"TRUTHFULNESS", "ALCOHOL", "DRUGS", "RESISTANCE", "VIOLENCE", "STRESS COPING"};
    std::array<std::string, 4> rangeNames{"LOW", "MEDIUM", "PROBLEM", "MAXIMUM"};
    // Scale item lists, scales 1..5 (index 0 unused).
    std::array<std::vector<int>, 6> scaleItems{};
    // Points of a True answer to items 1..99 (index 0 unused); False and no answer earn 0.
    std::array<int, 100> truePoints{};
    // Section 3 points per code 0..4.
    std::array<int, 5> section3Points{0, 3, 2, 1, 0};
    // [group 0..1][scale 0..4]: percentiles of raw 1..N.
    std::array<std::array<std::vector<int>, 5>, 2> tables{};
    std::array<std::array<int, 50>, 2> stressPercentiles{};
    std::array<int, 51> stressBounds{};
    std::vector<int> minimumScoreItems;  // 68
    std::array<std::array<int, 5>, 9> truthCorrection{};
    std::vector<int> significantItems;  // 46
    std::vector<std::string> section3Texts;  // 92
    // Extra lines of each narrative paragraph, scales 1..6 (index 0 unused).
    std::array<int, 7> narrativeLines{0, 2, 3, 3, 2, 2, 2};

    FixtureData() {
        // Appends the runs [from, to] of `bounds`, given as from, to, from, to ...
        auto runs = [](std::vector<int>& v, std::initializer_list<int> bounds) {
            for (auto b = bounds.begin(); b != bounds.end(); b += 2)
                for (int i = b[0]; i <= b[1]; ++i) v.push_back(i);
        };
        runs(scaleItems[1], {1, 10});
        runs(scaleItems[2], {11, 30, 149, 149, 151, 151});
        runs(scaleItems[3], {31, 50, 153, 154});
        runs(scaleItems[4], {51, 70});
        runs(scaleItems[5], {71, 95});
        for (int i = 1; i <= 99; ++i) truePoints[static_cast<std::size_t>(i)] = i % 5 == 0 ? 3 : i % 5 == 1 ? 2 : 1;
        for (int g = 0; g < 2; ++g) {
            for (int s = 0; s < 5; ++s)
                for (int r = 1; r <= 77; ++r) tables[g][s].push_back(std::min(99, r + g));
            for (int k = 1; k <= 50; ++k) stressPercentiles[g][static_cast<std::size_t>(k - 1)] = std::min(99, 2 * k + g);
        }
        for (int k = 0; k <= 50; ++k) stressBounds[static_cast<std::size_t>(k)] = k;
        // Alcohol, Drugs, Resistance, Violence: 16, 17, 19, 16 and 12, 13, 8, 13 items.
        runs(minimumScoreItems, {11, 26, 31, 47, 51, 69, 71, 86});
        runs(significantItems, {11, 22, 31, 43, 51, 58, 71, 83});
        static const char* kChoice[4] = {"often", "sometimes", "rarely", "never"};
        for (int item = 136; item <= 158; ++item)
            for (int c = 0; c < 4; ++c)
                section3Texts.push_back(std::to_string(item) + ". Statement " + std::to_string(item) + ": " + kChoice[c]);
    }

    static std::string crlf(const std::vector<std::string>& lines) {
        std::string s;
        for (const auto& l : lines) s += l + "\r\n";
        return s;
    }

    std::string scoringData() const {
        std::vector<std::string> lines;
        // Twenty numbers a line; `counted` lists start with their length.
        auto chunked = [&lines](const auto& v) {
            for (std::size_t i = 0; i < v.size(); ++i) {
                if (i % 20 == 0) lines.emplace_back();
                lines.back() += (i % 20 ? "," : "") + std::to_string(v[i]);
            }
        };
        auto counted = [&chunked](const std::vector<int>& v) {
            std::vector<int> c{static_cast<int>(v.size())};
            c.insert(c.end(), v.begin(), v.end());
            chunked(c);
        };
        chunked(significantItems);
        std::string s1[3] = {std::string(99, '0'), "", std::string(99, '0')};
        for (int i = 1; i <= 99; ++i) s1[1] += static_cast<char>('0' + truePoints[static_cast<std::size_t>(i)]);
        auto quoted = [](const std::string& v) { return '"' + v + '"'; };
        for (auto& k : s1) lines.push_back(quoted(k));
        for (int c = 0; c <= 4; ++c) lines.push_back(quoted(std::string(36, static_cast<char>('0' + (c == 0 ? 0 : c - 1)))));
        for (int c = 0; c <= 4; ++c) lines.push_back(quoted(std::string(23, static_cast<char>('0' + section3Points[static_cast<std::size_t>(c)]))));
        for (const auto& group : tables)
            for (const auto& table : group) counted(table);
        for (const auto& group : stressPercentiles) chunked(group);
        chunked(stressBounds);
        for (int s = 1; s <= 5; ++s) counted(scaleItems[s]);
        chunked(minimumScoreItems);
        for (const auto& row : truthCorrection) chunked(row);
        return crlf(lines);
    }

    std::string reportText() const {
        std::vector<std::string> lines;
        std::string names;
        for (const auto& n : scaleNames) names += (names.empty() ? "\"" : ",\"") + n + '"';
        lines.push_back(names);
        // Range names one per line, unquoted, to exercise both field styles.
        for (const auto& n : rangeNames) lines.push_back(n);
        for (int item : significantItems) lines.push_back(std::to_string(item) + ". Admits item " + std::to_string(item));
        lines.insert(lines.end(), section3Texts.begin(), section3Texts.end());
        return crlf(lines);
    }

    std::string narrative(int scale) const {
        std::vector<std::string> lines{"* Narrative paragraphs of scale " + std::to_string(scale), ""};
        const std::string labels[6] = {rangeNames[0], "MEDIUM-LOW", "MEDIUM-HIGH", rangeNames[2], "MAXIMUM-LOW", "MAXIMUM-HIGH"};
        for (const auto& label : labels) {
            lines.push_back(label);
            lines.push_back("Scale " + std::to_string(scale) + " in the " + label + " range: the client's answers");
            for (int i = 0; i < narrativeLines[static_cast<std::size_t>(scale)]; ++i)
                lines.push_back("place this scale in the " + label + " band (line " + std::to_string(i + 2) + ").");
            lines.push_back("END");
            lines.push_back("");
        }
        return crlf(lines);
    }

    void write(const std::filesystem::path& folder) const {
        writeFile(folder / "KCSB.TXT", scoringData());
        writeFile(folder / "KCSRPTnew.TXT", reportText());
        for (int s = 1; s <= 6; ++s) writeFile(folder / scoring::kNarrativeFileNames[static_cast<std::size_t>(s)], narrative(s));
        writeFile(folder / "INVAL.TXT",
                  crlf({"The answers to this test show an excessive number of True responses, so",
                        "the scores cannot be interpreted. The client may have misunderstood the",
                        "instructions or answered without reading the statements.", "",
                        "Retest the client after explaining the instructions once more.", "END",
                        "Anything after the end marker is not read."}));
    }
};

// A client record built field by field. Every item is answered "clean" by default: False
// in section 1, the fourth choice elsewhere.
class ClientBuilder {
public:
    ClientBuilder() {
        using records::Field;
        for (auto f : records::kCourtFields) set(f, "0");
        for (const auto& [f, v] : std::initializer_list<std::pair<Field, const char*>>{
                 {Field::Name, "Test Client"}, {Field::Age, "34"}, {Field::Sex, "1"}, {Field::Race, "1"},
                 {Field::Marital, "2"}, {Field::Education, "12"}, {Field::DateOfBirth, "04/12/1991"},
                 {Field::TestDate, "03/15/2025"}, {Field::AgeAtFirstArrest, "N"}, {Field::PercentageTimeEmployed, "12"},
                 {Field::EditCount, "0"}, {Field::NameDeleted, "0"}})
            set(f, v);
        set(Field::Answers, std::string(158, '4')).answers(1, 99, 2);
    }
    ClientBuilder& set(records::Field f, const std::string& v) {
        rec_.set(f, v);
        return *this;
    }
    ClientBuilder& court(int k, const std::string& v) { return set(records::kCourtFields[static_cast<std::size_t>(k - 1)], v); }
    ClientBuilder& answer(int item, int code) {
        rec_.setAnswer(item, static_cast<char>('0' + code));
        return *this;
    }
    ClientBuilder& answers(int from, int to, int code) {
        for (int i = from; i <= to; ++i) answer(i, code);
        return *this;
    }
    records::ClientRecord build() const { return rec_; }

private:
    records::ClientRecord rec_;
};

// A client with random answers: each section 1 item True with a chance drawn below
// `maxTrueShare` percent, codes 0 (when `unanswered`) or 1 to 4 in sections 2 and 3,
// court values below `courtLimit`.
inline ClientBuilder randomClient(std::mt19937& random, int maxTrueShare, bool unanswered, int courtLimit) {
    ClientBuilder c;
    const auto draw = [&random](int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); };
    const int share = draw(maxTrueShare);
    for (int i = 1; i <= 99; ++i) c.answer(i, draw(100) < share ? 1 : 2);
    for (int i = 100; i <= 158; ++i) c.answer(i, unanswered ? draw(5) : 1 + draw(4));
    for (int k = 1; k <= 11; ++k) c.court(k, std::to_string(draw(courtLimit)));
    return c;
}

// One client scored against `data`, written to a folder of its own.
struct Scored {
    TempDir folder;
    records::ClientTable table;
    scoring::Scorer scorer;
    explicit Scored(const ClientBuilder& client, const FixtureData& data = {}) : table(tableOf({client.build()})) {
        data.write(folder.path());
        scorer.Score(folder.path(), table, 1);
    }
};

inline scoring::Scores scoresOf(const ClientBuilder& client, const FixtureData& data = {}) {
    return Scored(client, data).scorer.scores();
}

// The message of the DataError `run` throws, or "no error".
template <class Run>
std::string errorOf(Run&& run) {
    try {
        run();
    } catch (const scoring::DataError& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace kcs::test
