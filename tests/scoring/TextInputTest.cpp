#include <gtest/gtest.h>

#include "kcs/scoring/TextInput.h"
#include "kcs/test/ScoringFixture.h"

using kcs::scoring::SequentialFile;
using kcs::test::errorOf;

TEST(SequentialFile, DelimitedFieldsAndWholeLinesInterleaveWithLineEndsOfEveryKind) {
    SequentialFile f("T.TXT",
                     "\"Truth, and more\" , \"B\"junk,  plain text  \r\n"
                     "  12 ,-7,\n\n\n"  // blank lines before a field are skipped
                     "+3\r"
                     "  a whole line, with comma \r\n"
                     "\n"
                     "last\xE9\x93");
    EXPECT_EQ(f.inputString(), "Truth, and more");
    EXPECT_EQ(f.inputString(), "B");  // text after the closing quote is dropped
    EXPECT_EQ(f.inputString(), "plain text");
    EXPECT_EQ(f.inputInteger(), 12);
    EXPECT_EQ(f.inputInteger(), -7);  // a comma closing the line takes the line end with it
    EXPECT_EQ(f.inputInteger(), 3);
    EXPECT_EQ(f.lineInput(), "  a whole line, with comma ");
    EXPECT_EQ(f.lineInput(), "");
    EXPECT_EQ(f.lineInput(), "last\xE9\x93");  // 8-bit bytes pass through, no final line end needed
    EXPECT_TRUE(f.atEnd());
}

// A file cut short or missing is the scorer's test.
TEST(SequentialFile, FailuresNameTheFileAndLine) {
    EXPECT_EQ(errorOf([] { SequentialFile f("KCSB.TXT", "1,2\r\n3,x4\r\n"); for (int i = 0; i < 4; ++i) f.inputInteger(); }),
              "KCSB.TXT, line 2: a whole number was expected, found \"x4\"");
    EXPECT_EQ(errorOf([] { SequentialFile f("KCSB.TXT", "1,,2"); f.inputInteger(); f.inputInteger(); }),
              "KCSB.TXT, line 1: a whole number was expected, found \"\"");
    EXPECT_EQ(errorOf([] { SequentialFile f("KCSB.TXT", "40000"); f.inputInteger(); }),
              "KCSB.TXT, line 1: the number 40000 is too large");
    EXPECT_EQ(errorOf([] { SequentialFile f("R.TXT", "\"open\r\n"); f.inputString(); }),
              "R.TXT, line 1: a quoted value has no closing quote");
    EXPECT_EQ(errorOf([] { SequentialFile f("R.TXT", "a\r\n"); f.lineInput(); f.lineInput(); }),
              "R.TXT, line 2: the file ends before all of its lines were read");
}
