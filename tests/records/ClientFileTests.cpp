#include <gtest/gtest.h>

#include "kcs/records/ClientFile.h"
#include "kcs/test/Support.h"

namespace {

using namespace kcs::records;
using kcs::test::errorNumber;
using kcs::test::readFile;
using kcs::test::writeFile;

TEST(ClientRecord, NamesArePaddedNeverCutAndStoredOneBytePerCharacterAndItemsAreBoundsChecked) {
    ClientRecord r;
    ASSERT_TRUE(r.set(Field::Name, "Smith"));
    EXPECT_EQ(r.raw(Field::Name), "Smith                    ");
    const std::string exact25 = "Abcdefghij Klmnopqrst Uvw";
    ASSERT_TRUE(r.set(Field::Name, exact25));
    EXPECT_EQ(r.raw(Field::Age), "   ");  // the neighbour is untouched
    EXPECT_FALSE(r.set(Field::Name, exact25 + "x"));
    EXPECT_EQ(r.text(Field::Name), exact25);

    ASSERT_TRUE(r.setUtf8(Field::Name, "José Muñoz"));
    EXPECT_EQ(r.text(Field::Name), "Jos\xE9 Mu\xF1oz");
    EXPECT_EQ(r.textUtf8(Field::Name), "José Muñoz");
    // 25 accented characters fit although their UTF-8 form is 50 bytes.
    EXPECT_TRUE(r.setUtf8(Field::Name, "ñññññññññññññññññññññññññ"));
    const auto before = r;
    EXPECT_FALSE(r.setUtf8(Field::Name, "Łukasz"));  // not in the code page: refused, nothing stored
    EXPECT_EQ(r, before);
    EXPECT_THROW(r.setAnswer(159, '1'), std::out_of_range);
    EXPECT_THROW((void)r.answer(0), std::out_of_range);
}

// Records whose every byte says which record it is, so any misplaced byte shows.
std::string fileOf(int records) {
    std::string s;
    for (int n = 1; n <= records; ++n)
        for (int i = 0; i < kRecordLength; ++i) s += static_cast<char>('A' + (n + i) % 26);
    return s;
}

std::string asString(const ClientRecord& r) { return std::string(r.bytes().begin(), r.bytes().end()); }

class ClientFileTest : public ::testing::Test {
protected:
    void load(const std::string& content) {
        writeFile(file, content);
        report = LoadClients(table, file);
    }
    kcs::test::TempDir dir;
    std::filesystem::path file = dir / kClientFileName;
    ClientTable table;
    LoadReport report;
};

// How a file of any length loads, and what a save leaves around the record it writes, is
// the client-file fuzzer's (its seeds include partial records of 117 and 118 bytes).
TEST_F(ClientFileTest, AMissingFileIsCreatedEmptyAndALoadReplacesTheWholeTable) {
    report = LoadClients(table, file);
    EXPECT_EQ(table.NumClients + table.CurClient + report.recordsInFile, 0);
    EXPECT_EQ(readFile(file), "");
    table.NumClients = 9;
    table.Clients[7].set(Field::Name, "stale");
    load(fileOf(3));
    EXPECT_EQ(table.NumClients, 3);
    EXPECT_TRUE(table.Clients[7].isBlank());
}

TEST_F(ClientFileTest, MoreThan51RecordsLoadsTheFirst51ReportsAndASaveKeepsTheRest) {
    const std::string original = fileOf(60) + "xyz";
    load(original);
    EXPECT_EQ(std::tuple(report.overCapacity, table.NumClients), std::tuple(true, 51));
    EXPECT_NE(overCapacityMessage(report).find("60"), std::string::npos);
    table.Clients[2].set(Field::Name, "Changed");
    SaveClient(table, 2, file);
    EXPECT_EQ(readFile(file),
              original.substr(0, kRecordLength) + asString(table.Clients[2]) + original.substr(2 * kRecordLength));
}

TEST_F(ClientFileTest, SlotsOutsideTheTableOrLeavingAGapAreRefusedAndWriteNothing) {
    load(fileOf(3));
    for (int slot : {0, -1, 5, 52, 300}) EXPECT_THROW(SaveClient(table, std::int16_t(slot), file), std::out_of_range) << slot;
    EXPECT_EQ(readFile(file), fileOf(3));
    load(fileOf(51));
    EXPECT_THROW(SaveClient(table, 52, file), std::out_of_range);
    EXPECT_EQ(readFile(file), fileOf(51));
}

// A failing write is the disk-fault test's.
TEST_F(ClientFileTest, FileErrorsCarryTheirNumbers) {
    EXPECT_EQ(errorNumber([&] { LoadClients(table, dir / "no-such-folder" / kClientFileName); }), 76);
    std::filesystem::create_directory(dir / "folder");
    EXPECT_EQ(errorNumber([&] { LoadClients(table, dir / "folder"); }), 75);
}

}  // namespace
