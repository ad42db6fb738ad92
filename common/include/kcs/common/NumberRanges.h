#pragma once
// Client numbers as people read them in a message: "1 to 3, 5, 7 to 8".

#include <string>
#include <vector>

namespace kcs {

// `numbers` in ascending order; runs of consecutive numbers are written "first to last".
inline std::string numberRanges(const std::vector<int>& numbers) {
    std::string out;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) ++j;
        if (!out.empty()) out += ", ";
        out += std::to_string(numbers[i]);
        if (j > i) out += " to " + std::to_string(numbers[j]);
        i = j + 1;
    }
    return out;
}

// "client 3" or "clients 1 to 3, 5".
inline std::string numbered(const std::string& noun, const std::vector<int>& numbers) {
    return noun + (numbers.size() == 1 ? " " : "s ") + numberRanges(numbers);
}

}  // namespace kcs
