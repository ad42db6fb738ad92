#pragma once
// Helpers shared by the content checks: reading the built data files beside the
// executables, the delimited-field reading the scoring data file uses, and access
// to the question bank.

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace kcs::content {

inline std::filesystem::path binDir() { return KCS_CONTENT_BIN_DIR; }

inline std::string readBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + p.string());
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct TextLines {
    std::vector<std::string> lines;
    bool allCrlf = true;       // every line ends with CR LF
    bool allSingleByte = true; // plain ASCII (no bytes >= 0x80, no control characters)
};

inline TextLines readLines(const std::filesystem::path& p) {
    const std::string bytes = readBytes(p);
    TextLines t;
    std::size_t start = 0;
    while (start < bytes.size()) {
        auto nl = bytes.find('\n', start);
        const bool last = nl == std::string::npos;
        if (last) nl = bytes.size();
        std::string line = bytes.substr(start, nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        else t.allCrlf = false;
        for (unsigned char c : line)
            if (c >= 0x80 || c < 0x20) t.allSingleByte = false;
        t.lines.push_back(line);
        start = nl + 1;
    }
    return t;
}

// Delimited-field reading: fields end at a comma or a line end; a field may be
// enclosed in double quotes. Returns the fields of the whole file in order.
inline std::vector<std::string> delimitedFields(const std::string& text) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        if (i >= text.size()) break;
        std::string field;
        if (text[i] == '"') {
            const auto close = text.find('"', i + 1);
            if (close == std::string::npos) throw std::runtime_error("unclosed quote");
            field = text.substr(i + 1, close - i - 1);
            i = close + 1;
            while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') ++i;
        } else {
            while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') field += text[i++];
            while (!field.empty() && field.back() == ' ') field.pop_back();
        }
        out.push_back(field);
        if (i < text.size() && text[i] == ',') ++i;
        else {
            if (i < text.size() && text[i] == '\r') ++i;
            if (i < text.size() && text[i] == '\n') ++i;
        }
    }
    return out;
}

// The scoring data file, parsed into its parts in reading order.
struct ScoringData {
    std::vector<int> significant;                 // 46
    std::vector<std::string> keys[4][5];          // [section][code] (one string each)
    std::map<std::pair<int, int>, std::vector<int>> norms;  // (sex group, scale 1..5)
    std::vector<int> stressPercentiles[3];        // [sex group]
    std::vector<int> stressBounds;                // 51
    std::vector<int> scaleItems[6];               // [scale 1..5]
    std::vector<int> minimumScoreItems;           // 68
    std::vector<std::vector<int>> truthCorrection; // 9 rows of 5
    std::size_t leftOverFields = 0;

    std::string key(int section, int code) const { return keys[section][code].at(0); }
    // Points an item earns for an answer code, by its section and position.
    int points(int item, int code) const {
        const int section = item <= 99 ? 1 : item <= 135 ? 2 : 3;
        const int first = section == 1 ? 1 : section == 2 ? 100 : 136;
        return key(section, code).at(static_cast<std::size_t>(item - first)) - '0';
    }
    int maxAdmittedPoints(int item) const {
        int best = 0;
        const int codes = item <= 99 ? 2 : 4;
        for (int c = 1; c <= codes; ++c) best = std::max(best, points(item, c));
        return best;
    }
};

inline ScoringData loadScoringData(const std::filesystem::path& p) {
    const auto f = delimitedFields(readBytes(p));
    std::size_t at = 0;
    const auto next = [&]() -> const std::string& {
        if (at >= f.size()) throw std::runtime_error("scoring data file ends early");
        return f[at++];
    };
    const auto nextInt = [&]() {
        const std::string& s = next();
        std::size_t used = 0;
        const int v = std::stoi(s, &used);
        if (used != s.size()) throw std::runtime_error("not an integer: " + s);
        return v;
    };
    ScoringData d;
    for (int i = 0; i < 46; ++i) d.significant.push_back(nextInt());
    for (int code = 0; code < 3; ++code) d.keys[1][code].push_back(next());
    for (int section = 2; section <= 3; ++section)
        for (int code = 0; code < 5; ++code) d.keys[section][code].push_back(next());
    for (int g = 1; g <= 2; ++g)
        for (int s = 1; s <= 5; ++s) {
            const int n = nextInt();
            if (n < 0 || n > 1000) throw std::runtime_error("bad table length");
            auto& t = d.norms[{g, s}];
            for (int i = 0; i < n; ++i) t.push_back(nextInt());
        }
    for (int g = 1; g <= 2; ++g)
        for (int i = 0; i < 50; ++i) d.stressPercentiles[g].push_back(nextInt());
    for (int i = 0; i < 51; ++i) d.stressBounds.push_back(nextInt());
    for (int s = 1; s <= 5; ++s) {
        const int n = nextInt();
        if (n < 0 || n > 1000) throw std::runtime_error("bad item count");
        for (int i = 0; i < n; ++i) d.scaleItems[s].push_back(nextInt());
    }
    for (int i = 0; i < 68; ++i) d.minimumScoreItems.push_back(nextInt());
    for (int r = 0; r < 9; ++r) {
        d.truthCorrection.emplace_back();
        for (int c = 0; c < 5; ++c) d.truthCorrection.back().push_back(nextInt());
    }
    d.leftOverFields = f.size() - at;
    return d;
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
            Row r;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                if (sqlite3_column_type(st, c) == SQLITE_NULL) r.emplace_back();
                else r.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
            }
            rows.push_back(std::move(r));
        }
        sqlite3_finalize(st);
        return rows;
    }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace kcs::content
