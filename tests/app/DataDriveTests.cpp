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
        {"KCS", true, 'b'},     {"\xEF\xBB\xBF KCS \r\n", true, 'b'}, {"", false, 'b'},
        {"KCS2\n", false, 'b'}, {"\nKCS\n", false, 'K'},             {"KCS\n   \n", true, 'b'},
        {"KCS\r\n  copperfield\r\n", true, 'c'}, {"KCS\nb", true, 'b'}, {"KCS\n\nc\n", true, 'b'}};
    for (const auto& [text, ours, flag] : cases) {
        EXPECT_EQ(parseIdentityFile(text).isThisTest, ours) << text;
        EXPECT_EQ(parseIdentityFile(text).publisherFlag, flag) << text;
    }
}

}  // namespace
