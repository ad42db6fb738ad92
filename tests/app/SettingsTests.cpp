#include <gtest/gtest.h>

#include "kcs/app/Settings.h"
#include "kcs/app/Startup.h"
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
    ProgramState state;
    const auto session = prepareStartup(state, program.path());
    EXPECT_EQ(session.engine.IniPath, program / "kcstest.ini");
    EXPECT_EQ(state.IniPath, program / "kcstest.ini");
    EXPECT_EQ(state.QuestionBankPath, program / "KCS32.MDB");
    EXPECT_EQ(state.soundFolder("Spanish"), program / "sounds" / "KCSTest" / "sound" / "Spanish");
    const std::string systemDB = "SystemDB=" + (program / "hwkltd.mda").string() + "\n";
    EXPECT_EQ(readFile(program / "kcstest.ini"), "[Path]\nFilePath=a:\nSndPath=sounds\n[Options]\n" + systemDB);

    writeFile(program / "kcstest.ini", "[Options]\nSystemDB=/elsewhere/hwkltd.mda\n");
    prepareStartup(state, program.path());
    EXPECT_EQ(readFile(program / "kcstest.ini"), "[Options]\n" + systemDB);  // in place
    EXPECT_EQ(state.SoundPath, "c:");
    EXPECT_TRUE(std::filesystem::exists(executableFolder() / "kcs_app_tests"));  // the program folder
}

}  // namespace
