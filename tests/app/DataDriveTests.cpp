#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "kcs/app/DataDrive.h"
#include "kcs/common/RunError.h"
#include "kcs/test/Support.h"

namespace {

using namespace kcs::app;
namespace fs = std::filesystem;
using kcs::test::readFile;
using kcs::test::TempDir;
using kcs::test::writeFile;

std::string record(char fill) { return std::string(kcs::records::kRecordLength, fill); }

class DataDriveTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.ProgramFolder = program.path();
        // The drive in use: two clients.
        fs::create_directory(current);
        writeFile(current / "TID", "KCS\n");
        writeFile(current / "DATA401.KCS", record('1') + record('2'));
        ASSERT_EQ(CheckDataDisk(state, current.string()), DiskCheck::Accepted);
        ASSERT_EQ(state.table.NumClients, 2);
        fs::create_directory(candidate);
    }

    // Everything the drive in use is known by, to prove a refused drive changed nothing.
    void expectStateOfCurrentDrive() {
        EXPECT_EQ(state.DataPath, current.string());
        EXPECT_EQ(state.ClientFilePath, current / "DATA401.KCS");
        EXPECT_EQ(state.table.NumClients, 2);
        EXPECT_EQ(state.table.Clients[1].raw(kcs::records::Field::Name)[0], '1');
        EXPECT_EQ(state.PublisherFlag, 'b');
    }

    std::vector<std::string> filesOnCandidate() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(candidate)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    int errorNumberFor(const std::string& designation, DriveFiles& files) {
        try {
            CheckDataDisk(state, designation, files);
        } catch (const kcs::RunError& e) {
            return e.number();
        }
        return 0;
    }

    TempDir program;
    fs::path current = program / "current";
    fs::path candidate = program / "candidate";
    ProgramState state;
    DriveFiles realFiles;
};

TEST_F(DataDriveTest, AGoodDriveIsAcceptedItsClientFileCreatedAndNoWriteTestLeft) {
    writeFile(candidate / "TID", "  KCS  \r\nc\r\n");
    writeFile(candidate / "checkWriteTest", "stale");  // a leftover is removed too
    EXPECT_EQ(CheckDataDisk(state, candidate.string()), DiskCheck::Accepted);
    EXPECT_EQ(state.DataPath, candidate.string());
    EXPECT_EQ(state.ClientFilePath, candidate / "DATA401.KCS");
    EXPECT_EQ(state.PublisherFlag, 'c');
    EXPECT_EQ(state.table.NumClients, 0);
    EXPECT_EQ(state.table.CurClient, 0);
    EXPECT_EQ(filesOnCandidate(), (std::vector<std::string>{"DATA401.KCS", "TID"}));
}

TEST_F(DataDriveTest, ARelativeDesignationIsInsideTheProgramFolder) {
    writeFile(candidate / "TID", "KCS");
    writeFile(candidate / "DATA401.KCS", record('7'));
    EXPECT_EQ(CheckDataDisk(state, "candidate"), DiskCheck::Accepted);
    EXPECT_EQ(state.DataPath, "candidate");
    EXPECT_EQ(state.table.NumClients, 1);
    EXPECT_EQ(state.PublisherFlag, 'b');
}

TEST_F(DataDriveTest, MissingIdentityOrDriveIsNotFoundAndCreatesNothing) {
    EXPECT_EQ(errorNumberFor(candidate.string(), realFiles), 53);
    EXPECT_EQ(errorNumberFor((program / "nowhere").string(), realFiles), 76);
    EXPECT_EQ(errorNumberFor("a:", realFiles), 76);  // a drive letter is simply not found
    EXPECT_TRUE(filesOnCandidate().empty());
    EXPECT_FALSE(fs::exists(program / "nowhere"));
    expectStateOfCurrentDrive();
}

TEST_F(DataDriveTest, AnotherTestsDriveIsRefusedAndNothingIsWrittenToIt) {
    writeFile(candidate / "TID", "XYZ\nb\n");
    EXPECT_EQ(CheckDataDisk(state, candidate.string()), DiskCheck::NotThisTest);
    EXPECT_EQ(filesOnCandidate(), std::vector<std::string>{"TID"});
    writeFile(candidate / "TID", "kcs\n");  // the tag is exact
    EXPECT_EQ(CheckDataDisk(state, candidate.string()), DiskCheck::NotThisTest);
    expectStateOfCurrentDrive();
}

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

TEST_F(DataDriveTest, AWriteProtectedDriveGives70AndChangesNothing) {
    writeFile(candidate / "TID", "KCS\nc\n");
    FailingWrites files;
    EXPECT_EQ(errorNumberFor(candidate.string(), files), 70);
    expectStateOfCurrentDrive();
    EXPECT_EQ(filesOnCandidate(), std::vector<std::string>{"TID"});

    // A write that fails after the file was made (a full or failing drive) leaves nothing either.
    files.failAfterCreating = true;
    files.failWith = EIO;
    EXPECT_EQ(errorNumberFor(candidate.string(), files), 57);
    EXPECT_EQ(filesOnCandidate(), std::vector<std::string>{"TID"});
    expectStateOfCurrentDrive();
}

TEST_F(DataDriveTest, AReallyReadOnlyDriveGives70) {
    writeFile(candidate / "TID", "KCS\n");
    const auto ok = kcs::test::inReadOnlyView(candidate, [&] { return errorNumberFor(candidate.string(), realFiles) == 70; });
    if (!ok) GTEST_SKIP() << "no mount namespaces here";
    EXPECT_TRUE(*ok);
    EXPECT_EQ(filesOnCandidate(), std::vector<std::string>{"TID"});
}

TEST_F(DataDriveTest, AFolderWithoutWritePermissionGives70) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    writeFile(candidate / "TID", "KCS\n");
    ASSERT_EQ(::chmod(candidate.c_str(), 0555), 0);
    EXPECT_EQ(errorNumberFor(candidate.string(), realFiles), 70);
    ::chmod(candidate.c_str(), 0755);
    expectStateOfCurrentDrive();
}

TEST(IdentityFile, TagAndPublisherFlag) {
    EXPECT_TRUE(parseIdentityFile("KCS").isThisTest);
    EXPECT_TRUE(parseIdentityFile("\xEF\xBB\xBF KCS \r\n").isThisTest);
    EXPECT_FALSE(parseIdentityFile("").isThisTest);
    EXPECT_FALSE(parseIdentityFile("KCS2\n").isThisTest);
    EXPECT_FALSE(parseIdentityFile("\nKCS\n").isThisTest);
    EXPECT_EQ(parseIdentityFile("KCS\n").publisherFlag, 'b');
    EXPECT_EQ(parseIdentityFile("KCS\n   \n").publisherFlag, 'b');
    EXPECT_EQ(parseIdentityFile("KCS\r\n  copperfield\r\n").publisherFlag, 'c');
    EXPECT_EQ(parseIdentityFile("KCS\nb").publisherFlag, 'b');
    EXPECT_EQ(parseIdentityFile("KCS\n\nc\n").publisherFlag, 'b');  // only the second line counts
}

}  // namespace
