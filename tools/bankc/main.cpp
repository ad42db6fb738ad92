// kcs-bankc: compiles the question-bank sources (one text file per language) into
// the SQLite question bank the program reads.
//
//   kcs-bankc OUTPUT English=english.txt Spanish=spanish.txt
//
// Each NAME=FILE pair becomes one table named NAME, created in the order given.
// The output is written to a temporary file first and renamed into place only when
// every table compiled, so a failed build never leaves a half-written bank behind.

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <cctype>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kMaxChoices = 5;
constexpr std::size_t kMaxFieldLength = 255;  // longest text a bank field may hold

struct Choice {
    std::string text;
    std::string audio;
};

struct Item {
    int id = 0;
    int section = 0;
    std::string question;
    std::vector<Choice> choices;
    int line = 0;
};

struct Table {
    std::string name;
    std::string source;
    std::vector<Item> items;
};

class SourceError : public std::runtime_error {
public:
    SourceError(const std::string& file, int line, const std::string& what)
        : std::runtime_error(file + ":" + std::to_string(line) + ": " + what) {}
};

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

// Strict UTF-8 check (no overlong forms, no surrogates), and no control characters:
// the texts end up on screen and in wave-file names.
bool isCleanUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c == 0x7F) return false;
        if (c < 0x80) { ++i; continue; }
        int len = 0;
        unsigned cp = 0;
        if ((c & 0xE0) == 0xC0) { len = 2; cp = c & 0x1F; }
        else if ((c & 0xF0) == 0xE0) { len = 3; cp = c & 0x0F; }
        else if ((c & 0xF8) == 0xF0) { len = 4; cp = c & 0x07; }
        else return false;
        if (i + len > s.size()) return false;
        for (int k = 1; k < len; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
            cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) || (cp >= 0x80 && cp < 0xA0))
            return false;
        i += len;
    }
    return true;
}

bool isAudioName(const std::string& s) {
    if (s.empty() || s.size() > 40) return false;
    for (char c : s)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') return false;
    return true;
}

// "12. text" -> 12 and the text; anything else -> nullopt.
std::optional<std::pair<int, std::string>> numbered(const std::string& line, char mark) {
    std::size_t i = 0;
    while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
    if (i == 0 || i > 4 || i >= line.size() || line[i] != mark) return std::nullopt;
    return std::make_pair(std::stoi(line.substr(0, i)), trim(line.substr(i + 1)));
}

std::vector<Choice> parseSharedChoices(const std::string& spec, const std::string& file, int line) {
    std::vector<Choice> out;
    std::size_t start = 0;
    while (start <= spec.size()) {
        auto bar = spec.find('|', start);
        if (bar == std::string::npos) bar = spec.size();
        const std::string part = spec.substr(start, bar - start);
        const auto eq = part.rfind('=');
        if (eq == std::string::npos) throw SourceError(file, line, "choice without '= audio': " + part);
        out.push_back({trim(part.substr(0, eq)), trim(part.substr(eq + 1))});
        start = bar + 1;
    }
    return out;
}

Table parseSource(const std::string& name, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    Table table{name, path, {}};
    int section = 0;
    std::vector<Choice> shared;
    std::map<std::string, std::string> audioByText;  // one wave file per distinct choice
    std::string raw;
    int lineNo = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string line = trim(raw);
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("@section", 0) == 0) {
            const std::string n = trim(line.substr(8));
            if (n.empty() || n.size() > 4 || n.find_first_not_of("0123456789") != std::string::npos)
                throw SourceError(path, lineNo, "bad section number");
            const int next = std::stoi(n);
            if (next != section + 1) throw SourceError(path, lineNo, "sections must run 1, 2, 3 ...");
            section = next;
            shared.clear();
            continue;
        }
        if (line.rfind("@choices", 0) == 0) {
            shared = parseSharedChoices(trim(line.substr(8)), path, lineNo);
            for (const auto& c : shared) audioByText.emplace(c.text, c.audio);
            continue;
        }
        if (line[0] == '@') throw SourceError(path, lineNo, "unknown directive");
        const bool indented = raw[0] == ' ' || raw[0] == '\t';
        if (indented) {
            const auto choice = numbered(line, ')');
            if (!choice || table.items.empty())
                throw SourceError(path, lineNo, "expected a choice line \"k) text\"");
            Item& item = table.items.back();
            if (!shared.empty()) throw SourceError(path, lineNo, "section has shared choices already");
            if (choice->first != static_cast<int>(item.choices.size()) + 1 || choice->first > kMaxChoices)
                throw SourceError(path, lineNo, "choices must be numbered 1.." + std::to_string(kMaxChoices));
            std::string audio;
            if (auto it = audioByText.find(choice->second); it != audioByText.end()) {
                audio = it->second;
            } else {
                char buf[32];
                std::snprintf(buf, sizeof buf, "Q%03dC%d", item.id, choice->first);
                audio = buf;
                audioByText.emplace(choice->second, audio);
            }
            item.choices.push_back({choice->second, audio});
            continue;
        }
        const auto item = numbered(line, '.');
        if (!item) throw SourceError(path, lineNo, "expected an item \"N. statement\"");
        if (section == 0) throw SourceError(path, lineNo, "item before the first @section");
        const int expected = table.items.empty() ? 1 : table.items.back().id + 1;
        if (item->first != expected)
            throw SourceError(path, lineNo, "item " + std::to_string(item->first) + " where " +
                                                std::to_string(expected) + " was expected");
        table.items.push_back({item->first, section, item->second, shared, lineNo});
    }
    return table;
}

