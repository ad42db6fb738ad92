#include "kcs/questionbank/QuestionBank.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cctype>
#include <cstring>
#include <optional>

#include "kcs/common/RunError.h"
#include "kcs/common/Text.h"

namespace kcs::questionbank {
namespace {

namespace fs = std::filesystem;

constexpr int kInvalidOperation = 3219;

// The table named by a query of the form "Select * from [name]" (any letter case, any
// blanks, an optional ";"), which the screens use to walk one language table in item
// order; nullopt for any other query.
std::optional<std::string> wholeTableOf(std::string_view q) {
    auto skipBlanks = [&q] {
        while (!q.empty() && std::isspace(static_cast<unsigned char>(q.front()))) q.remove_prefix(1);
    };
    auto word = [&q, &skipBlanks](std::string_view w, bool blankAfter) {
        skipBlanks();
        if (q.size() < w.size() || !sameName(q.substr(0, w.size()), w)) return false;
        q.remove_prefix(w.size());
        return !blankAfter || (!q.empty() && std::isspace(static_cast<unsigned char>(q.front())));
    };
    if (!word("select", true) || !word("*", false) || !word("from", true)) return std::nullopt;
    skipBlanks();
    if (q.empty() || q.front() != '[') return std::nullopt;
    const auto close = q.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    std::string table(q.substr(1, close - 1));
    q.remove_prefix(close + 1);
    skipBlanks();
    if (!q.empty() && q.front() == ';') q.remove_prefix(1);
    skipBlanks();
    if (!q.empty()) return std::nullopt;
    return table;
}

std::string quoteIdentifier(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

class Statement {
public:
    Statement(sqlite3* db, const std::string& sql, int& rc) {
        rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(stmt_); }
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

// A read of the bank is cut off after this many steps of the engine (a thousand each):
// its tables hold a few hundred records, while a damaged or tampered file can hold a view
// that never ends. The count starts again with every statement.
constexpr long kStepBudget = 2000;
thread_local long stepsTaken = 0;

int outOfSteps(void*) { return ++stepsTaken > kStepBudget; }

void startStatement() { stepsTaken = 0; }

RunError cannotOpen(const fs::path& path, const std::string& reason) {
    return RunError(err::BankCannotOpen, "Cannot open the question bank " + path.string() + ": " + reason);
}

void checkFile(const fs::path& path) {
    if (path.empty()) throw RunError(err::BankPathInvalid, "The question bank path is empty");
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int e = errno;
        std::error_code ec;
        const auto parent = path.parent_path();
        if (e == ENOENT && (parent.empty() || fs::is_directory(parent, ec)))
            throw RunError(err::BankFileNotFound, "Could not find the question bank " + path.string());
        if (e == ENOENT || e == ENOTDIR || e == ENAMETOOLONG)
            throw RunError(err::BankPathInvalid, "The question bank path " + path.string() + " is not valid");
        throw cannotOpen(path, std::strerror(e));
    }
    // A folder, pipe or device is never handed to the engine, which could wait on it.
    if (!S_ISREG(st.st_mode)) throw RunError(err::BankCannotOpen, path.string() + " is not a regular file");
}

void readRows(sqlite3* db, sqlite3_stmt* stmt, const fs::path& path,
                   std::vector<std::string>& names,
                   std::vector<std::vector<std::optional<std::string>>>& rows) {
    const int columns = sqlite3_column_count(stmt);
    for (int c = 0; c < columns; ++c) {
        const char* n = sqlite3_column_name(stmt, c);
        names.emplace_back(n ? n : "");
    }
    startStatement();
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE) break;
        if ((rc & 0xFF) == SQLITE_INTERRUPT) throw cannotOpen(path, "a read of it does not come to an end");
        if (rc != SQLITE_ROW) throw cannotOpen(path, sqlite3_errmsg(db));
        auto& row = rows.emplace_back();
        row.reserve(static_cast<std::size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            const auto* text = reinterpret_cast<const char*>(
                sqlite3_column_type(stmt, c) == SQLITE_BLOB ? sqlite3_column_blob(stmt, c) : sqlite3_column_text(stmt, c));
            const int size = sqlite3_column_bytes(stmt, c);
            if (!text || size == 0) row.emplace_back(std::nullopt);  // empty fields read as Null
            else row.emplace_back(std::string(text, static_cast<std::size_t>(size)));
        }
    }
}

std::optional<std::size_t> columnIndex(const std::vector<std::string>& names, std::string_view name) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (sameName(names[i], name)) return i;
    return std::nullopt;
}

