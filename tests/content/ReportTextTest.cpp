// Checks the report text file, the six narrative files and the invalid-test text
// against the widths the 80-column report leaves for them.

#include <gtest/gtest.h>

#include "ContentFiles.h"

namespace {

using namespace kcs::content;

// Plain ASCII with CR LF line ends, as the report copies it byte for byte.
TextLines readReportFile(const std::string& name) {
    auto file = readLines(binDir() / name);
    EXPECT_TRUE(file.allCrlf) << name;
    EXPECT_TRUE(file.allSingleByte) << name;
    return file;
}

std::string leadingNumber(const std::string& line) {
    const auto dot = line.find('.');
    if (dot == 0 || dot == std::string::npos || line.find_first_not_of("0123456789") != dot) return {};
    return line.substr(0, dot);
}

TEST(ReportTextFile, NamesAndLinesFitTheReport) {
    const auto file = readReportFile("KCSRPTnew.TXT");
    for (std::size_t i = 140; i < file.lines.size(); ++i) EXPECT_EQ(file.lines[i], "") << "text after the section 3 lines";
    const auto& t = tables();
    // The profile chart prints the name from column 8 and the percentile at column 28.
    for (int s = 1; s <= 6; ++s) EXPECT_TRUE(!t.ScaleNames[s].empty() && t.ScaleNames[s].size() <= 19u) << t.ScaleNames[s];
    for (int r = 1; r <= 4; ++r) EXPECT_TRUE(!t.RangeNames[r].empty() && t.RangeNames[r].size() <= 12u) << t.RangeNames[r];
    for (int i = 1; i <= 46; ++i) {
        const auto& line = t.SignificantItemTexts[i];
        EXPECT_LE(line.size(), 36u) << line;  // two columns side by side
        EXPECT_EQ(leadingNumber(line), std::to_string(t.SignificantItemNumbers[i])) << line;
    }
    for (int i = 1; i <= 92; ++i) {
        const auto& line = t.Section3Texts[i];
        EXPECT_LE(line.size(), 71u) << line;
        EXPECT_EQ(leadingNumber(line), std::to_string(136 + (i - 1) / 4)) << line;
    }
}

TEST(NarrativeFiles, EveryScaleHasAParagraphForEveryLabelWithinTheMargin) {
    const auto& names = tables().RangeNames;
    const std::vector<std::string> labels{names[1], "MEDIUM-LOW", "MEDIUM-HIGH", names[3], "MAXIMUM-LOW", "MAXIMUM-HIGH"};
    for (const char* f : {"KCSVA.TXT", "KCSAL.TXT", "KCSDG.TXT", "KCSRE.TXT", "KCSVI.TXT", "KCSSC.TXT"}) {
        SCOPED_TRACE(f);
        const auto lines = readReportFile(f).lines;
        for (const auto& label : labels) {
            SCOPED_TRACE(label);
            // The program takes the first line equal to the label, then reads to "END".
            const auto at = std::find(lines.begin(), lines.end(), label);
            ASSERT_NE(at, lines.end());
            EXPECT_EQ(std::count(lines.begin(), lines.end(), label), 1);
            const auto end = std::find(at + 1, lines.end(), "END");
            ASSERT_NE(end, lines.end());
            EXPECT_GE(end - at, 3) << "a paragraph of at least two lines";
            for (auto it = at + 1; it != end; ++it) {
                EXPECT_LE(it->size(), 72u) << *it;
                EXPECT_EQ(std::find(labels.begin(), labels.end(), *it), labels.end()) << "a label inside another block: " << *it;
            }
        }
    }
}

TEST(InvalidTestText, EndsWithEndAndFitsTheMargin) {
    const auto lines = readReportFile("INVAL.TXT").lines;
    const auto end = std::find(lines.begin(), lines.end(), "END");
    ASSERT_NE(end, lines.end());
    EXPECT_GE(end - lines.begin(), 2);
    for (auto it = lines.begin(); it != end; ++it) EXPECT_LE(it->size(), 71u) << *it;
}

}  // namespace
