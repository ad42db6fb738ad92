#include <gtest/gtest.h>
#include <sys/stat.h>

#include "kcs/common/RunError.h"
#include "kcs/records/ClientFile.h"
#include "kcs/test/Support.h"

namespace {

using namespace kcs::records;
using kcs::test::readFile;
using kcs::test::TempDir;
using kcs::test::writeFile;

// A record whose every byte says which record it is, so any misplaced byte shows.
std::string recordBytes(int n) {
    std::string r(kRecordLength, ' ');
    for (int i = 0; i < kRecordLength; ++i) r[static_cast<std::size_t>(i)] = static_cast<char>('A' + (n + i) % 26);
    return r;
}

std::string fileOf(int records) {
    std::string s;
    for (int n = 1; n <= records; ++n) s += recordBytes(n);
    return s;
}

std::string asString(const ClientRecord& r) { return std::string(r.bytes().begin(), r.bytes().end()); }

class ClientFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path file = dir / kClientFileName;
    ClientTable table;
};

TEST_F(ClientFileTest, AMissingFileIsCreatedEmpty) {
    const auto report = LoadClients(table, file);
    EXPECT_EQ(table.NumClients, 0);
    EXPECT_EQ(table.CurClient, 0);
    EXPECT_EQ(report.recordsInFile, 0);
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), 0u);
}

TEST_F(ClientFileTest, WholeRecordsLoadAndReplaceTheTable) {
    table.NumClients = 9;
    table.Clients[7].set(Field::Name, "stale");
    writeFile(file, fileOf(3));
    LoadClients(table, file);
    EXPECT_EQ(table.NumClients, 3);
    EXPECT_EQ(table.CurClient, 1);
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(asString(table.Clients[n]), recordBytes(n));
    EXPECT_TRUE(table.Clients[7].isBlank());
}

TEST_F(ClientFileTest, TrailingPartialRecordCountsFrom118BytesAndReadsBlanksBeyondTheEnd) {
    writeFile(file, fileOf(3) + recordBytes(4).substr(0, 117));
    auto report = LoadClients(table, file);
    EXPECT_EQ(table.NumClients, 3);
    EXPECT_EQ(report.trailingBytes, 117);

    writeFile(file, fileOf(3) + recordBytes(4).substr(0, 118));
    report = LoadClients(table, file);
    EXPECT_EQ(table.NumClients, 4);
    EXPECT_EQ(report.recordsInFile, 4);
    EXPECT_EQ(asString(table.Clients[4]), recordBytes(4).substr(0, 118) + std::string(117, ' '));
}

TEST_F(ClientFileTest, MoreThan51RecordsLoadsTheFirst51ReportsAndLeavesTheFileAlone) {
    const std::string original = fileOf(60) + "xyz";
    writeFile(file, original);
    const auto report = LoadClients(table, file);
    EXPECT_TRUE(report.overCapacity);
    EXPECT_EQ(report.recordsInFile, 60);
    EXPECT_EQ(table.NumClients, 51);
    EXPECT_EQ(asString(table.Clients[51]), recordBytes(51));
    EXPECT_NE(overCapacityMessage(report).find("60"), std::string::npos);
    EXPECT_EQ(readFile(file), original);

    // Saving one of the 51 keeps the records the table could not hold.
    table.Clients[2].set(Field::Name, "Changed");
    SaveClient(table, 2, file);
    const auto after = readFile(file);
    ASSERT_EQ(after.size(), original.size());
    EXPECT_EQ(after.substr(2 * kRecordLength), original.substr(2 * kRecordLength));
    EXPECT_EQ(after.substr(kRecordLength, kRecordLength), asString(table.Clients[2]));
    EXPECT_TRUE(overCapacityMessage(LoadReport{}).empty());
}

