#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>

#include <cstdlib>
#include <numeric>

#include "kcs/common/RunError.h"
#include "kcs/questionbank/QuestionBank.h"
#include "kcs/test/Sqlite.h"
#include "kcs/test/Support.h"

namespace {

using namespace kcs::questionbank;
namespace fs = std::filesystem;
using kcs::test::errorNumber;
using kcs::test::TempDir;

const char* kColumns =
    "(ID INTEGER, TestQuestion TEXT, QuestionAudio TEXT, ANSWER1 TEXT, ANSWER2 TEXT, ANSWER3 TEXT, ANSWER4 TEXT, "
    "ANSWER5 TEXT, ChoiceAudio1 TEXT, ChoiceAudio2 TEXT, ChoiceAudio3 TEXT, ChoiceAudio4 TEXT, ChoiceAudio5 TEXT)";

// A bank with the given tables; each table's items are produced by `ids` in stored order.
void makeBank(const fs::path& file, const std::vector<std::pair<std::string, std::vector<int>>>& tables) {
    const kcs::test::SqliteFile db(file, true);
    db.exec("BEGIN");
    for (const auto& [name, ids] : tables) {
        db.exec("CREATE TABLE [" + name + "] " + kColumns);
        for (int id : ids)
            db.exec("INSERT INTO [" + name + "] (ID, TestQuestion, ANSWER1, ANSWER2, ANSWER3) VALUES (" +
                    std::to_string(id) + ", 'Question " + std::to_string(id) + " ¿sí?', 'True', '', NULL)");
    }
    db.exec("COMMIT");
}

std::vector<int> items(int from, int to) {
    std::vector<int> v(static_cast<std::size_t>(to - from + 1));
    std::iota(v.begin(), v.end(), from);
    return v;
}

class QuestionBankTest : public ::testing::Test {
protected:
    void SetUp() override { makeBank(bank, {{"English", items(1, 158)}, {"Spanish", items(1, 158)}, {"Aardvark", {}}}); }
    TempDir dir;
    fs::path bank = dir / kBankFileName;
    Workspace ws = Engine{}.CreateWorkspace("", "admin", "");
};

TEST_F(QuestionBankTest, TablesAreListedInTheBanksOwnOrderAndItemsWalkedToEOF) {
    auto db = ws.OpenDatabase(bank);
    EXPECT_EQ(db.TableNames(), (std::vector<std::string>{"English", "Spanish", "Aardvark"}));
    auto rs = db.OpenRecordset("Select * from [Spanish]");
    EXPECT_EQ(rs.RecordCount(), 158);
    EXPECT_FALSE(rs.IsBOF());
    EXPECT_EQ(rs.Field("ID"), "1");
    EXPECT_EQ(rs.Field("testquestion"), "Question 1 ¿sí?");
    EXPECT_EQ(rs.Field("Answer1"), "True");
    EXPECT_EQ(rs.Field("ANSWER2"), std::nullopt);  // empty reads as Null
    EXPECT_EQ(rs.Field("ANSWER3"), std::nullopt);  // so does NULL
    EXPECT_EQ(errorNumber([&] { rs.Field("NoSuchField"); }), 3265);

    int seen = 0;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) EXPECT_EQ(rs.Field("ID"), std::to_string(++seen));
    EXPECT_EQ(seen, 158);
    EXPECT_EQ(errorNumber([&] { rs.Field("ID"); }), 3021);
    EXPECT_EQ(errorNumber([&] { rs.MoveNext(); }), 3021);
    EXPECT_EQ(db.OpenTable("English").RecordCount(), 158);
}

TEST_F(QuestionBankTest, QueriesMayOnlyReadAndAnEmptyRecordsetIsAtBOFAndEOF) {
    auto db = ws.OpenDatabase(bank);
    EXPECT_EQ(db.OpenRecordset("SELECT ID FROM English WHERE ID > 150").RecordCount(), 8);
    EXPECT_EQ(errorNumber([&] { db.OpenRecordset("DELETE FROM English"); }), 3219);
    auto rs = db.OpenRecordset("SELECT * FROM English WHERE ID > 158");
    EXPECT_TRUE(rs.IsBOF());
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(errorNumber([&] { rs.MoveFirst(); }), 3021);
    EXPECT_EQ(errorNumber([&] { db.OpenRecordset("Select * from [French]"); }), 3078);
    EXPECT_EQ(errorNumber([&] { db.OpenRecordset("Select * from [Aardvark]"); }), 3343);  // a language without items
    EXPECT_EQ(db.OpenRecordset("Select * from [English]").RecordCount(), 158);  // the DELETE changed nothing
}

