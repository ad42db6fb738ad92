#include "kcs/report/Paragraph.h"

namespace kcs::report {

std::string JustifyLine(std::string line) {
    if (line.size() <= 55 || line.size() >= kParagraphWidth) return line;
    // Positions are 1-based like the columns: a space at position 1 is never doubled.
    // Without any other space the loop below could never finish.
    if (line.find(' ', 1) == std::string::npos) return line;
    std::size_t pos = line.size();
    while (line.size() < kParagraphWidth) {
        std::size_t found = 0;
        for (std::size_t k = pos; k >= 2; --k) {
            if (line[k - 1] == ' ') {
                found = k;
                break;
            }
        }
        if (found == 0) {
            pos = line.size();  // back to the (new) end for another round
            continue;
        }
        line.insert(found - 1, 1, ' ');
        pos = found - 1;
    }
    return line;
}

std::vector<std::string> WrapParagraph(std::string_view text) {
    std::vector<std::string> lines;
    std::string rest(text);
    while (!rest.empty()) {
        std::string line;
        if (rest.size() > kParagraphWidth) {
            std::size_t space = std::string::npos;
            for (std::size_t k = kParagraphWidth + 1; k >= 1; --k) {
                if (rest[k - 1] == ' ') {
                    space = k;
                    break;
                }
            }
            if (space == std::string::npos) {
                // One word longer than a line: cut it rather than loop.
                line = rest.substr(0, kParagraphWidth);
                rest.erase(0, kParagraphWidth);
            } else {
                line = rest.substr(0, space - 1);
                rest.erase(0, space);
            }
        } else {
            line = std::move(rest);
            rest.clear();
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        lines.push_back(JustifyLine(std::move(line)));
    }
    return lines;
}

}  // namespace kcs::report
