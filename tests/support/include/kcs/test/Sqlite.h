#pragma once
// An SQLite file opened for a test and used with plain SQL: question banks made for a
// test, and banks read as the voice generator reads them, with Null kept apart from an
// empty text (the program's own reader takes both as Null). Users link SQLite::SQLite3.

#include <sqlite3.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kcs::test {

class SqliteFile {
public:
    explicit SqliteFile(const std::filesystem::path& p, bool writable = false) {
        const int flags = writable ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
        if (sqlite3_open_v2(p.c_str(), &db_, flags, nullptr) != SQLITE_OK) fail("cannot open " + p.string());
    }
    ~SqliteFile() { sqlite3_close(db_); }
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    void exec(const std::string& sql) const {
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) fail(sql);
    }

    using Row = std::vector<std::optional<std::string>>;
    std::vector<Row> query(const std::string& sql) const {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) fail(sql);
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
    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error("sqlite: " + std::string(db_ ? sqlite3_errmsg(db_) : "no memory") + " in " + what);
    }
    sqlite3* db_ = nullptr;
};

}  // namespace kcs::test
