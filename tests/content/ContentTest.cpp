// Checks of the content we ship. What any agency's files must hold is checked by
// `kcs-report --check`, run first on the built program folder; the rest is ours alone: the
// Spanish translation, the reading level, the items our key gives a meaning the rules rely
// on, the practice disk. The shipped settings, which start the installed program on the practice
// disk, are the package test's.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iostream>

#include "kcs/report/ScoreAndReport.h"
#include "kcs/test/ScoringFixture.h"
#include "kcs/test/Sqlite.h"

namespace {

using namespace kcs::test;
using kcs::records::Field;
namespace fs = std::filesystem;

const fs::path kBin = KCS_CONTENT_BIN_DIR, kShipped = KCS_CONTENT_SOURCE_DIR;

std::vector<SqliteFile::Row> bank(const std::string& table, const std::string& columns) {
    return SqliteFile(kBin / "KCS32.MDB").query("SELECT " + columns + " FROM " + table + " ORDER BY rowid");
}

const kcs::scoring::ScoringTables& tables() {
    static const auto t = [] {
        kcs::scoring::Scorer s;
        s.LoadScoringFiles(kBin);
        return s.tables();
    }();
    return t;
}

int points(int item, int code) {
    const int section = kcs::scoring::sectionOf(item);
    return tables().AnswerKey[section][code].at(std::size_t(item - kcs::scoring::kSectionBounds[section - 1] - 1)) - '0';
}

TEST(Content, TheBuiltProgramFolderPassesTheFolderCheckAndOurReportTextsArePlainAscii) {
    TempDir scratch;
    const auto r = runCommand(std::string(KCS_REPORT_TOOL) + " --program-folder " + kBin.string() + " --check", scratch.path());
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    for (const char* f : {"KCSRPTnew.TXT", "KCSVA.TXT", "KCSAL.TXT", "KCSDG.TXT", "KCSRE.TXT", "KCSVI.TXT", "KCSSC.TXT",
                          "INVAL.TXT"})
        for (unsigned char c : readFile(kBin / f)) ASSERT_TRUE(c < 0x80 && (c >= 0x20 || c == '\r' || c == '\n')) << f;
}

TEST(Content, SpanishIsTranslatedThroughoutAndTheItemsFitTheirScreens) {
    const auto en = bank("English", "TestQuestion, ANSWER2");
    const auto es = bank("Spanish", "TestQuestion, ANSWER1, ANSWER2, ANSWER3, ANSWER4");
    const std::vector<std::string> english{"True", "False", "Rare or Never", "Sometimes", "Often", "Very Often", "Never",
                                           "Once", "Many times", "No problem"};
    int accented = 0, questions = 0, inverted = 0;
    for (std::size_t i = 0; i < es.size(); ++i) {
        const std::string& q = *es[i][0];
        EXPECT_NE(q, *en[i][0]) << "item " << i + 1 << " is not translated";
        EXPECT_LE(std::max(q.size(), en[i][0]->size()), 160u) << "item " << i + 1 << " is too long for the test screen";
        // Answer-sheet entry reads a section 3 item's columns from its English choice 2: four choices.
        const std::string a2 = en[i][1].value_or("");
        EXPECT_TRUE(i < 135 || !(a2 == "No" || a2.starts_with("False") || a2.starts_with("Somet") || a2.starts_with("Mostl") ||
                                 a2.starts_with("Often"))) << "item " << i + 1 << " choice 2 '" << a2 << "'";
        for (std::size_t k = 1; k < 5; ++k) EXPECT_EQ(std::ranges::count(english, es[i][k].value_or("")), 0) << i + 1;
        accented += q.find_first_of("\xC3\xC2") != std::string::npos;  // the lead bytes of á é í ó ú ñ ü ¿ ¡
        questions += q.ends_with('?');
        inverted += q.ends_with('?') && q.find("¿") != std::string::npos;
    }
    EXPECT_GT(accented, 40) << "Spanish text without accents is wrong text";
    EXPECT_EQ(inverted, questions) << "every Spanish question opens with ¿";
}

// Many clients read poorly: every English statement and choice is written for grade 6 or
// below, as GNU style (package diction) measures it; the figures are printed for reviewers.
TEST(Content, EnglishReadsAtGradeSixOrBelow) {
    std::vector<std::string> statements, choices;
    for (const auto& row : bank("English", "TestQuestion, ANSWER1, ANSWER2, ANSWER3, ANSWER4, ANSWER5")) {
        statements.push_back(*row[0]);
        for (std::size_t k = 1; k < row.size(); ++k)
            if (row[k]) choices.push_back(*row[k]);
    }
    using Texts = std::pair<const char*, std::vector<std::string>>;
    for (const auto& [name, texts] : {Texts{"statements", statements}, Texts{"choices", choices}}) {
        TempDir dir;
        std::string text;  // each text a sentence of its own paragraph, so style counts it as one
        for (const auto& t : texts) text += t + (std::string(".?!").find(t.back()) != std::string::npos ? "" : ".") + "\n\n";
        writeFile(dir / "texts.txt", text);
        const std::string cmd = "style '" + (dir / "texts.txt").string() + "' > '" + (dir / "out").string() + "' 2>&1";
        const std::string report = std::system(cmd.c_str()) == 0 ? readFile(dir / "out") : "";
        std::cout << "[reading level] English " << name << " (" << texts.size() << " texts):";
        for (const char* formula : {"Kincaid", "ARI"}) {
            const auto at = report.find(std::string(formula) + ":");
            ASSERT_NE(at, std::string::npos) << "GNU style (package diction) is needed for this test";
            const double grade = std::strtod(report.c_str() + at + std::strlen(formula) + 1, nullptr);
            std::cout << " " << formula << " " << grade;
            EXPECT_LE(grade, 6.0) << name << " " << formula;
        }
        std::cout << "\n";
    }
}

// Items whose meaning the scoring rules rely on are keyed that way.
TEST(Content, ItemsTheRulesReadByMeaningAreKeyedSo) {
    for (int item : {151, 154})  // cutting down on drinking or drug use: a dependency criterion
        for (int code = 1; code <= 3; ++code) EXPECT_GE(points(item, code), 2) << item;
    for (int item : {19, 65}) EXPECT_EQ(points(item, 1), 0) << item << " speaks against violence when True";
    for (int item = 136; item <= 158; ++item) EXPECT_EQ(points(item, 4), 0) << item << ": choice 4 denies the behaviour";
    for (int item : tables().ScaleItems[1])  // Truthfulness: denials of common faults, one point each
        EXPECT_TRUE(item <= 99 && std::max(points(item, 1), points(item, 2)) == 1) << item;
}

TEST(Content, PracticeDiskCoversTheCasesToPractiseOn) {
    kcs::records::ClientTable table;
    EXPECT_EQ(kcs::records::LoadClients(table, kShipped / "practice-disk" / "DATA401.KCS").trailingBytes, 0);
    bool invalid = false, unscored = false, deleted = false, accented = false, courtNA = false;
    for (std::int16_t n = 1; n <= table.NumClients; ++n) {
        SCOPED_TRACE("client " + std::to_string(n));
        const auto& c = table.Clients[static_cast<std::size_t>(n)];
        for (auto f : kcs::records::kCourtFields) courtNA = courtNA || c.raw(f) == "N ";
        deleted = deleted || c.raw(Field::NameDeleted) == "1";
        accented = accented || std::ranges::any_of(c.raw(Field::Name), [](unsigned char ch) { return ch >= 0xC0; });
        kcs::scoring::Scores s;  // scoring refuses an answer code its item does not have
        kcs::report::ComposeReport(table, n, {kBin, 'b', true}, &s);
        invalid = invalid || s.invalid();
        for (int scale = 1; scale <= 6; ++scale) unscored = unscored || !s.scored(scale);
    }
    EXPECT_TRUE(invalid && unscored && deleted && accented && courtNA)
        << "practice cases: an invalid test " << invalid << ", too many omissions " << unscored << ", a deleted name "
        << deleted << ", an accented name " << accented << ", a court item given as N " << courtNA;
}

}  // namespace
