#include <gtest/gtest.h>

#include <cerrno>
#include <optional>

#include "kcs/app/DataDrive.h"
#include "kcs/app/EngineSetup.h"
#include "kcs/app/ProgramFolder.h"
#include "kcs/app/Settings.h"
#include "kcs/common/RunError.h"
#include "kcs/test/Clients.h"
#include "kcs/test/Support.h"

namespace {

using namespace kcs::app;
using kcs::test::readFile;
using kcs::test::writeFile;
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class SettingsTest : public ::testing::Test {
protected:
    kcs::test::TempDir dir;
    std::filesystem::path ini = dir / kSettingsFileName;
    Settings settings{ini};
};

TEST_F(SettingsTest, ValuesAreReadAsTheRulesSayFromHandEditedFiles) {
    const std::string sixty = "/media/usb/" + std::string(49, 'x');
    struct Case { const char* what; std::optional<std::string> text; std::string filePath, sndPath; bool numLock, printDos; };
    const Case cases[] = {
        {"no file: the defaults", std::nullopt, "a:", "c:", true, true},
        {"paths keep at most 49 characters, trimmed", "[Path]\nFilePath=" + sixty + "\nSndPath=\"  /srv/sound  \"\n",
         sixty.substr(0, 49), "/srv/sound", true, true},
        {"counted in characters, so a cut never splits one", "[Path]\nFilePath=" + std::string(48, 'a') + "ééé\nSndPath=\n",
         std::string(48, 'a') + "é", "", true, true},
        {"a hand-edited file", "\xEF\xBB\xBF; settings\r\n[ path ]\r\n  filepath   =   /media/KCSDISK  \r\n;SndPath=/x\r\n"
         "\r\n[SETTINGS]\r\nnumlock = False\r\nPrintDOS=\"False\"", "/media/KCSDISK", "c:", false, false},
        {"a key outside its section does not count", "NumLock=False\n[Other]\nNumLock=False\n", "a:", "c:", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.text) writeFile(ini, *c.text);
        EXPECT_EQ(settings.GetINIFilePath(), c.filePath);
        EXPECT_EQ(settings.GetINISndPath(), c.sndPath);
        EXPECT_EQ(settings.GetININumLock(), c.numLock);
        EXPECT_EQ(settings.GetINIPrintDOS(), c.printDos);
        EXPECT_EQ(std::filesystem::exists(ini), c.text.has_value());
    }
    // Options are on exactly when they begin with "Tru".
    for (const auto& [value, on] : std::vector<std::pair<std::string, bool>>{
             {"True", true}, {"Truthful", true}, {"true", false}, {"TRUE", false},
             {"False", false}, {"", false}, {"1", false}, {" Tru", true}}) {
        writeFile(ini, "[Settings]\nNumLock=" + value + "\nPrintDOS=" + value + "\n");
        EXPECT_EQ(settings.GetININumLock(), on) << '"' << value << '"';
        EXPECT_EQ(settings.GetINIPrintDOS(), on) << '"' << value << '"';
    }
}

TEST_F(SettingsTest, TheFirstWriteCreatesTheFile) {
    settings.SaveININumLock(false);
    settings.SaveINIPrintDOS(true);
    EXPECT_EQ(readFile(ini), "[Settings]\nNumLock=False\nPrintDOS=True\n");
}

TEST_F(SettingsTest, WritingAKeyChangesOnlyItsLineAndKeepsTheLineEnds) {
    const std::string original =
        "\xEF\xBB\xBF; hand made\r\n[Path]\r\nFILEPATH = a:\r\nSndPath=c:\\kcs\r\n\r\n[Settings]\r\nNumLock=True\r\n\r\n";
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

// That a written key reads back and the other keys stay, whatever the file held, and that
// line breaks are refused, is the settings fuzzer's.
TEST(IniText, TheFirstOfDuplicateKeysCountsAndNamesThatWouldReadBackDifferentlyAreRefused) {
    const std::string text = "[S]\nK=1\nK=2\n[S]\nK=3\n";
    EXPECT_EQ(iniLookup(text, "S", "K"), "1");
    EXPECT_EQ(iniWithKey(text, "S", "K", "9"), "[S]\nK=9\nK=2\n[S]\nK=3\n");
    for (const auto& [section, key] : {std::pair{"S]", "K"}, std::pair{"S", "K=1"}})
        EXPECT_THROW(iniWithKey("", section, key, "v"), kcs::RunError) << section << key;
}

TEST(Startup, FillsThePathsAndWritesSystemDBAtEveryStart) {
    kcs::test::TempDir program;
    writeFile(program / "kcstest.ini", "[Path]\nFilePath=a:\nSndPath=sounds\n");
    // The bank's path, and SystemDB written where there was none, show wherever the program starts.
    EXPECT_EQ(prepareStartup(program.path()).paths.soundFolder("Spanish"), program / "sounds" / "KCSTest" / "sound" / "Spanish");
    const std::string systemDB = "SystemDB=" + (program / "hwkltd.mda").string() + "\n";

    writeFile(program / "kcstest.ini", "[Options]\nSystemDB=/elsewhere/hwkltd.mda\n");
    EXPECT_EQ(prepareStartup(program.path()).paths.SoundPath, "c:");
    EXPECT_EQ(readFile(program / "kcstest.ini"), "[Options]\n" + systemDB);  // in place
}

// The private folder, its copied settings and practice disk and its links to the shipped
// files are the package test's (an installed program started by a new user).
TEST(ProgramFolder, AnInstalledProgramGetsAFolderPerUserWithLinksAndTheAgencysFilesFirst) {
    kcs::test::TempDir root;
    for (const char* d : {"usr/bin", "usr/share/kcs", "etc/kcs"}) fs::create_directories(root / d);
    for (const char* f : {"KCS32.MDB", "KCSB.TXT", "KCSVA.TXT"}) writeFile(root / "usr/share/kcs" / f, "shipped");
    writeFile(root / "usr/share/kcs/kcstest.ini", "[Path]\nFilePath=practice-disk\n");
    writeFile(root / "etc/kcs/KCSB.TXT", "agency");
    const InstalledPlaces places{root / "etc/kcs", root / "home/.local/share"};

    const auto located = locateProgramFolder(root / "usr/bin", places);
    const fs::path user = root / "home/.local/share/kcs";
    ASSERT_EQ(located.folder, user);
    EXPECT_TRUE(located.installed());
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

// The write test's file made, then the write failing: nothing may stay on the drive.
struct FailingWrites : DriveFiles {
    void writeFile(const fs::path& file, std::string_view content) override {
        DriveFiles::writeFile(file, content);
        throw kcs::fileError(EIO, file, "Cannot write");
    }
};

// Drives accepted, refused and given up through the selection screens are the drive
// selection and start-up tests', every fault of the write test the disk-fault test's.
class DataDriveTest : public ::testing::Test {
protected:
    void SetUp() override {
        kcs::test::makeDrive(current, {"first", "second"});  // the drive in use
        ASSERT_EQ(check(current.string()), DiskCheck::Accepted);
        fs::create_directory(candidate);
    }
    DiskCheck check(const std::string& designation) { return CheckDataDisk(store, paths, designation, files); }
    Names filesOnCandidate() {
        Names names;
        for (const auto& e : fs::directory_iterator(candidate)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    kcs::test::TempDir program;
    fs::path current = program / "current";
    fs::path candidate = program / "candidate";
    Paths paths = Paths::of(program.path());
    ClientStore store;
    DriveFiles files;
};

TEST_F(DataDriveTest, AGoodDriveIsAcceptedItsClientFileCreatedAndNoWriteTestLeft) {
    writeFile(candidate / "TID", "  KCS  \r\nc\r\n");
    writeFile(candidate / "checkWriteTest", "stale");  // a leftover is removed too
    EXPECT_EQ(check(candidate.string()), DiskCheck::Accepted);
    EXPECT_EQ(store.ClientFilePath(), candidate / "DATA401.KCS");
    EXPECT_EQ(std::tuple(store.PublisherFlag(), store.NumClients(), store.CurClient()), std::tuple('c', 0, 0));
    EXPECT_EQ(filesOnCandidate(), (Names{"DATA401.KCS", "TID"}));
}

TEST_F(DataDriveTest, MissingOrForeignDrivesAreRefusedAndNothingIsLeftOnThem) {
    EXPECT_EQ(kcs::test::errorNumber([&] { check(candidate.string()); }), 53);  // no identity file
    EXPECT_EQ(kcs::test::errorNumber([&] { check((program / "nowhere").string()); }), 76);
    EXPECT_FALSE(fs::exists(program / "nowhere"));
    writeFile(candidate / "TID", "kcs\n");  // the tag is exact
    EXPECT_EQ(check(candidate.string()), DiskCheck::NotThisTest);
    EXPECT_EQ(filesOnCandidate(), Names{"TID"});
    writeFile(candidate / "TID", "KCS\n");
    FailingWrites failing;
    EXPECT_EQ(kcs::test::errorNumber([&] { CheckDataDisk(store, paths, candidate.string(), failing); }), 57);
    EXPECT_EQ(filesOnCandidate(), Names{"TID"});
    EXPECT_EQ(store.ClientFilePath(), current / "DATA401.KCS");
    EXPECT_THROW(store.update(3, store.record(1)), std::out_of_range) << "an update never adds a client";
}

TEST(IdentityFile, OnlyTheFirstLineIsTheTagAndOnlyTheSecondTheFlagBWhenBlank) {
    const std::tuple<const char*, bool, char> cases[] = {
        {"KCS", true, 'b'}, {"\xEF\xBB\xBF KCS \r\n", true, 'b'}, {"KCS2\n", false, 'b'}, {"\nKCS\n", false, 'K'},
        {"KCS\n   \n", true, 'b'}, {"KCS\r\n  copperfield\r\n", true, 'c'}, {"KCS\n\nc\n", true, 'b'}};
    for (const auto& [text, ours, flag] : cases) {
        EXPECT_EQ(parseIdentityFile(text).isThisTest, ours) << text;
        EXPECT_EQ(parseIdentityFile(text).publisherFlag, flag) << text;
    }
}

}  // namespace
