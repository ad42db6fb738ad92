#pragma once
// Name and blank handling shared by the readers of hand-edited text files.

#include <cstddef>
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

}  // namespace kcs