TEST_F(ClientFileTest, AppendingRecord4LeavesRecords1To3Untouched) {
    writeFile(file, fileOf(3));
    LoadClients(table, file);
    table.Clients[4].set(Field::Name, "New Client");
    SaveClient(table, 4, file);
    const auto after = readFile(file);
    EXPECT_EQ(after.size(), 4u * kRecordLength);
    EXPECT_EQ(after.substr(0, 3 * kRecordLength), fileOf(3));
    EXPECT_EQ(after.substr(3 * kRecordLength), asString(table.Clients[4]));
    EXPECT_FALSE(std::filesystem::exists(dir / "DATA401.KCS.new"));
}

TEST_F(ClientFileTest, SavingOverACountedPartialRecordWritesItWhole) {
    writeFile(file, fileOf(3) + recordBytes(4).substr(0, 150));
    LoadClients(table, file);
    ASSERT_EQ(table.NumClients, 4);
    table.Clients[5].set(Field::Name, "Fifth");
    SaveClient(table, 5, file);  // the partial record 4 is completed from memory, no gap of garbage
    const auto after = readFile(file);
    ASSERT_EQ(after.size(), 5u * kRecordLength);
    EXPECT_EQ(after.substr(3 * kRecordLength, kRecordLength), recordBytes(4).substr(0, 150) + std::string(85, ' '));

    // An ignored fragment of 117 bytes is overwritten by the append, not kept in front of it.
    writeFile(file, fileOf(3) + std::string(117, '#'));
    LoadClients(table, file);
    table.Clients[4].set(Field::Name, "Fourth");
    SaveClient(table, 4, file);
    EXPECT_EQ(readFile(file), fileOf(3) + asString(table.Clients[4]));
}

TEST_F(ClientFileTest, SlotsOutsideTheTableOrLeavingAGapAreRefusedAndWriteNothing) {
    writeFile(file, fileOf(3));
    LoadClients(table, file);
    for (std::int16_t slot : {std::int16_t(0), std::int16_t(-1), std::int16_t(5), std::int16_t(52), std::int16_t(300)})
        EXPECT_THROW(SaveClient(table, slot, file), std::out_of_range) << slot;
    EXPECT_EQ(readFile(file), fileOf(3));

    writeFile(file, fileOf(51));
    LoadClients(table, file);
    EXPECT_THROW(SaveClient(table, 52, file), std::out_of_range);
    EXPECT_EQ(readFile(file), fileOf(51));
}

TEST_F(ClientFileTest, ClearCurrentClientBlanksOnlyTheSlotInMemory) {
    writeFile(file, fileOf(3));
    LoadClients(table, file);
    table.CurClient = 2;
    ClearCurrentClient(table);
    EXPECT_EQ(asString(table.Clients[2]), std::string(kRecordLength, ' '));
    EXPECT_EQ(asString(table.Clients[3]), recordBytes(3));
    EXPECT_EQ(readFile(file), fileOf(3));
}

TEST_F(ClientFileTest, FileErrorsCarryTheirNumbers) {
    try {
        LoadClients(table, dir / "no-such-folder" / kClientFileName);
        FAIL();
    } catch (const kcs::RunError& e) {
        EXPECT_EQ(e.number(), 76);
    }
    std::filesystem::create_directory(file);
    try {
        LoadClients(table, file);
        FAIL();
    } catch (const kcs::RunError& e) {
        EXPECT_EQ(e.number(), 75);
    }
}

TEST_F(ClientFileTest, AWriteProtectedDriveRefusesTheSaveWith70) {
    writeFile(file, fileOf(2));
    LoadClients(table, file);
    const auto ok = kcs::test::inReadOnlyView(dir.path(), [&] {
        try {
            SaveClient(table, 1, file);
        } catch (const kcs::RunError& e) {
            return e.number() == 70;
        }
        return false;
    });
    if (!ok) GTEST_SKIP() << "no mount namespaces here";
    EXPECT_TRUE(*ok);
    EXPECT_EQ(readFile(file), fileOf(2));
}

}  // namespace
