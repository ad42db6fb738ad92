#include "kcs/app/Settings.h"

#include <deque>
#include <vector>

#include "kcs/common/DurableFile.h"
#include "kcs/common/RunError.h"
#include "kcs/common/Text.h"

namespace kcs::app {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::size_t kPathValueChars = 49;    // a 50-character buffer less its terminator
constexpr std::size_t kOptionValueChars = 9;   // a 10-character buffer less its terminator

bool isQuote(char c) { return c == '"' || c == '\''; }

std::string_view unquote(std::string_view v) {
    if (v.size() >= 2 && isQuote(v.front()) && v.back() == v.front()) return v.substr(1, v.size() - 2);
    return v;
}

struct Line {
    std::string_view content;  // without its line end
    std::string_view end;      // "\r\n", "\n" or "" (last line without one)
};

enum class Kind { Blank, Comment, Section, Key, Other };

struct Parsed {
    Kind kind = Kind::Other;
    std::string_view name;    // section or key name
    std::string_view value;   // key value, unquoted
    std::size_t valueStart = 0;  // where the value (blanks after "=" skipped) begins in the line
};

Parsed parseLine(std::string_view content) {
    Parsed p;
    const auto t = trimBlanks(content);
    if (t.empty()) { p.kind = Kind::Blank; return p; }
    if (t.front() == ';') { p.kind = Kind::Comment; return p; }
    if (t.front() == '[') {
        p.kind = Kind::Section;
        auto inner = t.substr(1);
        const auto close = inner.find(']');
        if (close != std::string_view::npos) inner = inner.substr(0, close);
        p.name = trimBlanks(inner);
        return p;
    }
    const auto eq = content.find('=');
    if (eq == std::string_view::npos) return p;
    p.kind = Kind::Key;
    p.name = trimBlanks(content.substr(0, eq));
    std::size_t v = eq + 1;
    while (v < content.size() && isBlank(content[v])) ++v;
    p.valueStart = v;
    p.value = unquote(trimBlanks(content.substr(v)));
    return p;
}

struct Document {
    std::string_view bom;
    std::vector<Line> lines;
};

Document split(std::string_view text) {
    Document d;
    if (text.substr(0, kBom.size()) == kBom) {
        d.bom = text.substr(0, kBom.size());
        text.remove_prefix(kBom.size());
    }
    while (!text.empty()) {
        const auto nl = text.find('\n');
        if (nl == std::string_view::npos) {
            d.lines.push_back({text, {}});
            break;
        }
        std::size_t contentEnd = nl;
        if (contentEnd > 0 && text[contentEnd - 1] == '\r') --contentEnd;
        d.lines.push_back({text.substr(0, contentEnd), text.substr(contentEnd, nl + 1 - contentEnd)});
        text.remove_prefix(nl + 1);
    }
    return d;
}

// Index of the line that holds the key (first match in any section of that name).
std::optional<std::size_t> findKey(const Document& d, std::string_view section, std::string_view key) {
    bool inSection = false;
    for (std::size_t i = 0; i < d.lines.size(); ++i) {
        const auto p = parseLine(d.lines[i].content);
        if (p.kind == Kind::Section) inSection = sameName(p.name, section);
        else if (inSection && p.kind == Kind::Key && sameName(p.name, key)) return i;
    }
    return std::nullopt;
}

std::string encodeValue(std::string_view value) {
    const bool needsQuotes = !value.empty() &&
        (isBlank(value.front()) || isBlank(value.back()) ||
         (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front()));
    return needsQuotes ? "\"" + std::string(value) + "\"" : std::string(value);
}

void checkName(std::string_view name, std::string_view what) {
    const bool bad = name.empty() || trimBlanks(name) != name || name.front() == ';' || name.front() == '[' ||
                     name.find_first_of(std::string_view("=]\r\n\0", 5)) != std::string_view::npos;
    if (bad) throw RunError(err::InvalidArgument, "Invalid settings " + std::string(what) + " name \"" + std::string(name) + "\"");
}

// At most `chars` characters of UTF-8 text (a byte that does not continue a sequence
// starts a character), so a cut never splits a character.
std::string firstChars(std::string_view v, std::size_t chars) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if ((static_cast<unsigned char>(v[i]) & 0xC0) != 0x80) {
            if (seen == chars) return std::string(v.substr(0, i));
            ++seen;
        }
    }
    return std::string(v);
}

}  // namespace

