#include <gtest/gtest.h>

#include <cerrno>

#include "kcs/common/Cp1252.h"
#include "kcs/common/DurableFile.h"
#include "kcs/test/Support.h"

namespace {

using kcs::test::readFile;
using kcs::test::TempDir;
namespace fs = std::filesystem;

TEST(Cp1252, NamesAreOneBytePerCharacterEveryByteRoundTripsAndForeignTextIsRefused) {
    // Latin letters are the client record's test; the 0x80..0x9F block holds typographic
    // characters, not C1 controls.
    EXPECT_EQ(kcs::utf8ToCp1252("€ – “x”"), std::string("\x80 \x96 \x93x\x94"));
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(kcs::utf8ToCp1252(kcs::cp1252ToUtf8(all)), all);
    // Outside the code page; truncated, overlong and surrogate forms.
    for (const char* bad : {"Łukasz", "名前", "\xC3", "\xC0\xA0", "\xED\xA0\x80"}) EXPECT_FALSE(kcs::utf8ToCp1252(bad)) << bad;
}

// A missing file or folder is the data drive's test, the faults of a write the disk-fault test's.
TEST(RunErrorNumbers, ErrnoValuesMapToTheClassicNumbers) {
    TempDir d;
    EXPECT_EQ(kcs::runErrorNumberForErrno(EACCES, d / "x"), 70);
    EXPECT_EQ(kcs::runErrorNumberForErrno(ENOMEDIUM, d / "x"), 71);
}

// Permissions kept are the privacy test's.
TEST(DurableFile, ReplacesContentAndFollowsLinks) {
    TempDir d;
    EXPECT_FALSE(kcs::readFileIfExists(d / "missing"));
    const auto target = d / "real.ini";
    kcs::replaceFileDurably(target, "one");
    kcs::replaceFileDurably(target, "two");
    EXPECT_EQ(kcs::readFileIfExists(target), "two");
    fs::create_symlink(target, d / "link.ini");
    kcs::replaceFileDurably(d / "link.ini", "three");
    EXPECT_TRUE(fs::is_symlink(d / "link.ini"));
    EXPECT_EQ(readFile(target), "three");
    EXPECT_FALSE(fs::exists(d / "real.ini.new"));
}

TEST(DurableFile, WhatInterruptedWritesLeftNeverStopsASaveAndIsRemovedAlone) {
    TempDir d;
    for (int n = 0; n < 100; ++n) kcs::test::writeFile(d / ("f.new" + (n ? std::to_string(n) : "")), "left");
    kcs::replaceFileDurably(d / "f", "saved");
    EXPECT_EQ(readFile(d / "f"), "saved");
    EXPECT_EQ(readFile(d / "f.new"), "left");  // nothing already there is touched
    // Removing the leftovers takes the staging files only.
    for (const char* name : {"f.newer", "g.new", "f.new4x"}) kcs::test::writeFile(d / name, name);
    fs::create_directory(d / "f.new100");
    EXPECT_EQ(kcs::removeStagingLeftovers(d / "f"), 1);  // left: the folder is not ours to remove
    for (const char* gone : {"f.new", "f.new42", "f.new99"}) EXPECT_FALSE(fs::exists(d / gone)) << gone;
    for (const char* kept : {"f", "f.newer", "g.new", "f.new4x", "f.new100"}) EXPECT_TRUE(fs::exists(d / kept)) << kept;
}

}  // namespace
