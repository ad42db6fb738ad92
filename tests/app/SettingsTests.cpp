#include <gtest/gtest.h>

#include "kcs/app/Settings.h"
#include "kcs/app/EngineSetup.h"
#include "kcs/app/ProgramFolder.h"
#include "kcs/common/RunError.h"
#include "kcs/test/Support.h"

namespace {

using namespace kcs::app;
using kcs::test::readFile;
using kcs::test::writeFile;

class SettingsTest : public ::testing::Test {
protected:
    kcs::test::TempDir dir;
    std::filesystem::path ini = dir / kSettingsFileName;
    Settings settings{ini};
};

TEST_F(SettingsTest, NoFileGivesTheDefaultsAndTheFirstWriteCreatesIt) {
    EXPECT_EQ(settings.GetINIFilePath(), "a:");
    EXPECT_EQ(settings.GetINISndPath(), "c:");
    EXPECT_TRUE(settings.GetININumLock());
    EXPECT_TRUE(settings.GetINIPrintDOS());
    EXPECT_FALSE(std::filesystem::exists(ini));

    settings.SaveSystemDB("/opt/kcs/hwkltd.mda");
    EXPECT_EQ(readFile(ini), "[Options]\nSystemDB=/opt/kcs/hwkltd.mda\n");
    EXPECT_EQ(settings.GetINIFilePath(), "a:");
}

TEST_F(SettingsTest, OptionsAreOnExactlyWhenTheyBeginWithTru) {
    for (const auto& [value, on] : std::vector<std::pair<std::string, bool>>{
             {"True", true}, {"Truthful", true}, {"true", false}, {"TRUE", false},
             {"False", false}, {"", false}, {"1", false}, {" Tru", true}}) {
        writeFile(ini, "[Settings]\nNumLock=" + value + "\nPrintDOS=" + value + "\n");
        EXPECT_EQ(settings.GetININumLock(), on) << '"' << value << '"';
        EXPECT_EQ(settings.GetINIPrintDOS(), on) << '"' << value << '"';
    }
    writeFile(ini, "[Settings]\nNumLock=True\nPrintDOS=1\n");
    settings.SaveININumLock(false);
    settings.SaveINIPrintDOS(true);
    EXPECT_EQ(readFile(ini), "[Settings]\nNumLock=False\nPrintDOS=True\n");
}

TEST_F(SettingsTest, PathValuesKeepAtMost49CharactersTrimmed) {
    const std::string sixty = "/media/usb/" + std::string(49, 'x');
    writeFile(ini, "[Path]\nFilePath=" + sixty + "\nSndPath=\"  /srv/sound  \"\n");
    EXPECT_EQ(settings.GetINIFilePath(), sixty.substr(0, 49));
    EXPECT_EQ(settings.GetINISndPath(), "/srv/sound");

    // Counted in characters, so a cut never splits one.
    writeFile(ini, "[Path]\nFilePath=" + std::string(48, 'a') + "ééé\n");
    EXPECT_EQ(settings.GetINIFilePath(), std::string(48, 'a') + "é");

    writeFile(ini, "[Path]\nFilePath=\n");
    EXPECT_EQ(settings.GetINIFilePath(), "");
}

TEST_F(SettingsTest, HandEditedFilesAreRead) {
    writeFile(ini,
              "\xEF\xBB\xBF; settings for the screening program\r\n"
              "[ path ]\r\n"
              "  filepath   =   /media/KCSDISK  \r\n"
              ";SndPath=/commented/out\r\n"
              "\r\n"
              "[SETTINGS]\r\n"
              "numlock = False\r\n"
              "PrintDOS=\"False\"");  // no line end at the end
    EXPECT_EQ(settings.GetINIFilePath(), "/media/KCSDISK");
    EXPECT_EQ(settings.GetINISndPath(), "c:");
    EXPECT_FALSE(settings.GetININumLock());
    EXPECT_FALSE(settings.GetINIPrintDOS());
    // A key outside its section does not count.
    writeFile(ini, "NumLock=False\n[Other]\nNumLock=False\n");
    EXPECT_TRUE(settings.GetININumLock());
}

TEST_F(SettingsTest, WritingAKeyChangesOnlyItsLineAndKeepsTheLineEnds) {
    const std::string original =
        "\xEF\xBB\xBF; hand made\r\n"
        "[Path]\r\n"
        "FILEPATH = a:\r\n"
        "SndPath=c:\\kcs\r\n"
        "\r\n"
        "[Settings]\r\n"
        "NumLock=True\r\n"
        "\r\n";
    writeFile(ini, original);
    settings.SaveINIFilePath("/media/usb0");
    std::string expected = original;
    expected.replace(expected.find("FILEPATH = a:"), 13, "FILEPATH = /media/usb0");
    EXPECT_EQ(readFile(ini), expected);

    // A missing key goes into its section, before the blank line that ends it.
    settings.SaveINIPrintDOS(false);
    expected.replace(expected.find("NumLock=True\r\n") + 14, 0, "PrintDOS=False\r\n");
    EXPECT_EQ(readFile(ini), expected);

    // A missing section is added at the end.
    settings.SaveSystemDB("/opt/kcs/hwkltd.mda");
    EXPECT_EQ(readFile(ini), expected + "[Options]\r\nSystemDB=/opt/kcs/hwkltd.mda\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "kcstest.ini.new"));
}

TEST(IniText, AddedLinesDuplicateKeysAndValuesThatWouldReadBackDifferently) {
    // A file without a last line end gets one before an added line.
    EXPECT_EQ(iniWithKey("[Path]\nFilePath=a:", "Path", "SndPath", "c:"), "[Path]\nFilePath=a:\nSndPath=c:\n");
    EXPECT_EQ(iniWithKey("[A]\nx=1", "B", "y", "2"), "[A]\nx=1\n[B]\ny=2\n");
    // The first of duplicate keys is read and written.
    const std::string text = "[S]\nK=1\nK=2\n[S]\nK=3\n";
    EXPECT_EQ(iniLookup(text, "S", "K"), "1");
    EXPECT_EQ(iniWithKey(text, "S", "K", "9"), "[S]\nK=9\nK=2\n[S]\nK=3\n");
    // Values are quoted where they would read back differently; line breaks are refused.
    for (const std::string v : {"  padded  ", "\"quoted\"", "'single'", "plain", "semi;colon", "a=b", ""})
        EXPECT_EQ(iniLookup(iniWithKey("", "S", "K", v), "s", "k"), v) << v;
    using Write = std::tuple<std::string, std::string, std::string>;
    for (const auto& [section, key, value] : {Write{"S", "K", "two\nlines"}, Write{"S", "K", std::string("nul\0", 4)},
                                              Write{"S]", "K", "v"}, Write{"S", "K=1", "v"}})
        EXPECT_THROW(iniWithKey("", section, key, value), kcs::RunError) << section << key;
}

TEST(Startup, FillsThePathsAndWritesSystemDBAtEveryStart) {
    kcs::test::TempDir program;
    writeFile(program / "kcstest.ini", "[Path]\nFilePath=a:\nSndPath=sounds\n");
    const auto prepared = prepareStartup(program.path());
    EXPECT_EQ(prepared.paths.QuestionBankPath, program / "KCS32.MDB");
    EXPECT_EQ(prepared.paths.soundFolder("Spanish"), program / "sounds" / "KCSTest" / "sound" / "Spanish");
    const std::string systemDB = "SystemDB=" + (program / "hwkltd.mda").string() + "\n";
    EXPECT_EQ(readFile(program / "kcstest.ini"), "[Path]\nFilePath=a:\nSndPath=sounds\n[Options]\n" + systemDB);

    writeFile(program / "kcstest.ini", "[Options]\nSystemDB=/elsewhere/hwkltd.mda\n");
    EXPECT_EQ(prepareStartup(program.path()).paths.SoundPath, "c:");
    EXPECT_EQ(readFile(program / "kcstest.ini"), "[Options]\n" + systemDB);  // in place
    EXPECT_TRUE(std::filesystem::exists(executableFolder() / "kcs_app_tests"));  // the program folder
}

TEST(ProgramFolder, AnInstalledProgramGetsAFolderPerUserWithLinksAndTheAgencysFilesFirst) {
    namespace fs = std::filesystem;
    kcs::test::TempDir root;
    fs::create_directories(root / "usr/bin");
    fs::create_directories(root / "usr/share/kcs/practice-disk");
    fs::create_directories(root / "etc/kcs");
    for (const char* f : {"KCS32.MDB", "KCSB.TXT", "KCSVA.TXT"}) writeFile(root / "usr/share/kcs" / f, "shipped");
    writeFile(root / "usr/share/kcs/kcstest.ini", "[Path]\nFilePath=practice-disk\n");
    writeFile(root / "usr/share/kcs/practice-disk/TID", "KCS\n");
    writeFile(root / "etc/kcs/KCSB.TXT", "agency");
    const InstalledPlaces places{root / "etc/kcs", root / "home/.local/share"};

    const auto located = locateProgramFolder(root / "usr/bin", places);
    const fs::path user = root / "home/.local/share/kcs";
    ASSERT_EQ(located.folder, user);
    EXPECT_TRUE(located.installed());
    EXPECT_EQ(fs::status(user).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(readFile(user / "kcstest.ini"), "[Path]\nFilePath=practice-disk\n");
    EXPECT_EQ(readFile(user / "practice-disk/TID"), "KCS\n");
    EXPECT_EQ(readFile(user / "KCS32.MDB"), "shipped");
    EXPECT_EQ(readFile(user / "KCSB.TXT"), "agency");
    EXPECT_FALSE(fs::exists(fs::symlink_status(user / "INVAL.TXT")));  // nothing shipped, nothing linked

    // The user's own file and settings stay; a withdrawn agency file falls back to the shipped one.
    fs::remove(user / "KCSVA.TXT");
    writeFile(user / "KCSVA.TXT", "mine");
    writeFile(user / "kcstest.ini", "[Path]\nFilePath=/media/disk\n");
    fs::remove(root / "etc/kcs/KCSB.TXT");
    locateProgramFolder(root / "usr/bin", places);
    EXPECT_EQ(readFile(user / "KCSVA.TXT"), "mine");
    EXPECT_EQ(readFile(user / "kcstest.ini"), "[Path]\nFilePath=/media/disk\n");
    EXPECT_EQ(readFile(user / "KCSB.TXT"), "shipped");

    // A folder that holds its own question bank is the program folder, as in a build tree.
    writeFile(root / "usr/bin/KCS32.MDB", "beside");
    EXPECT_EQ(locateProgramFolder(root / "usr/bin", places).folder, root / "usr/bin");
}

}  // namespace
