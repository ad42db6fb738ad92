#pragma once
// Small, fully controlled data files in the program's formats (scoring data, report
// texts, narratives, invalid-test text) and client records, for tests and benchmarks.
// Defaults give simple arithmetic: a True answer earns 1 point (2 or 3 on a few items),
// every percentile table maps raw score R to percentile R (R+1 for sex group 2), Stress
// raw r maps to 2r.

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "kcs/records/ClientFile.h"
#include "kcs/records/ClientRecord.h"

namespace kcs::testing {

namespace fs = std::filesystem;

inline void writeBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string readBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder under the system temp folder, removed with the object.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "kcs-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

struct FixtureData {
    std::array<std::string, 6> scaleNames{"TRUTHFULNESS", "ALCOHOL", "DRUGS", "RESISTANCE", "VIOLENCE",
                                          "STRESS COPING"};
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
    std::vector<std::string> significantTexts;
    std::vector<std::string> section3Texts;  // 92
    // Extra lines of each narrative paragraph, scales 1..6 (index 0 unused).
    std::array<int, 7> narrativeLines{0, 2, 3, 3, 2, 2, 2};
    std::vector<std::string> invalidText{
        "The answers to this test show an excessive number of True responses, so",
        "the scores cannot be interpreted. The client may have misunderstood the",
        "instructions or answered without reading the statements.",
        "",
        "Retest the client after explaining the instructions once more."};

    FixtureData() {
        auto range = [](int a, int b) {
            std::vector<int> v;
            for (int i = a; i <= b; ++i) v.push_back(i);
            return v;
        };
        scaleItems[1] = range(1, 10);
        scaleItems[2] = range(11, 30);
        scaleItems[2].insert(scaleItems[2].end(), {149, 151});
        scaleItems[3] = range(31, 50);
        scaleItems[3].insert(scaleItems[3].end(), {153, 154});
        scaleItems[4] = range(51, 70);
        scaleItems[5] = range(71, 95);
        for (int i = 1; i <= 99; ++i) truePoints[static_cast<std::size_t>(i)] = i % 5 == 0 ? 3 : i % 5 == 1 ? 2 : 1;
        for (int g = 0; g < 2; ++g)
            for (int s = 0; s < 5; ++s)
                for (int r = 1; r <= 77; ++r) tables[g][s].push_back(std::min(99, r + g));
        for (int g = 0; g < 2; ++g)
            for (int k = 1; k <= 50; ++k) stressPercentiles[g][static_cast<std::size_t>(k - 1)] = std::min(99, 2 * k + g);
        for (int k = 0; k <= 50; ++k) stressBounds[static_cast<std::size_t>(k)] = k;
        for (int i = 11; i <= 26; ++i) minimumScoreItems.push_back(i);  // Alcohol 16
        for (int i = 31; i <= 47; ++i) minimumScoreItems.push_back(i);  // Drugs 17
        for (int i = 51; i <= 69; ++i) minimumScoreItems.push_back(i);  // Resistance 19
        for (int i = 71; i <= 86; ++i) minimumScoreItems.push_back(i);  // Violence 16
        for (int i = 11; i <= 22; ++i) significantItems.push_back(i);    // Alcohol 12
        for (int i = 31; i <= 43; ++i) significantItems.push_back(i);    // Drugs 13
        for (int i = 51; i <= 58; ++i) significantItems.push_back(i);    // Resistance 8
        for (int i = 71; i <= 83; ++i) significantItems.push_back(i);    // Violence 13
        for (int item : significantItems) significantTexts.push_back(std::to_string(item) + ". Admits item " + std::to_string(item));
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
        auto joinInts = [](const std::vector<int>& v, std::size_t from, std::size_t to) {
            std::string s;
            for (std::size_t i = from; i < to && i < v.size(); ++i) {
                if (!s.empty()) s += ',';
                s += std::to_string(v[i]);
            }
            return s;
        };
        auto chunked = [&](const std::vector<int>& v) {
            for (std::size_t i = 0; i < v.size(); i += 20) lines.push_back(joinInts(v, i, i + 20));
        };
        chunked(significantItems);
        std::string s1[3] = {std::string(99, '0'), "", std::string(99, '0')};
        for (int i = 1; i <= 99; ++i) s1[1] += static_cast<char>('0' + truePoints[static_cast<std::size_t>(i)]);
        auto quoted = [](const std::string& v) {
            std::string q(1, '"');
            q += v;
            q += '"';
            return q;
        };
        for (auto& k : s1) lines.push_back(quoted(k));
        for (int c = 0; c <= 4; ++c) lines.push_back(quoted(std::string(36, static_cast<char>('0' + (c == 0 ? 0 : c - 1)))));
        for (int c = 0; c <= 4; ++c) lines.push_back(quoted(std::string(23, static_cast<char>('0' + section3Points[static_cast<std::size_t>(c)]))));
        for (int g = 0; g < 2; ++g)
            for (int s = 0; s < 5; ++s) {
                std::vector<int> v{static_cast<int>(tables[g][s].size())};
                v.insert(v.end(), tables[g][s].begin(), tables[g][s].end());
                chunked(v);
            }
        for (int g = 0; g < 2; ++g) chunked(std::vector<int>(stressPercentiles[g].begin(), stressPercentiles[g].end()));
        chunked(std::vector<int>(stressBounds.begin(), stressBounds.end()));
        for (int s = 1; s <= 5; ++s) {
            std::vector<int> v{static_cast<int>(scaleItems[s].size())};
            v.insert(v.end(), scaleItems[s].begin(), scaleItems[s].end());
            chunked(v);
        }
        chunked(minimumScoreItems);
        for (const auto& row : truthCorrection) chunked(std::vector<int>(row.begin(), row.end()));
        return crlf(lines);
    }

