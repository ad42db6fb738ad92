#include <gtest/gtest.h>

#include <cerrno>

#include "kcs/app/DataDrive.h"
#include "kcs/test/Clients.h"
#include "kcs/test/Support.h"

namespace {

using namespace kcs::app;
namespace fs = std::filesystem;
using kcs::test::writeFile;
using Names = std::vector<std::string>;

// The write test's file made, then the write failing as on a full or failing drive.
struct FailingWrites : DriveFiles {
    void writeFile(const fs::path& file, std::string_view content) override {
        DriveFiles::writeFile(file, content);
        throw kcs::fileError(EIO, file, "Cannot write");
    }
};

class DataDriveTest : public ::testing::Test {
protected:
    void SetUp() override {
        kcs::test::makeDrive(current, {"first", "second"});  // the drive in use
        ASSERT_EQ(check(current.string()), DiskCheck::Accepted);
        fs::create_directory(candidate);
    }

    DiskCheck check(const std::string& designation, DriveFiles* files = nullptr) {
        return CheckDataDisk(store, paths, designation, files ? *files : realFiles);
    }
    int errorNumberFor(const std::string& designation, DriveFiles* files = nullptr) {
        return kcs::test::errorNumber([&] { check(designation, files); });
    }

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

// Every fault of the write test itself is the disk-fault test's.
TEST_F(DataDriveTest, MissingForeignOrFailingDrivesAreRefusedAndNothingIsLeftOnThem) {
    EXPECT_EQ(errorNumberFor(candidate.string()), 53);
    EXPECT_EQ(errorNumberFor((program / "nowhere").string()), 76);
    EXPECT_EQ(errorNumberFor("a:"), 76);  // a drive letter is simply not found
    EXPECT_TRUE(filesOnCandidate().empty());
    EXPECT_FALSE(fs::exists(program / "nowhere"));
    for (const char* foreign : {"XYZ\nb\n", "kcs\n"}) {  // another test's drive; the tag is exact
        writeFile(candidate / "TID", foreign);
        EXPECT_EQ(check(candidate.string()), DiskCheck::NotThisTest);
        EXPECT_EQ(filesOnCandidate(), Names{"TID"});
    }
    writeFile(candidate / "TID", "KCS\nc\n");
    FailingWrites failing;
    EXPECT_EQ(errorNumberFor(candidate.string(), &failing), 57);
    EXPECT_EQ(filesOnCandidate(), Names{"TID"});
    // Everything the drive in use is known by: a refused drive changed nothing.
    EXPECT_EQ(store.DataPath(), current.string());
    EXPECT_EQ(store.ClientFilePath(), current / "DATA401.KCS");
    EXPECT_EQ(std::tuple(store.NumClients(), store.PublisherFlag()), std::tuple(2, 'b'));
    EXPECT_EQ(store.record(1).text(kcs::records::Field::Name), "first");
}

TEST_F(DataDriveTest, TheStoreAddsAtTheEndAndRefusesAGap) {
    auto changed = store.record(2);
    changed.set(kcs::records::Field::Name, "Changed");
    store.update(2, changed);
    EXPECT_EQ(kcs::test::readFile(current / "DATA401.KCS").substr(235, 7), "Changed");
    EXPECT_EQ(store.record(2), changed);
    EXPECT_EQ(store.add(changed), 3);
    EXPECT_EQ(std::tuple(store.NumClients(), store.CurClient()), std::tuple(3, 3));
    EXPECT_EQ(fs::file_size(current / "DATA401.KCS"), 3u * 235);
    EXPECT_THROW(store.update(4, changed), std::out_of_range);
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
