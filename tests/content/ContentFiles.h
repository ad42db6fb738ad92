#pragma once
// Helpers shared by the content checks: the built data files beside the executables,
// read as the program reads them, and plain access to the question bank.

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "kcs/scoring/Scorer.h"
#include "kcs/test/Sqlite.h"
#include "kcs/test/Support.h"

namespace kcs::content {

inline std::filesystem::path binDir() { return KCS_CONTENT_BIN_DIR; }
// The settings file and the practice disk as they ship: the copies beside the
// executables are the program's own to change.
inline std::filesystem::path shippedDir() { return KCS_CONTENT_SOURCE_DIR; }

struct TextLines {
    std::vector<std::string> lines;
    bool allCrlf = true;        // every line ends with CR LF
    bool allSingleByte = true;  // plain ASCII (no bytes >= 0x80, no control characters)
};

inline TextLines readLines(const std::filesystem::path& p) {
    const std::string bytes = kcs::test::readFile(p);
    if (bytes.empty()) throw std::runtime_error("missing or empty: " + p.string());
    TextLines t;
    for (std::size_t start = 0, nl; start < bytes.size(); start = nl + 1) {
        nl = std::min(bytes.find('\n', start), bytes.size());
        std::string line = bytes.substr(start, nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        else t.allCrlf = false;
        t.allSingleByte = t.allSingleByte && std::all_of(line.begin(), line.end(), [](unsigned char c) { return c >= 0x20 && c < 0x80; });
        t.lines.push_back(line);
    }
    return t;
}

// The scoring data and report text files as the scoring loads them (it refuses a
// malformed file, naming the line).
inline const scoring::ScoringTables& tables() {
    static const scoring::ScoringTables t = [] {
        scoring::Scorer s;
        s.LoadScoringFiles(binDir());
        return s.tables();
    }();
    return t;
}

// Points an item earns for an answer code, by its section and position.
inline int points(int item, int code) {
    const int section = item <= 99 ? 1 : item <= 135 ? 2 : 3;
    const auto& key = tables().AnswerKey[section][code];
    return key.at(static_cast<std::size_t>(item - scoring::kSectionBounds[section - 1] - 1)) - '0';
}

inline int maxAdmittedPoints(int item) {
    int best = 0;
    for (int c = 1; c <= (item <= 99 ? 2 : 4); ++c) best = std::max(best, points(item, c));
    return best;
}

inline bool onScale(int scale, int item) {
    const auto& v = tables().ScaleItems[scale];
    return std::find(v.begin(), v.end(), item) != v.end();
}

// The question bank read with plain SQL, Null apart from an empty text.
using Bank = test::SqliteFile;

}  // namespace kcs::content
