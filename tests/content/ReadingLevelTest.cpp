// Reading level of the English items. Many clients read poorly, so every
// statement and choice is written for grade 6 or below. GNU style (package
// diction) measures it; the figures are printed so reviewers see the margin.

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <map>
#include <cstdlib>
#include <cstring>

#include "ContentFiles.h"

namespace {

using namespace kcs::content;

constexpr double kHighestGrade = 6.0;

// GNU style's report on the texts, one per line, each made a sentence so that style
// counts it as one; empty when style fails.
std::string runStyle(const std::vector<std::string>& texts) {
    kcs::test::TempDir dir;
    std::string text;
    for (const auto& t : texts) text += t + (t.ends_with('.') || t.ends_with('?') || t.ends_with('!') ? "" : ".") + "\n\n";
    kcs::test::writeFile(dir / "texts.txt", text);
    const std::string cmd = "style '" + (dir / "texts.txt").string() + "' > '" + (dir / "out").string() + "' 2>&1";
    return std::system(cmd.c_str()) == 0 ? kcs::test::readFile(dir / "out") : std::string();
}

// "Kincaid: 2.6" -> {"Kincaid", 2.6}, and so on for the grade-scaled formulas.
std::map<std::string, double> grades(const std::string& report) {
    std::map<std::string, double> g;
    for (const char* name : {"Kincaid", "ARI", "Coleman-Liau", "Fog Index", "SMOG-Grading"}) {
        const auto at = report.find(std::string(name) + ":");
        if (at != std::string::npos) g[name] = std::strtod(report.c_str() + at + std::strlen(name) + 1, nullptr);
    }
    return g;
}

TEST(ReadingLevel, EnglishStatementsAndChoicesReadAtGradeSixOrBelow) {
    Bank bank(binDir() / "KCS32.MDB");
    std::vector<std::string> statements, choices;
    for (const auto& row : bank.query("SELECT TestQuestion, ANSWER1, ANSWER2, ANSWER3, ANSWER4, ANSWER5 "
                                      "FROM English ORDER BY rowid")) {
        statements.push_back(*row[0]);
        for (std::size_t k = 1; k < row.size(); ++k)
            if (row[k]) choices.push_back(*row[k]);
    }
    std::vector<std::string> all = statements;
    all.insert(all.end(), choices.begin(), choices.end());

    for (const auto& [name, texts] : {std::pair{std::string("statements"), statements},
                                      std::pair{std::string("choices"), choices},
                                      std::pair{std::string("all"), all}}) {
        const std::string report = runStyle(texts);
        ASSERT_FALSE(report.empty()) << "GNU style (package diction) is needed for this test";
        const auto g = grades(report);
        ASSERT_TRUE(g.count("Kincaid")) << report;
        std::cout << "[reading level] English " << name << " (" << texts.size() << " texts):";
        for (const auto& [formula, value] : g) std::cout << " " << formula << " " << value;
        std::cout << "\n";
        // Kincaid and ARI are the grade figures the items are written to; both must hold.
        EXPECT_LE(g.at("Kincaid"), kHighestGrade) << name;
        EXPECT_LE(g.at("ARI"), kHighestGrade) << name;
    }
}

}  // namespace
