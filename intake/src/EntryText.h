#pragma once
// Reading what an operator typed into a small entry field.

#include <optional>
#include <string>
#include <string_view>

#include "kcs/common/Text.h"

namespace kcs::intake::detail {

inline std::string trimmed(std::string_view text) { return std::string(trimBlanks(text)); }

// "N" or "n": not available.
inline bool isNotAvailable(std::string_view text) { return text == "N" || text == "n"; }

// The value of a text made only of digits. Anything else is not a number: the record
// keeps what is typed, so "ab" or "7x" must never pass as 0 or 7.
inline std::optional<int> wholeNumber(std::string_view text) {
    if (text.empty() || text.size() > 4) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

inline void upperAscii(std::string& text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

}  // namespace kcs::intake::detail