    std::string reportText() const {
        std::vector<std::string> lines;
        std::string names;
        for (const auto& n : scaleNames) {
            if (!names.empty()) names += ',';
            names += '"';
            names += n;
            names += '"';
        }
        lines.push_back(names);
        // Range names one per line, unquoted, to exercise both field styles.
        for (const auto& n : rangeNames) lines.push_back(n);
        lines.insert(lines.end(), significantTexts.begin(), significantTexts.end());
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

    void write(const fs::path& folder) const {
        writeBytes(folder / "KCSB.TXT", scoringData());
        writeBytes(folder / "KCSRPTnew.TXT", reportText());
        static const char* kFiles[7] = {"", "KCSVA.TXT", "KCSAL.TXT", "KCSDG.TXT", "KCSRE.TXT", "KCSVI.TXT", "KCSSC.TXT"};
        for (int s = 1; s <= 6; ++s) writeBytes(folder / kFiles[s], narrative(s));
        std::vector<std::string> inval = invalidText;
        inval.push_back("END");
        inval.push_back("Anything after the end marker is not read.");
        writeBytes(folder / "INVAL.TXT", crlf(inval));
    }
};

// A client record built field by field. Answers default to all unanswered, except that
// every item is answered False/4th choice when `allAnswered` is used.
class ClientBuilder {
public:
    ClientBuilder() {
        set(records::Field::Name, "Test Client");
        set(records::Field::Age, "34");
        set(records::Field::Sex, "1");
        set(records::Field::Race, "1");
        set(records::Field::Marital, "2");
        set(records::Field::Education, "12");
        set(records::Field::DateOfBirth, "04/12/1991");
        set(records::Field::TestDate, "03/15/2025");
        for (auto f : records::kCourtFields) set(f, "0");
        set(records::Field::AgeAtFirstArrest, "N");
        set(records::Field::PercentageTimeEmployed, "12");
        set(records::Field::EditCount, "0");
        set(records::Field::NameDeleted, "0");
        answers_.assign(158, '0');
        // Answered and "clean" by default: False in section 1, choice 4 elsewhere, with a
        // neutral Stress ratio.
        for (int i = 1; i <= 99; ++i) answer(i, 2);
        for (int i = 100; i <= 158; ++i) answer(i, 4);
    }
    ClientBuilder& set(records::Field f, const std::string& v) {
        rec_.set(f, v);
        return *this;
    }
    ClientBuilder& court(int k, const std::string& v) { return set(records::kCourtFields[static_cast<std::size_t>(k - 1)], v); }
    ClientBuilder& answer(int item, int code) {
        answers_[static_cast<std::size_t>(item - 1)] = static_cast<char>('0' + code);
        return *this;
    }
    ClientBuilder& answerChar(int item, char c) {
        answers_[static_cast<std::size_t>(item - 1)] = c;
        return *this;
    }
    ClientBuilder& answers(int from, int to, int code) {
        for (int i = from; i <= to; ++i) answer(i, code);
        return *this;
    }
    records::ClientRecord build() const {
        records::ClientRecord r = rec_;
        r.set(records::Field::Answers, answers_);
        return r;
    }

private:
    records::ClientRecord rec_;
    std::string answers_;
};

inline records::ClientTable tableOf(const std::vector<records::ClientRecord>& clients) {
    records::ClientTable t;
    for (std::size_t i = 0; i < clients.size(); ++i) t.Clients[i + 1] = clients[i];
    t.NumClients = static_cast<std::int16_t>(clients.size());
    t.CurClient = clients.empty() ? 0 : 1;
    return t;
}

}  // namespace kcs::testing
