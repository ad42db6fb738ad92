// Reading level of the English items. Many clients read poorly, so every
// statement and choice is written for grade 6 or below. GNU style (package
// diction) measures it; the figures are printed so reviewers see the margin.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <iostream>
#include <map>
#include <regex>

#include "ContentFiles.h"

namespace {

using namespace kcs::content;

constexpr double kHighestGrade = 6.0;

std::string runStyle(const std::filesystem::path& file) {
    const std::string cmd = "style '" + file.string() + "' 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return {};
    std::string out;
    std::array<char, 4096> buf{};
    while (std::fgets(buf.data(), buf.size(), p)) out += buf.data();
    const int rc = pclose(p);
    return rc == 0 ? out : std::string();
}

// "Kincaid: 2.6" -> {"Kincaid", 2.6}, and so on for the grade-scaled formulas.
std::map<std::string, double> grades(const std::string& report) {
    std::map<std::string, double> g;
    const std::regex line(R"((Kincaid|ARI|Coleman-Liau|Fog Index|SMOG-Grading):\s*(-?[0-9.]+))");
    for (std::sregex_iterator it(report.begin(), report.end(), line), end; it != end; ++it)
        g[(*it)[1]] = std::stod((*it)[2]);
    return g;
}

// One text per line, each made a sentence so that style counts it as one.
std::filesystem::path writeTexts(const std::vector<std::string>& texts, const std::string& name) {
    const auto path = std::filesystem::temp_directory_path() / ("kcs-reading-" + name + ".txt");
    std::ofstream out(path, std::ios::binary);
    for (auto t : texts) {
        if (!t.empty() && t.back() != '.' && t.back() != '?' && t.back() != '!') t += '.';
        out << t << "\n\n";
    }
    return path;
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
        const auto file = writeTexts(texts, name);
        const std::string report = runStyle(file);
        std::filesystem::remove(file);
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