// A language table must hold items 1..158 in order: the screens number, score and
// present the answers by position.
void checkLanguageTable(const fs::path& path, std::string_view table, const std::vector<std::string>& names,
                        const std::vector<std::vector<std::optional<std::string>>>& rows) {
    const auto id = columnIndex(names, "ID");
    if (!id || !columnIndex(names, "TestQuestion")) return;  // not a language table
    const std::string prefix = "The table \"" + std::string(table) + "\" of the question bank " + path.string() +
                               " cannot be used: it must hold items 1 to " + std::to_string(kLanguageItemCount) +
                               " in order, but ";
    if (rows.size() != static_cast<std::size_t>(kLanguageItemCount))
        throw RunError(err::BankUnrecognizedFormat, prefix + "it holds " + std::to_string(rows.size()) + " records");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& v = rows[i][*id];
        long value = -1;
        const bool ok = v && std::from_chars(v->data(), v->data() + v->size(), value).ptr == v->data() + v->size();
        if (!ok || value != static_cast<long>(i + 1))
            throw RunError(err::BankUnrecognizedFormat,
                           prefix + "record " + std::to_string(i + 1) + " has the ID " + (v ? "\"" + *v + "\"" : "Null"));
    }
}

}  // namespace

// ---------------------------------------------------------------- Recordset

namespace {
RunError noCurrentRecord() { return RunError(err::BankNoCurrentRecord, "No current record"); }
}  // namespace

void Recordset::MoveFirst() {
    if (rows_.empty()) throw noCurrentRecord();
    pos_ = 0;
}

void Recordset::MoveLast() {
    if (rows_.empty()) throw noCurrentRecord();
    pos_ = static_cast<long>(rows_.size()) - 1;
}

void Recordset::MoveNext() {
    if (IsEOF()) throw noCurrentRecord();
    ++pos_;
}

void Recordset::MovePrevious() {
    if (IsBOF()) throw noCurrentRecord();
    --pos_;
}

std::optional<std::string> Recordset::Field(std::string_view name) const {
    const auto i = columnIndex(names_, name);
    if (!i)
        throw RunError(err::BankItemNotFound, "Item not found in this collection: field \"" + std::string(name) +
                                                  "\" of the question bank " + source_);
    if (IsBOF() || IsEOF()) throw noCurrentRecord();
    return rows_[static_cast<std::size_t>(pos_)][*i];
}

// ---------------------------------------------------------------- Database

Database::Database(Database&& o) noexcept : db_(o.db_), path_(std::move(o.path_)) { o.db_ = nullptr; }

Database& Database::operator=(Database&& o) noexcept {
    if (this != &o) {
        Close();
        db_ = o.db_;
        path_ = std::move(o.path_);
        o.db_ = nullptr;
    }
    return *this;
}

Database::~Database() { Close(); }

void Database::Close() {
    if (!db_) return;
    // The hold is a transaction that never wrote: ending it releases the lock.
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

std::vector<std::string> Database::TableNames() const {
    if (!db_) throw RunError(err::BankCannotOpen, "The question bank is closed");
    int rc = 0;
    Statement s(db_,
                "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
                "ORDER BY rowid",
                rc);
    if (rc != SQLITE_OK) throw cannotOpen(path_, sqlite3_errmsg(db_));
    std::vector<std::string> names;
    startStatement();
    while ((rc = sqlite3_step(s.get())) == SQLITE_ROW) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0));
        names.emplace_back(t ? t : "");
    }
    if (rc != SQLITE_DONE) throw cannotOpen(path_, sqlite3_errmsg(db_));
    return names;
}

