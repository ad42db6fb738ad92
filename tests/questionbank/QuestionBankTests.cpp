#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>

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

TEST_F(QuestionBankTest, TablesAreListedInTheBanksOwnOrderAndItemsWalkedWithBOFAndEOF) {
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
    rs.MovePrevious();
    EXPECT_EQ(rs.Field("ID"), "158");
    rs.MoveFirst();
    rs.MovePrevious();
    EXPECT_TRUE(rs.IsBOF());
    EXPECT_EQ(errorNumber([&] { rs.MovePrevious(); }), 3021);
    rs.MoveNext();
    EXPECT_EQ(rs.Field("ID"), "1");

    auto table = db.OpenTable("English");
    table.MoveLast();
    EXPECT_EQ(table.Field("id"), "158");
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

}  // namespace
