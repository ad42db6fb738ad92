// Checks the report text file, the six narrative files and the invalid-test text
// against the widths the 80-column report leaves for them.

#include <gtest/gtest.h>

#include "ContentFiles.h"

namespace {

using namespace kcs::content;

std::string leadingNumber(const std::string& line) {
    std::size_t i = 0;
    while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
    if (i == 0 || i >= line.size() || line[i] != '.') return {};
    return line.substr(0, i);
}

struct ReportText {
    std::vector<std::string> scaleNames, rangeNames, significant, section3;
};

ReportText loadReportText(const TextLines& t) {
    ReportText r;
    if (t.lines.size() < 2) throw std::runtime_error("report text file too short");
    r.scaleNames = delimitedFields(t.lines[0]);
    r.rangeNames = delimitedFields(t.lines[1]);
    for (std::size_t i = 2; i < t.lines.size(); ++i) {
        if (i < 48) r.significant.push_back(t.lines[i]);
        else if (i < 140) r.section3.push_back(t.lines[i]);
        else if (!t.lines[i].empty()) throw std::runtime_error("text after the section 3 lines");
    }
    return r;
}

TEST(ReportTextFile, NamesAndLinesFitTheReport) {
    const auto file = readLines(binDir() / "KCSRPTnew.TXT");
    EXPECT_TRUE(file.allCrlf);
    EXPECT_TRUE(file.allSingleByte);
    const ReportText r = loadReportText(file);
    ASSERT_EQ(r.scaleNames.size(), 6u);
    ASSERT_EQ(r.rangeNames.size(), 4u);
    for (const auto& n : r.scaleNames) {
        EXPECT_FALSE(n.empty());
        // The profile chart prints the name from column 8 and the percentile at column 28.
        EXPECT_LE(n.size(), 19u) << n;
    }
    for (const auto& n : r.rangeNames) {
        EXPECT_FALSE(n.empty());
        EXPECT_LE(n.size(), 12u) << n;
    }

    const ScoringData d = loadScoringData(binDir() / "KCSB.TXT");
    ASSERT_EQ(r.significant.size(), 46u);
    for (std::size_t i = 0; i < 46; ++i) {
        const auto& line = r.significant[i];
        EXPECT_LE(line.size(), 36u) << line;  // two columns side by side
        EXPECT_EQ(leadingNumber(line), std::to_string(d.significant[i])) << line;
    }
    ASSERT_EQ(r.section3.size(), 92u);
    for (std::size_t i = 0; i < 92; ++i) {
        const auto& line = r.section3[i];
        EXPECT_LE(line.size(), 71u) << line;
        EXPECT_EQ(leadingNumber(line), std::to_string(136 + i / 4)) << line;
    }
}

TEST(NarrativeFiles, EveryScaleHasAParagraphForEveryLabelWithinTheMargin) {
    const auto names = delimitedFields(readLines(binDir() / "KCSRPTnew.TXT").lines.at(1));
    ASSERT_EQ(names.size(), 4u);
    const std::vector<std::string> labels{names[0], "MEDIUM-LOW", "MEDIUM-HIGH",
                                          names[2], "MAXIMUM-LOW", "MAXIMUM-HIGH"};
    for (const char* f : {"KCSVA.TXT", "KCSAL.TXT", "KCSDG.TXT", "KCSRE.TXT", "KCSVI.TXT", "KCSSC.TXT"}) {
        SCOPED_TRACE(f);
        const auto file = readLines(binDir() / f);
        EXPECT_TRUE(file.allCrlf);
        EXPECT_TRUE(file.allSingleByte);
        const auto& lines = file.lines;
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
                EXPECT_EQ(std::find(labels.begin(), labels.end(), *it), labels.end())
                    << "a label inside another block: " << *it;
            }
        }
    }
}

TEST(InvalidTestText, EndsWithEndAndFitsTheMargin) {
    const auto file = readLines(binDir() / "INVAL.TXT");
    EXPECT_TRUE(file.allCrlf);
    EXPECT_TRUE(file.allSingleByte);
    const auto end = std::find(file.lines.begin(), file.lines.end(), "END");
    ASSERT_NE(end, file.lines.end());
    EXPECT_GE(end - file.lines.begin(), 2);
    for (auto it = file.lines.begin(); it != end; ++it) EXPECT_LE(it->size(), 71u) << *it;
}

}  // namespace
