#pragma once
// Word wrap and justification of the long classification paragraph: lines of at most 71
// characters, and lines of 56 to 70 characters widened to exactly 71 by doubling spaces.

#include <string>
#include <string_view>
#include <vector>

namespace kcs::report {

inline constexpr std::size_t kParagraphWidth = 71;

// Widens a line of 56 to 70 characters to 71 by doubling spaces from the right, round
// after round. A line without a space after its first character cannot be widened and
// is returned as it stands; other lengths are returned unchanged.
std::string JustifyLine(std::string line);

// Breaks the text at the last space within the first 72 characters (a word longer than
// that is cut at 71), removes trailing spaces and justifies each line.
std::vector<std::string> WrapParagraph(std::string_view text);

}  // namespace kcs::report