std::optional<std::string> iniLookup(std::string_view text, std::string_view section, std::string_view key) {
    const auto d = split(text);
    const auto i = findKey(d, section, key);
    if (!i) return std::nullopt;
    return std::string(parseLine(d.lines[*i].content).value);
}

std::string iniWithKey(std::string_view text, std::string_view section, std::string_view key, std::string_view value) {
    checkName(section, "section");
    checkName(key, "key");
    if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        throw RunError(err::InvalidArgument, "A settings value cannot hold a line break");

    auto d = split(text);
    std::string_view eol = "\n";
    for (const auto& l : d.lines)
        if (!l.end.empty()) { eol = l.end; break; }
    const std::string encoded = encodeValue(value);

    std::deque<std::string> replaced;  // owns the text of changed and added lines (stable addresses)
    auto own = [&replaced](std::string s) -> std::string_view { replaced.push_back(std::move(s)); return replaced.back(); };

    if (const auto i = findKey(d, section, key)) {
        auto& line = d.lines[*i];
        const auto p = parseLine(line.content);
        // Keep the line's own key spelling and the blanks around "=".
        line.content = own(std::string(line.content.substr(0, p.valueStart)) + encoded);
    } else {
        std::optional<std::size_t> sectionLine;
        for (std::size_t i = 0; i < d.lines.size() && !sectionLine; ++i) {
            const auto p = parseLine(d.lines[i].content);
            if (p.kind == Kind::Section && sameName(p.name, section)) sectionLine = i;
        }
        const std::string keyLine = std::string(key) + "=" + encoded;
        if (sectionLine) {
            // After the section's last non-blank line, so blank lines between sections stay.
            std::size_t last = *sectionLine;
            for (std::size_t i = *sectionLine + 1; i < d.lines.size(); ++i) {
                const auto p = parseLine(d.lines[i].content);
                if (p.kind == Kind::Section) break;
                if (p.kind != Kind::Blank) last = i;
            }
            if (d.lines[last].end.empty()) d.lines[last].end = eol;
            d.lines.insert(d.lines.begin() + static_cast<std::ptrdiff_t>(last) + 1, Line{own(keyLine), eol});
        } else {
            if (!d.lines.empty() && d.lines.back().end.empty()) d.lines.back().end = eol;
            d.lines.push_back({own("[" + std::string(section) + "]"), eol});
            d.lines.push_back({own(keyLine), eol});
        }
    }

    std::string out(d.bom);
    for (const auto& l : d.lines) {
        out += l.content;
        out += l.end;
    }
    return out;
}

std::optional<std::string> IniFile::get(std::string_view section, std::string_view key) const {
    std::optional<std::string> text;
    try {
        text = readFileIfExists(path_);
    } catch (const RunError&) {
        // Like the platform's profile reader: a settings file that cannot be read gives
        // the defaults, so the program can still start and ask for what it needs.
        return std::nullopt;
    }
    if (!text) return std::nullopt;
    return iniLookup(*text, section, key);
}

void IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
    const auto text = readFileIfExists(path_).value_or(std::string{});
    const auto updated = iniWithKey(text, section, key, value);
    if (updated == text) return;
    replaceFileDurably(path_, updated);
}

namespace {

std::string pathValue(const std::optional<std::string>& v, std::string_view fallback) {
    return std::string(trimBlanks(firstChars(v ? *v : std::string(fallback), kPathValueChars)));
}

bool optionValue(const std::optional<std::string>& v) {
    const auto text = firstChars(v ? *v : std::string("True"), kOptionValueChars);
    return text.starts_with("Tru");
}

const char* optionText(bool on) { return on ? "True" : "False"; }

}  // namespace

std::string Settings::GetINIFilePath() const { return pathValue(ini_.get("Path", "FilePath"), "a:"); }
void Settings::SaveINIFilePath(const std::string& drive) { ini_.set("Path", "FilePath", drive); }
std::string Settings::GetINISndPath() const { return pathValue(ini_.get("Path", "SndPath"), "c:"); }
bool Settings::GetININumLock() const { return optionValue(ini_.get("Settings", "NumLock")); }
void Settings::SaveININumLock(bool on) { ini_.set("Settings", "NumLock", optionText(on)); }
bool Settings::GetINIPrintDOS() const { return optionValue(ini_.get("Settings", "PrintDOS")); }
void Settings::SaveINIPrintDOS(bool on) { ini_.set("Settings", "PrintDOS", optionText(on)); }
void Settings::SaveSystemDB(const std::string& workgroupFile) { ini_.set("Options", "SystemDB", workgroupFile); }

}  // namespace kcs::app
