#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "kcs/app/DataDrive.h"
#include "kcs/test/Clients.h"
#include "kcs/test/Support.h"

namespace {

using namespace kcs::app;
namespace fs = std::filesystem;
using kcs::test::writeFile;
using Names = std::vector<std::string>;

// Write-protection simulated at the file operations, so it also works where the tests
// run as root (permission bits do not stop root).
class FailingWrites : public DriveFiles {
public:
    int failWith = EROFS;
    bool failAfterCreating = false;
    void writeFile(const fs::path& file, std::string_view content) override {
        if (failAfterCreating) DriveFiles::writeFile(file, content);
        throw kcs::fileError(failWith, file, "Cannot write");
    }
};

class DataDriveTest : public ::testing::Test {
protected:
    void SetUp() override {
        kcs::test::makeDrive(current, {"first", "second"});  // the drive in use
        ASSERT_EQ(check(current.string()), DiskCheck::Accepted);
        fs::create_directory(candidate);
    }

    DiskCheck check(const std::string& designation) { return CheckDataDisk(store, paths, designation, realFiles); }

    // Everything the drive in use is known by, to prove a refused drive changed nothing.
    void expectStateOfCurrentDrive() {
        EXPECT_EQ(store.DataPath(), current.string());
        EXPECT_EQ(store.ClientFilePath(), current / "DATA401.KCS");
        EXPECT_EQ(store.NumClients(), 2);
        EXPECT_EQ(store.record(1).text(kcs::records::Field::Name), "first");
        EXPECT_EQ(store.PublisherFlag(), 'b');
    }

    Names filesOnCandidate() {
        Names names;
        for (const auto& e : fs::directory_iterator(candidate)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    int errorNumberFor(const std::string& designation, DriveFiles& files) {
        return kcs::test::errorNumber([&] { CheckDataDisk(store, paths, designation, files); });
    }

    kcs::test::TempDir program;
    fs::path current = program / "current";
    fs::path candidate = program / "candidate";
    Paths paths = Paths::of(program.path());
    ClientStore store;
    DriveFiles realFiles;
};

TEST_F(DataDriveTest, AGoodDriveIsAcceptedItsClientFileCreatedAndNoWriteTestLeft) {
    writeFile(candidate / "TID", "  KCS  \r\nc\r\n");
    writeFile(candidate / "checkWriteTest", "stale");  // a leftover is removed too
    EXPECT_EQ(check(candidate.string()), DiskCheck::Accepted);
    EXPECT_EQ(store.DataPath(), candidate.string());
    EXPECT_EQ(store.ClientFilePath(), candidate / "DATA401.KCS");
    EXPECT_EQ(store.PublisherFlag(), 'c');
    EXPECT_EQ(store.NumClients() + store.CurClient(), 0);
    EXPECT_EQ(filesOnCandidate(), (Names{"DATA401.KCS", "TID"}));

    // A relative designation is inside the program folder.
    kcs::test::makeDrive(program / "relative", {"seventh"});
    EXPECT_EQ(check("relative"), DiskCheck::Accepted);
    EXPECT_EQ(store.DataPath(), "relative");
    EXPECT_EQ(store.NumClients(), 1);
}

TEST_F(DataDriveTest, MissingOrForeignDrivesAreRefusedAndNothingIsWrittenToThem) {
    EXPECT_EQ(errorNumberFor(candidate.string(), realFiles), 53);
    EXPECT_EQ(errorNumberFor((program / "nowhere").string(), realFiles), 76);
    EXPECT_EQ(errorNumberFor("a:", realFiles), 76);  // a drive letter is simply not found
    EXPECT_TRUE(filesOnCandidate().empty());
    EXPECT_FALSE(fs::exists(program / "nowhere"));

    for (const char* foreign : {"XYZ\nb\n", "kcs\n"}) {  // another test's drive; the tag is exact
        writeFile(candidate / "TID", foreign);
        EXPECT_EQ(check(candidate.string()), DiskCheck::NotThisTest);
        EXPECT_EQ(filesOnCandidate(), Names{"TID"});
    }
    expectStateOfCurrentDrive();
}

TEST_F(DataDriveTest, AWriteProtectedDriveGives70AndChangesNothing) {
    writeFile(candidate / "TID", "KCS\nc\n");
    FailingWrites files;
    EXPECT_EQ(errorNumberFor(candidate.string(), files), 70);
    expectStateOfCurrentDrive();
    EXPECT_EQ(filesOnCandidate(), Names{"TID"});

    // A write that fails after the file was made (a full or failing drive) leaves nothing either.
    files.failAfterCreating = true;
    files.failWith = EIO;
    EXPECT_EQ(errorNumberFor(candidate.string(), files), 57);
    EXPECT_EQ(filesOnCandidate(), Names{"TID"});
    expectStateOfCurrentDrive();
}

TEST_F(DataDriveTest, AReallyReadOnlyDriveOrFolderGives70) {
    writeFile(candidate / "TID", "KCS\n");
    if (::geteuid() != 0) {  // permission bits do not stop root
        ASSERT_EQ(::chmod(candidate.c_str(), 0555), 0);
        EXPECT_EQ(errorNumberFor(candidate.string(), realFiles), 70);
        ::chmod(candidate.c_str(), 0755);
        expectStateOfCurrentDrive();
    }
    KCS_EXPECT_IN_READ_ONLY_VIEW(candidate, [&] { return errorNumberFor(candidate.string(), realFiles) == 70; });
    EXPECT_EQ(filesOnCandidate(), Names{"TID"});
}

TEST_F(DataDriveTest, TheStoreChangesMemoryOnlyAfterASuccessfulSave) {
    auto changed = store.record(2);
    changed.set(kcs::records::Field::Name, "Changed");
    store.update(2, changed);
    EXPECT_EQ(kcs::test::readFile(current / "DATA401.KCS").substr(235, 7), "Changed");
    EXPECT_EQ(store.record(2), changed);

    // A drive gone read-only: the save fails, memory keeps what the file holds.
    auto again = changed;
    again.set(kcs::records::Field::Name, "Again");
    KCS_EXPECT_IN_READ_ONLY_VIEW(current, [&] {
        const int n = kcs::test::errorNumber([&] { store.update(2, again); });
        const int m = kcs::test::errorNumber([&] { store.add(again); });
        return n == 70 && m == 70 && store.record(2) == changed && store.NumClients() == 2;
    });

    EXPECT_EQ(store.add(again), 3);
    EXPECT_EQ(store.NumClients(), 3);
    EXPECT_EQ(store.CurClient(), 3);
    EXPECT_EQ(fs::file_size(current / "DATA401.KCS"), 3u * 235);
    EXPECT_THROW(store.update(4, again), std::out_of_range);
}

TEST(IdentityFile, OnlyTheFirstLineIsTheTagAndOnlyTheSecondTheFlagBWhenBlank) {
    const std::tuple<const char*, bool, char> cases[] = {
        {"KCS", true, 'b'},     {"\xEF\xBB\xBF KCS \r\n", true, 'b'}, {"", false, 'b'},
        {"KCS2\n", false, 'b'}, {"\nKCS\n", false, 'K'},             {"KCS\n   \n", true, 'b'},
        {"KCS\r\n  copperfield\r\n", true, 'c'}, {"KCS\nb", true, 'b'}, {"KCS\n\nc\n", true, 'b'}};
    for (const auto& [text, ours, flag] : cases) {
        EXPECT_EQ(parseIdentityFile(text).isThisTest, ours) << text;
        EXPECT_EQ(parseIdentityFile(text).publisherFlag, flag) << text;
    }
}

}  // namespace
