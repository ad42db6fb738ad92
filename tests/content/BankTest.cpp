// Checks the compiled question bank KCS32.MDB as the program will read it.

#include <gtest/gtest.h>

#include <set>

#include "ContentFiles.h"

namespace {

using namespace kcs::content;

constexpr int kItems = 158;
int sectionOf(int id) { return id <= 99 ? 1 : id <= 135 ? 2 : 3; }

const char* kColumns =
    "ID, TestQuestion, QuestionAudio, ANSWER1, ANSWER2, ANSWER3, ANSWER4, ANSWER5, "
    "ChoiceAudio1, ChoiceAudio2, ChoiceAudio3, ChoiceAudio4, ChoiceAudio5";

class QuestionBank : public ::testing::Test {
protected:
    Bank bank{binDir() / "KCS32.MDB"};
    std::vector<Bank::Row> rows(const std::string& table) const {
        return bank.query(std::string("SELECT rowid, ") + kColumns + " FROM \"" + table + "\" ORDER BY rowid");
    }
};

// The columns are the ones `rows` reads (a missing one fails its query).
TEST_F(QuestionBank, ItemsOfEnglishThenSpanishRunOneTo158InStorageOrderWithTheRightChoices) {
    const auto tables = bank.query("SELECT name FROM sqlite_master WHERE type='table' ORDER BY rowid");
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(*tables[0][0] + "," + *tables[1][0], "English,Spanish");
    for (const auto& [t, trueFalse, rating] :
         {std::tuple{"English", "True/False", "Rare or Never/Sometimes/Often/Very Often"},
          std::tuple{"Spanish", "Cierto/Falso", "Rara o nunca/Algunas veces/Frecuente/Muy Frecuente"}}) {
        SCOPED_TRACE(t);
        const auto r = rows(t);
        ASSERT_EQ(r.size(), static_cast<std::size_t>(kItems));
        for (int i = 0; i < kItems; ++i) {
            const auto& row = r[i];
            const int id = i + 1;
            ASSERT_TRUE(std::stoi(*row[0]) == id && std::stoi(*row[1]) == id) << "storage order must be item order";
            ASSERT_TRUE(row[2] && !row[2]->empty()) << id;
            EXPECT_EQ(row[3].value_or(""), "Q" + std::string(id < 10 ? "00" : id < 100 ? "0" : "") + std::to_string(id));
            const int expected = sectionOf(id) == 1 ? 2 : 4;
            std::string choices;
            for (int k = 0; k < 5; ++k) {
                // An unused choice is Null, never an empty string, so it is not offered.
                EXPECT_EQ(row[4 + k].has_value(), k < expected) << "item " << id << " choice " << k + 1;
                EXPECT_EQ(row[9 + k].has_value(), k < expected) << "item " << id << " audio " << k + 1;
                if (k < expected) {
                    EXPECT_FALSE(row[4 + k]->empty() || row[9 + k]->empty()) << "item " << id << " choice " << k + 1;
                    choices += (k ? "/" : "") + *row[4 + k];
                }
            }
            if (sectionOf(id) < 3) { EXPECT_EQ(choices, sectionOf(id) == 1 ? trueFalse : rating) << "item " << id; }
            // Answer-sheet entry reads an item's answer type from the English ANSWER2: "False"
            // for True/False, "Somet", "Mostl" or "Often" for ratings, "No"; else four choices.
            if (sectionOf(id) == 3 && t == std::string("English")) {
                const std::string a2 = row[5].value_or("");
                EXPECT_TRUE(a2 != "No" && !a2.starts_with("False") && !a2.starts_with("Somet") && !a2.starts_with("Mostl") &&
                            !a2.starts_with("Often")) << "item " << id << " ANSWER2 '" << a2 << "'";
            }
        }
    }
}

TEST_F(QuestionBank, SpanishTableIsSpanishThroughout) {
    const auto en = rows("English");
    const auto es = rows("Spanish");
    const std::set<std::string> englishChoices{"True", "False", "Rare or Never", "Sometimes", "Often",
                                               "Very Often", "Never", "Once", "Many times", "No problem"};
    int accented = 0, invertedQuestion = 0, questions = 0;
    for (std::size_t i = 0; i < es.size(); ++i) {
        const int id = static_cast<int>(i) + 1;
        EXPECT_NE(*es[i][2], *en[i][2]) << "item " << id << " is not translated";
        for (int k = 4; k < 9; ++k) EXPECT_EQ(englishChoices.count(es[i][k].value_or("")), 0u) << "item " << id;
        const std::string& q = *es[i][2];
        for (const char* mark : {"á", "é", "í", "ó", "ú", "ñ", "ü", "¿", "¡"})
            if (q.find(mark) != std::string::npos) { ++accented; break; }
        if (!q.empty() && q.back() == '?') {
            ++questions;
            if (q.find("¿") != std::string::npos) ++invertedQuestion;
        }
    }
    EXPECT_GT(accented, 40) << "Spanish text without accents is wrong text";
    EXPECT_EQ(invertedQuestion, questions) << "every Spanish question opens with ¿";
}

TEST_F(QuestionBank, FieldsFitAndWaveNamesAreSafeAndShared) {
    for (const char* t : {"English", "Spanish"}) {
        SCOPED_TRACE(t);
        std::map<std::string, std::string> audioOfText, textOfAudio;
        for (const auto& row : rows(t)) {
            for (std::size_t c = 2; c < row.size(); ++c) EXPECT_LE(row[c].value_or("").size(), 255u) << "item " << *row[1];
            EXPECT_LE(row[2]->size(), 160u) << "statement of item " << *row[1] << " is too long for the screen";
            for (int k = 0; k < 5; ++k) {
                if (!row[4 + k]) continue;
                const std::string& text = *row[4 + k];
                const std::string& audio = *row[9 + k];
                for (char ch : audio)
                    ASSERT_TRUE(std::isalnum(static_cast<unsigned char>(ch)) || ch == '_' || ch == '-') << audio;
                // "T", "F", "Y" and "N" are taken over by the player as True/False/Yes/No.
                EXPECT_GT(audio.size(), 1u) << audio;
                auto [it, fresh] = audioOfText.emplace(text, audio);
                EXPECT_EQ(it->second, audio) << "the same choice '" << text << "' uses two wave files";
                auto [it2, fresh2] = textOfAudio.emplace(audio, text);
                EXPECT_EQ(it2->second, text) << "wave file " << audio << " speaks two different texts";
            }
        }
    }
}

}  // namespace
