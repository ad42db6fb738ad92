#pragma once
// Name and blank handling shared by the readers of hand-edited text files.

#include <cstddef>
#include <string>
#include <string_view>

namespace kcs {

// A lone carriage return (a line end cut by an editor) counts as blank too.
constexpr bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

constexpr std::string_view trimBlanks(std::string_view v) {
    while (!v.empty() && isBlank(v.front())) v.remove_prefix(1);
    while (!v.empty() && isBlank(v.back())) v.remove_suffix(1);
    return v;
}

// Names (sections, keys, tables, fields) compare without regard to ASCII letter case.
constexpr bool sameName(std::string_view a, std::string_view b) {
    constexpr auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// Bytes read from a file as a message can show them: printable ASCII as it stands, every
// other byte (control bytes, NUL, 8-bit characters) as \xNN, so a message is never cut
// short or turned into terminal commands by what a damaged file holds.
inline std::string printable(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F) {
            out += c;
        } else {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        }
    }
    return out;
}

}  // namespace kcs
