#pragma once
// Helpers shared by the content checks: the built data files beside the executables,
// read as the program reads them, and plain access to the question bank.

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "kcs/scoring/Scorer.h"
#include "kcs/test/Support.h"

namespace kcs::content {

inline std::filesystem::path binDir() { return KCS_CONTENT_BIN_DIR; }

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

// Minimal read-only access to the question bank.
class Bank {
public:
    explicit Bank(const std::filesystem::path& p) {
        if (sqlite3_open_v2(p.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + p.string());
    }
    ~Bank() { sqlite3_close(db_); }
    Bank(const Bank&) = delete;
    Bank& operator=(const Bank&) = delete;

    using Row = std::vector<std::optional<std::string>>;
    std::vector<Row> query(const std::string& sql) const {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(db_));
        std::vector<Row> rows;
        while (sqlite3_step(st) == SQLITE_ROW) {
            Row& r = rows.emplace_back();
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                if (sqlite3_column_type(st, c) == SQLITE_NULL) r.emplace_back();
                else r.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
            }
        }
        sqlite3_finalize(st);
        return rows;
    }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace kcs::content