std::string questionAudio(int id) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "Q%03d", id);
    return buf;
}

void validate(const Table& t) {
    if (t.items.empty()) throw std::runtime_error(t.source + ": no items");
    for (const auto& item : t.items) {
        const auto fail = [&](const std::string& what) { throw SourceError(t.source, item.line, what); };
        if (item.question.empty()) fail("empty statement");
        if (item.choices.size() < 2) fail("an item needs at least two choices");
        std::vector<const std::string*> texts{&item.question};
        for (const auto& c : item.choices) {
            if (c.text.empty()) fail("empty choice");
            if (!isAudioName(c.audio)) fail("bad wave file name '" + c.audio + "'");
            texts.push_back(&c.text);
        }
        for (const auto* s : texts) {
            if (!isCleanUtf8(*s)) fail("text is not clean UTF-8");
            if (s->size() > kMaxFieldLength) fail("text longer than 255 bytes");
        }
    }
}

// Tables of one bank must line up item for item: the program switches language
// without changing the answer codes.
void validateParallel(const Table& a, const Table& b) {
    if (a.items.size() != b.items.size())
        throw std::runtime_error(b.source + ": " + std::to_string(b.items.size()) + " items, " + a.source +
                                 " has " + std::to_string(a.items.size()));
    for (std::size_t i = 0; i < a.items.size(); ++i) {
        if (a.items[i].section != b.items[i].section || a.items[i].choices.size() != b.items[i].choices.size())
            throw SourceError(b.source, b.items[i].line, "sections or choice count differ from " + a.source);
    }
}

struct Db {
    sqlite3* h = nullptr;
    ~Db() { if (h) sqlite3_close(h); }
    void exec(const std::string& sql) {
        char* err = nullptr;
        if (sqlite3_exec(h, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::string msg = err ? err : "unknown error";
            sqlite3_free(err);
            throw std::runtime_error("sqlite: " + msg);
        }
    }
};

void writeTable(Db& db, const Table& t) {
    std::string create = "CREATE TABLE \"" + t.name +
                         "\" (ID INTEGER, TestQuestion TEXT, QuestionAudio TEXT";
    for (int k = 1; k <= kMaxChoices; ++k) create += ", ANSWER" + std::to_string(k) + " TEXT";
    for (int k = 1; k <= kMaxChoices; ++k) create += ", ChoiceAudio" + std::to_string(k) + " TEXT";
    db.exec(create + ")");

    std::string insert = "INSERT INTO \"" + t.name + "\" VALUES (?1, ?2, ?3";
    for (int k = 4; k < 4 + 2 * kMaxChoices; ++k) insert += ", ?" + std::to_string(k);
    insert += ")";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db.h, insert.c_str(), -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(db.h));
    const auto bindText = [&](int idx, const std::string& s) {
        if (s.empty()) sqlite3_bind_null(st, idx);  // an empty field is Null, never ""
        else sqlite3_bind_text(st, idx, s.c_str(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    };
    for (const auto& item : t.items) {
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
        sqlite3_bind_int(st, 1, item.id);
        bindText(2, item.question);
        bindText(3, questionAudio(item.id));
        for (int k = 0; k < kMaxChoices; ++k) {
            const bool has = k < static_cast<int>(item.choices.size());
            bindText(4 + k, has ? item.choices[k].text : std::string());
            bindText(4 + kMaxChoices + k, has ? item.choices[k].audio : std::string());
        }
        if (sqlite3_step(st) != SQLITE_DONE) {
            const std::string msg = sqlite3_errmsg(db.h);
            sqlite3_finalize(st);
            throw std::runtime_error("sqlite: " + msg);
        }
    }
    sqlite3_finalize(st);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: kcs-bankc OUTPUT NAME=SOURCE [NAME=SOURCE ...]\n";
        return 2;
    }
    const std::filesystem::path output = argv[1];
    const std::filesystem::path temp = output.string() + ".tmp";
    try {
        std::vector<Table> tables;
        for (int i = 2; i < argc; ++i) {
            const std::string arg = argv[i];
            const auto eq = arg.find('=');
            if (eq == std::string::npos || eq == 0) throw std::runtime_error("expected NAME=SOURCE, got " + arg);
            tables.push_back(parseSource(arg.substr(0, eq), arg.substr(eq + 1)));
            validate(tables.back());
            if (tables.size() > 1) validateParallel(tables.front(), tables.back());
        }
        std::filesystem::remove(temp);
        {
            Db db;
            if (sqlite3_open(temp.c_str(), &db.h) != SQLITE_OK)
                throw std::runtime_error("cannot create " + temp.string());
            db.exec("BEGIN");
            for (const auto& t : tables) writeTable(db, t);
            db.exec("COMMIT");
        }
        std::filesystem::rename(temp, output);
    } catch (const std::exception& e) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        std::cerr << "kcs-bankc: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
