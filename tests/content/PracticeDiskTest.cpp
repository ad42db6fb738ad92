// Checks the shipped settings file and the practice data disk the program opens
// by default.

#include <gtest/gtest.h>

#include <algorithm>

#include "ContentFiles.h"

namespace {

using namespace kcs::content;

TEST(ShippedSettings, PointAtThePracticeDiskAndUseCrlf) {
    const auto ini = readLines(binDir() / "kcstest.ini");
    EXPECT_TRUE(ini.allCrlf);
    std::map<std::string, std::string> values;
    std::string section;
    for (const auto& line : ini.lines) {
        if (line.empty()) continue;
        if (line.front() == '[') { section = line; continue; }
        const auto eq = line.find('=');
        ASSERT_NE(eq, std::string::npos) << line;
        values[section + line.substr(0, eq)] = line.substr(eq + 1);
    }
    EXPECT_EQ(values["[Path]FilePath"], "practice-disk");
    EXPECT_EQ(values["[Path]SndPath"], ".");
    EXPECT_EQ(values["[Settings]NumLock"], "True");
    EXPECT_EQ(values["[Settings]PrintDOS"], "False");
    EXPECT_TRUE(std::filesystem::is_directory(binDir() / values["[Path]FilePath"]));
}

struct Client {
    std::string bytes;
    std::string field(std::size_t offset, std::size_t width) const { return bytes.substr(offset, width); }
    std::string answers() const { return field(75, 158); }
};

bool isDate(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    if (s.size() != 10 || s[2] != '/' || s[5] != '/') return false;
    for (std::size_t i : {0u, 1u, 3u, 4u, 6u, 7u, 8u, 9u})
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    return true;
}

TEST(PracticeDisk, IdentityFileSelectsTheFirstPublisher) {
    const auto tid = readLines(binDir() / "practice-disk" / "TID");
    ASSERT_GE(tid.lines.size(), 2u);
    EXPECT_EQ(tid.lines[0], "KCS");
    EXPECT_EQ(tid.lines[1], "b");
}

TEST(PracticeDisk, ClientsAreWellFormedAndCoverTheCasesToPractiseOn) {
    const std::string file = readBytes(binDir() / "practice-disk" / "DATA401.KCS");
    ASSERT_EQ(file.size() % 235, 0u) << "a partial record";
    const std::size_t count = file.size() / 235;
    EXPECT_GE(count, 5u);
    EXPECT_LE(count, 8u);
    const ScoringData d = loadScoringData(binDir() / "KCSB.TXT");

    bool invalid = false, omissions = false, deleted = false, accented = false, courtNA = false;
    for (std::size_t n = 0; n < count; ++n) {
        const Client c{file.substr(n * 235, 235)};
        SCOPED_TRACE("record " + std::to_string(n + 1));
        const std::string a = c.answers();
        for (std::size_t i = 0; i < a.size(); ++i) {
            const char top = i < 99 ? '2' : '4';
            ASSERT_TRUE(a[i] >= '0' && a[i] <= top) << "item " << i + 1 << " code " << a[i];
        }
        EXPECT_TRUE(c.field(28, 1) >= "0" && c.field(28, 1) <= "2");
        EXPECT_TRUE(c.field(29, 1) >= "0" && c.field(29, 1) <= "6");
        EXPECT_TRUE(c.field(30, 1) >= "0" && c.field(30, 1) <= "5");
        EXPECT_TRUE(c.field(233, 1) >= "0" && c.field(233, 1) <= "3");
        const std::string dob = c.field(33, 10);
        EXPECT_TRUE(dob[0] == 'N' || isDate(dob)) << dob;
        EXPECT_TRUE(isDate(c.field(43, 10)));
        for (std::size_t off = 53; off < 75; off += 2) {
            const std::string v = c.field(off, 2);
            EXPECT_TRUE(v == "N " || (std::isdigit(static_cast<unsigned char>(v[0])) &&
                                      (v[1] == ' ' || std::isdigit(static_cast<unsigned char>(v[1])))))
                << "court value '" << v << "'";
            if (v == "N ") courtNA = true;
        }

        if (std::count(a.begin(), a.begin() + 99, '1') >= 95) invalid = true;
        for (int s = 1; s <= 5; ++s) {
            int blank = 0;
            for (int item : d.scaleItems[s]) blank += a[item - 1] == '0';
            if (blank > 4) omissions = true;
        }
        const std::string name = c.field(0, 25);
        if (c.field(234, 1) == "1") deleted = true;
        else EXPECT_EQ(c.field(234, 1), "0");
        if (std::any_of(name.begin(), name.end(), [](char ch) { return static_cast<unsigned char>(ch) >= 0xC0; }))
            accented = true;
    }
    EXPECT_TRUE(invalid) << "no client with an invalid test";
    EXPECT_TRUE(omissions) << "no client with too many omitted items";
    EXPECT_TRUE(deleted) << "no client with a deleted name";
    EXPECT_TRUE(accented) << "no name with single-byte accented letters";
    EXPECT_TRUE(courtNA) << "no court item given as N";
}

}  // namespace
