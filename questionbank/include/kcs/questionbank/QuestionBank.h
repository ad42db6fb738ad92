#pragma once
// The question bank (KCS32.MDB, an SQLite file in the program folder) as the screens use
// it: an engine with its default log-on and settings file, a workspace kept for the run,
// a database held exclusively while a screen shows it, and record sets walked one item
// at a time. Every failure is a kcs::RunError with the bank's classic numbers
// (3024 file not found, 3044 path not valid, 3051 cannot open, ...).

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace kcs::questionbank {

inline constexpr const char* kBankFileName = "KCS32.MDB";
inline constexpr int kLanguageItemCount = 158;

// A record set: the rows of one query, read when it is opened, with a current position.
// Opened on a record, or at BOF and EOF together when there are no rows.
class Recordset {
public:
    Recordset() = default;

    void MoveFirst();      // 3021 when there are no rows
    void MoveLast();       // 3021 when there are no rows
    void MoveNext();       // past the last row: EOF; 3021 when already at EOF
    void MovePrevious();   // before the first row: BOF; 3021 when already at BOF
    // (Named with "Is": EOF is a macro of the C library.)
    bool IsBOF() const { return pos_ < 0 || rows_.empty(); }
    bool IsEOF() const { return pos_ >= static_cast<long>(rows_.size()) || rows_.empty(); }
    long RecordCount() const { return static_cast<long>(rows_.size()); }

    // The current row's field, the name in any letter case; nullopt (Null) for an empty
    // or NULL field. 3265 for an unknown field, 3021 at BOF or EOF.
    std::optional<std::string> Field(std::string_view name) const;
    const std::vector<std::string>& FieldNames() const { return names_; }

    void Close() { rows_.clear(); names_.clear(); pos_ = 0; }

private:
    friend class Database;
    std::vector<std::string> names_;
    std::vector<std::vector<std::optional<std::string>>> rows_;
    long pos_ = 0;
    std::string source_;  // the bank's file, for messages
};

// An open bank. Holds the file exclusively until closed or destroyed: no other
// connection or program can read or change it meanwhile (a bank file this user may not
// write is held against changes only).
class Database {
public:
    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    ~Database();

    // Table names in the bank's own order (the order they were made), the engine's
    // internal tables left out.
    std::vector<std::string> TableNames() const;

    // "Select * from [table]" gives the table's rows in item order; any other read-only
    // query is run as written. A language table (one with ID and TestQuestion fields)
    // whose rows are not items 1 to 158 in order is refused with 3343.
    Recordset OpenRecordset(std::string_view query) const;
    // The table opened directly, with the same rows and the same check.
    Recordset OpenTable(std::string_view table) const;

    void Close();
    bool isOpen() const { return db_ != nullptr; }

private:
    friend class Workspace;
    explicit Database(sqlite3* db, std::filesystem::path path) : db_(db), path_(std::move(path)) {}
    Recordset tableRows(std::string_view table) const;
    sqlite3* db_ = nullptr;
    std::filesystem::path path_;
};

class Workspace {
public:
    Workspace() = default;
    Workspace(std::string name, std::string user) : name_(std::move(name)), user_(std::move(user)) {}
    const std::string& Name() const { return name_; }
    const std::string& UserName() const { return user_; }

    // Opens the bank; `exclusive` keeps every other connection out while it is held.
    Database OpenDatabase(const std::filesystem::path& file, bool exclusive = true) const;

private:
    std::string name_;
    std::string user_;
};

// The engine's set-up: default log-on and the settings file that names the workgroup
// file. An SQLite bank needs no log-on; the values are kept so the start-up reads as it
// does for every store.
struct Engine {
    std::string DefaultUser;
    std::string DefaultPassword;
    std::filesystem::path IniPath;

    Workspace CreateWorkspace(const std::string& name, const std::string& user, const std::string& password) const;
};

}  // namespace kcs::questionbank