TEST_F(QuestionBankTest, LanguageTablesThatAreNotItems1To158InOrderAreRefused) {
    auto swapped = items(1, 158);
    std::swap(swapped[9], swapped[10]);
    auto gap = items(1, 159);
    gap.erase(gap.begin() + 50);
    makeBank(dir / "bad.mdb", {{"Short", items(1, 157)}, {"Long", items(1, 159)}, {"Swapped", swapped},
                               {"Gap", gap}, {"FromZero", items(0, 157)}});
    // A table that never ends is refused too.
    kcs::test::SqliteFile(dir / "bad.mdb", true)
        .exec("CREATE VIEW Endless AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
              "SELECT i AS ID, 'q' AS TestQuestion FROM n WHERE i < 0");
    auto db = ws.OpenDatabase(dir / "bad.mdb");
    for (const std::string t : {"Short", "Long", "Swapped", "Gap", "FromZero", "Endless"}) {
        try {
            db.OpenRecordset("Select * from [" + t + "]");
            ADD_FAILURE() << t << " was accepted";
        } catch (const kcs::RunError& e) {
            EXPECT_EQ(e.number(), t == "Endless" ? 3051 : 3343);
            EXPECT_NE(std::string(e.what()).find(t == "Endless" ? "" : t), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("bad.mdb"), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(errorNumber([&] { db.OpenTable("Swapped"); }), 3343);
}

TEST_F(QuestionBankTest, MissingBadAndForeignFilesHaveTheirNumbers) {
    kcs::test::writeFile(dir / "text.mdb", std::string(4096, 'x'));
    for (const auto& [file, number] : std::vector<std::pair<fs::path, int>>{
             {dir / "KCS99.MDB", 3024}, {dir / "nofolder" / "KCS32.MDB", 3044}, {"", 3044}, {dir.path(), 3051}, {dir / "text.mdb", 3051}})
        EXPECT_EQ(errorNumber([&] { ws.OpenDatabase(file); }), number) << file;
}

TEST_F(QuestionBankTest, ABankOnAReadOnlyVolumeStillOpens) {
    // In a child process with a mount namespace of its own, where the folder is read-only.
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const char* folder = dir.path().c_str();
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(folder, folder, nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(nullptr, folder, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            ::_exit(2);
        try {
            ::_exit(ws.OpenDatabase(bank).OpenRecordset("Select * from [English]").RecordCount() == 158 ? 0 : 1);
        } catch (...) {
            ::_exit(1);
        }
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2) GTEST_SKIP() << "no mount namespaces here";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// The bank compiler must refuse a source that would give the program a broken
// bank, and must never leave a half-written bank behind.
class BankCompiler : public ::testing::Test {
protected:
    kcs::test::TempDir dir;
    int compile(const std::string& english, const std::string& spanish) {
        kcs::test::writeFile(dir / "en.txt", english);
        kcs::test::writeFile(dir / "es.txt", spanish);
        const std::string cmd = "cd '" + dir.path().string() + "' && '" + KCS_BANKC +
                                "' out.mdb English=en.txt Spanish=es.txt 2>/dev/null";
        return std::system(cmd.c_str());
    }
};

const char* kEnglish =
    "# two sections\n@section 1\n@choices True = True | False = False\n1. One.\n2. Two.\n"
    "@section 2\n3. Pick one?\n   1) Never\n   2) Once\n   3) Twice\n4. Pick again?\n   1) Never\n   2) Often\n";
const char* kSpanish =
    "@section 1\r\n@choices Cierto = Cierto | Falso = Falso\r\n1. Uno.\r\n2. Dos.\r\n"
    "@section 2\r\n3. ¿Cuál?\r\n   1) Nunca\r\n   2) Una vez\r\n   3) Dos veces\r\n4. ¿Otra?\r\n   1) Nunca\r\n   2) A menudo\r\n";

// What a compiled bank holds (Null for unused choices, one wave file for equal choices)
// is checked on the shipped bank, which this compiler builds.
TEST_F(BankCompiler, ReadsCrLfSourcesRefusesBrokenOnesAndLeavesTheOldBankAlone) {
    ASSERT_EQ(compile(kEnglish, kSpanish), 0);
    const auto es = kcs::test::SqliteFile(dir / "out.mdb").query("SELECT TestQuestion FROM Spanish WHERE ID = 3");
    ASSERT_EQ(es.size(), 1u);
    EXPECT_EQ(es[0][0], "¿Cuál?");  // CR LF sources read as well as LF
    const std::string good = kcs::test::readFile(dir / "out.mdb");

    const auto edited = [](std::string text, const std::string& from, const std::string& to) {
        return text.replace(text.find(from), from.size(), to);
    };
    for (const auto& [english, spanish, what] : std::vector<std::tuple<std::string, std::string, const char*>>{
             {edited(kEnglish, "2. Two.", "5. Two."), kSpanish, "a gap in the item numbers"},
             {kEnglish, edited(kSpanish, "   3) Dos veces\r\n", ""), "languages disagree on the number of choices"},
             {kEnglish, edited(kSpanish, "¿Cuál?", "\xBF" "Cu\xE1l?"), "a source saved in a single-byte code page"},
             {kEnglish, "@section 1\n1. Solo uno.\n", "an item without choices"}})
        EXPECT_NE(compile(english, spanish), 0) << what;
    EXPECT_EQ(kcs::test::readFile(dir / "out.mdb"), good);
    EXPECT_FALSE(fs::exists(dir / "out.mdb.tmp"));
}

}  // namespace