Recordset Database::tableRows(std::string_view table) const {
    if (!db_) throw RunError(err::BankCannotOpen, "The question bank is closed");
    {
        int rc = 0;
        Statement s(db_, "SELECT count(*) FROM sqlite_master WHERE type IN ('table', 'view') AND name = ?1 COLLATE NOCASE", rc);
        if (rc != SQLITE_OK) throw cannotOpen(path_, sqlite3_errmsg(db_));
        sqlite3_bind_text(s.get(), 1, table.data(), static_cast<int>(table.size()), SQLITE_TRANSIENT);
        startStatement();
        if (sqlite3_step(s.get()) != SQLITE_ROW) throw cannotOpen(path_, sqlite3_errmsg(db_));
        if (sqlite3_column_int(s.get(), 0) == 0)
            throw RunError(err::BankTableNotFound,
                           "The question bank " + path_.string() + " has no table \"" + std::string(table) + "\"");
    }
    // Rows in the order they were stored; tables without a row number (and views) in
    // their own scan order.
    const std::string from = "SELECT * FROM " + quoteIdentifier(table);
    int rc = 0;
    auto stmt = std::make_unique<Statement>(db_, from + " ORDER BY rowid", rc);
    if (rc != SQLITE_OK) stmt = std::make_unique<Statement>(db_, from, rc);
    if (rc != SQLITE_OK) throw cannotOpen(path_, sqlite3_errmsg(db_));

    Recordset rs;
    readRows(db_, stmt->get(), path_, rs.names_, rs.rows_);
    checkLanguageTable(path_, table, rs.names_, rs.rows_);
    rs.source_ = path_.string();
    rs.pos_ = 0;
    return rs;
}

Recordset Database::OpenRecordset(std::string_view query) const {
    if (const auto table = wholeTableOf(query)) return tableRows(*table);

    if (!db_) throw RunError(err::BankCannotOpen, "The question bank is closed");
    int rc = 0;
    Statement s(db_, std::string(query), rc);
    if (rc != SQLITE_OK || !s.get()) throw RunError(kInvalidOperation, "Invalid query: " + std::string(sqlite3_errmsg(db_)));
    if (!sqlite3_stmt_readonly(s.get())) throw RunError(kInvalidOperation, "The question bank is only read");
    Recordset rs;
    readRows(db_, s.get(), path_, rs.names_, rs.rows_);
    rs.source_ = path_.string();
    rs.pos_ = 0;
    return rs;
}

Recordset Database::OpenTable(std::string_view table) const { return tableRows(table); }

// ---------------------------------------------------------------- Workspace, Engine

Database Workspace::OpenDatabase(const fs::path& file, bool exclusive) const {
    checkFile(file);
    // Holding the bank against others takes a write lock, which needs a file we may
    // write; a bank we may only read is held against changes (a read lock) instead.
    const bool writable = ::access(file.c_str(), W_OK) == 0;
    const int flags = (exclusive && writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOMUTEX;
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(file.c_str(), &raw, flags, nullptr);
    Database db(raw, file);
    if (rc != SQLITE_OK) throw cannotOpen(file, raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_progress_handler(raw, 1000, outOfSteps, nullptr);

    auto exec = [&](const char* sql) {
        startStatement();
        char* msg = nullptr;
        const int r = sqlite3_exec(raw, sql, nullptr, nullptr, &msg);
        if (r != SQLITE_OK) {
            std::string reason = msg ? msg : sqlite3_errstr(r);
            sqlite3_free(msg);
            if ((r & 0xFF) == SQLITE_BUSY || (r & 0xFF) == SQLITE_LOCKED) reason = "it is in use by another program (" + reason + ")";
            throw cannotOpen(file, reason);
        }
    };
    if (exclusive) {
        exec("PRAGMA locking_mode = EXCLUSIVE");
        exec(writable ? "BEGIN EXCLUSIVE" : "BEGIN");
    }
    // Reading the schema proves the file is a bank and, inside the hold, takes the lock.
    exec("SELECT count(*) FROM sqlite_master");
    return db;
}

Workspace Engine::CreateWorkspace(const std::string& name, const std::string& user, const std::string&) const {
    return Workspace(name, user);
}

}  // namespace kcs::questionbank
