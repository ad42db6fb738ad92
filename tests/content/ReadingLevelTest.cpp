// Reading level of the English items. Many clients read poorly, so every statement and
// choice is written for grade 6 or below. GNU style (package diction) measures it; the
// figures are printed so reviewers see the margin.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>

#include "ContentFiles.h"

namespace {

using namespace kcs::content;

// GNU style's grade figures for the texts, each made a sentence of its own paragraph so
// that style counts it as one; empty when style fails.
std::map<std::string, double> grades(const std::vector<std::string>& texts) {
    kcs::test::TempDir dir;
    std::string text;
    for (const auto& t : texts) text += t + (t.ends_with('.') || t.ends_with('?') || t.ends_with('!') ? "" : ".") + "\n\n";
    kcs::test::writeFile(dir / "texts.txt", text);
    const std::string cmd = "style '" + (dir / "texts.txt").string() + "' > '" + (dir / "out").string() + "' 2>&1";
    const std::string report = std::system(cmd.c_str()) == 0 ? kcs::test::readFile(dir / "out") : "";
    std::map<std::string, double> g;  // "Kincaid: 2.6" -> {"Kincaid", 2.6}
    for (const char* name : {"Kincaid", "ARI", "Coleman-Liau", "Fog Index", "SMOG-Grading"})
        if (const auto at = report.find(std::string(name) + ":"); at != std::string::npos)
            g[name] = std::strtod(report.c_str() + at + std::strlen(name) + 1, nullptr);
    return g;
}

TEST(ReadingLevel, EnglishStatementsAndChoicesReadAtGradeSixOrBelow) {
    std::vector<std::string> statements, choices;
    for (const auto& row : Bank(binDir() / "KCS32.MDB").query("SELECT TestQuestion, ANSWER1, ANSWER2, ANSWER3, ANSWER4, "
                                                                "ANSWER5 FROM English ORDER BY rowid")) {
        statements.push_back(*row[0]);
        for (std::size_t k = 1; k < row.size(); ++k)
            if (row[k]) choices.push_back(*row[k]);
    }
    std::vector<std::string> all = statements;
    all.insert(all.end(), choices.begin(), choices.end());

    for (const auto& [name, texts] :
         {std::pair{"statements", statements}, std::pair{"choices", choices}, std::pair{"all", all}}) {
        const auto g = grades(texts);
        ASSERT_TRUE(g.count("Kincaid") && g.count("ARI")) << "GNU style (package diction) is needed for this test";
        std::cout << "[reading level] English " << name << " (" << texts.size() << " texts):";
        for (const auto& [formula, value] : g) std::cout << " " << formula << " " << value;
        std::cout << "\n";
        // Kincaid and ARI are the grade figures the items are written to; both must hold.
        EXPECT_LE(g.at("Kincaid"), 6.0) << name;
        EXPECT_LE(g.at("ARI"), 6.0) << name;
    }
}

}  // namespace
