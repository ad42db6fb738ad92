// The bank compiler must refuse a source that would give the program a broken
// bank, and must never leave a half-written bank behind.

#include <gtest/gtest.h>

#include <cstdlib>

#include "kcs/test/Sqlite.h"
#include "kcs/test/Support.h"

namespace {

namespace fs = std::filesystem;

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

    std::string gap = kEnglish;
    gap.replace(gap.find("2. Two."), 7, "5. Two.");
    EXPECT_NE(compile(gap, kSpanish), 0) << "a gap in the item numbers";

    std::string fewer = kSpanish;
    fewer.erase(fewer.find("   3) Dos veces\r\n"), 17);
    EXPECT_NE(compile(kEnglish, fewer), 0) << "languages disagree on the number of choices";

    std::string latin1 = kSpanish;
    latin1.replace(latin1.find("¿Cuál?"), 8, "\xBF" "Cu\xE1l?");
    EXPECT_NE(compile(kEnglish, latin1), 0) << "a source saved in a single-byte code page";

    EXPECT_NE(compile(kEnglish, "@section 1\n1. Solo uno.\n"), 0) << "an item without choices";

    EXPECT_EQ(kcs::test::readFile(dir / "out.mdb"), good);
    EXPECT_FALSE(fs::exists(dir / "out.mdb.tmp"));
}

}  // namespace
