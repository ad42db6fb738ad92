#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "kcs/common/Cp1252.h"
#include "kcs/common/DurableFile.h"
#include "kcs/common/RunError.h"
#include "kcs/test/Support.h"

namespace {

using kcs::test::TempDir;
namespace fs = std::filesystem;

TEST(Cp1252, AccentedNamesAreOneBytePerCharacterAndRoundTrip) {
    const auto bytes = kcs::utf8ToCp1252("José Muñoz");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, "Jos\xE9 Mu\xF1oz");
    EXPECT_EQ(kcs::cp1252ToUtf8(*bytes), "José Muñoz");
    // The 0x80..0x9F block holds typographic characters, not C1 controls.
    EXPECT_EQ(kcs::utf8ToCp1252("€ – “x”"), std::string("\x80 \x96 \x93x\x94"));
}

TEST(Cp1252, TextTheCodePageCannotHoldIsRefused) {
    EXPECT_FALSE(kcs::utf8ToCp1252("Łukasz"));     // not in the code page
    EXPECT_FALSE(kcs::utf8ToCp1252("名前"));
    EXPECT_FALSE(kcs::utf8ToCp1252("\xC3"));       // truncated sequence
    EXPECT_FALSE(kcs::utf8ToCp1252("\xC0\xA0"));   // overlong form
    EXPECT_FALSE(kcs::utf8ToCp1252("\xED\xA0\x80"));  // surrogate
}

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(kcs::utf8ToCp1252(kcs::cp1252ToUtf8(all)), all);
}

TEST(RunErrorNumbers, ErrnoValuesMapToTheClassicNumbers) {
    TempDir d;
    EXPECT_EQ(kcs::runErrorNumberForErrno(ENOENT, d / "TID"), 53);
    EXPECT_EQ(kcs::runErrorNumberForErrno(ENOENT, d / "nofolder" / "TID"), 76);
    EXPECT_EQ(kcs::runErrorNumberForErrno(EACCES, d / "x"), 70);
    EXPECT_EQ(kcs::runErrorNumberForErrno(EROFS, d / "x"), 70);
    EXPECT_EQ(kcs::runErrorNumberForErrno(EIO, d / "x"), 57);
    EXPECT_EQ(kcs::runErrorNumberForErrno(ENOMEDIUM, d / "x"), 71);
    EXPECT_EQ(kcs::runErrorNumberForErrno(ENXIO, d / "x"), 71);
    EXPECT_EQ(kcs::runErrorNumberForErrno(ENOSPC, d / "x"), 61);
    const auto e = kcs::fileError(EROFS, d / "x", "Cannot write");
    EXPECT_EQ(e.number(), 70);
    EXPECT_NE(e.description().find("Cannot write"), std::string::npos);
}

TEST(DurableFile, ReplacesContentKeepsPermissionsAndFollowsLinks) {
    TempDir d;
    EXPECT_FALSE(kcs::readFileIfExists(d / "missing"));

    const auto target = d / "real.ini";
    kcs::replaceFileDurably(target, "one");
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    kcs::replaceFileDurably(target, "two");
    EXPECT_EQ(kcs::readFileIfExists(target), "two");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    fs::create_symlink(target, d / "link.ini");
    kcs::replaceFileDurably(d / "link.ini", "three");
    EXPECT_TRUE(fs::is_symlink(d / "link.ini"));
    EXPECT_EQ(kcs::test::readFile(target), "three");
    EXPECT_FALSE(fs::exists(d / "real.ini.new"));
}

TEST(DurableFile, AReadOnlyVolumeIsRefusedWith70AndLeftAlone) {
    TempDir d;
    kcs::test::writeFile(d / "f", "old");
    const auto ok = kcs::test::inReadOnlyView(d.path(), [&] {
        try {
            kcs::replaceFileDurably(d / "f", "new");
        } catch (const kcs::RunError& e) {
            return e.number() == 70 && kcs::test::readFile(d / "f") == "old";
        }
        return false;
    });
    if (!ok) GTEST_SKIP() << "no mount namespaces here";
    EXPECT_TRUE(*ok);
}

TEST(DurableFile, AReadOnlyFileIsRefusedWith70) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    TempDir d;
    kcs::test::writeFile(d / "f", "old");
    ASSERT_EQ(::chmod((d / "f").c_str(), 0444), 0);
    try {
        kcs::replaceFileDurably(d / "f", "new");
        FAIL() << "a read-only file was replaced";
    } catch (const kcs::RunError& e) {
        EXPECT_EQ(e.number(), 70);
    }
    EXPECT_EQ(kcs::test::readFile(d / "f"), "old");
}

}  // namespace
