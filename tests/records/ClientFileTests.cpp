#include <gtest/gtest.h>

#include "kcs/records/ClientFile.h"
#include "kcs/test/Support.h"

namespace {

using namespace kcs::records;
using kcs::test::errorNumber;
using kcs::test::readFile;
using kcs::test::writeFile;

TEST(ClientRecord, NamesArePaddedNeverCutAndStoredOneBytePerCharacter) {
    ClientRecord r;
    ASSERT_TRUE(r.set(Field::Name, "Smith"));
    EXPECT_EQ(r.raw(Field::Name), "Smith                    ");
    EXPECT_EQ(r.text(Field::Name), "Smith");
    const std::string exact25 = "Abcdefghij Klmnopqrst Uvw";
    ASSERT_TRUE(r.set(Field::Name, exact25));
    EXPECT_EQ(r.text(Field::Name), exact25);
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
}

TEST(ClientRecord, AnswersAreAddressedByItemAndBoundsChecked) {
    ClientRecord r;
    ASSERT_TRUE(r.set(Field::Answers, std::string(158, '0')));
    r.setAnswer(1, '1');
    r.setAnswer(158, '4');
    EXPECT_EQ(r.raw(Field::Answers), "1" + std::string(156, '0') + "4");
    EXPECT_EQ(r.raw(Field::PercentageTimeEmployed), "  ");  // the neighbours are untouched
    EXPECT_EQ(r.raw(Field::EditCount), " ");
    EXPECT_THROW(r.setAnswer(159, '1'), std::out_of_range);
    EXPECT_THROW((void)r.answer(0), std::out_of_range);
}

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
    void load(const std::string& content) {
        writeFile(file, content);
        report = LoadClients(table, file);
    }
    kcs::test::TempDir dir;
    std::filesystem::path file = dir / kClientFileName;
    ClientTable table;
    LoadReport report;
};

TEST_F(ClientFileTest, AMissingFileIsCreatedEmptyAndALoadReplacesTheWholeTable) {
    report = LoadClients(table, file);
    EXPECT_EQ(table.NumClients + table.CurClient + report.recordsInFile, 0);
    EXPECT_EQ(readFile(file), "");
    // A trailing partial record counts from 118 bytes and reads blanks beyond the end.
    table.NumClients = 9;
    table.Clients[7].set(Field::Name, "stale");
    load(fileOf(3) + recordBytes(4).substr(0, 118));
    EXPECT_EQ(std::tuple(table.NumClients, report.recordsInFile, table.CurClient), std::tuple(4, 4, 1));
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(asString(table.Clients[n]), recordBytes(n));
    EXPECT_EQ(asString(table.Clients[4]), recordBytes(4).substr(0, 118) + std::string(117, ' '));
    EXPECT_TRUE(table.Clients[7].isBlank());
}

TEST_F(ClientFileTest, MoreThan51RecordsLoadsTheFirst51ReportsAndLeavesTheFileAlone) {
    const std::string original = fileOf(60) + "xyz";
    load(original);
    EXPECT_TRUE(report.overCapacity);
    EXPECT_EQ(report.recordsInFile, 60);
    EXPECT_EQ(table.NumClients, 51);
    EXPECT_EQ(asString(table.Clients[51]), recordBytes(51));
    EXPECT_NE(overCapacityMessage(report).find("60"), std::string::npos);
    EXPECT_EQ(readFile(file), original);
    // Saving one of the 51 keeps the records the table could not hold.
    table.Clients[2].set(Field::Name, "Changed");
    SaveClient(table, 2, file);
    EXPECT_EQ(readFile(file),
              original.substr(0, kRecordLength) + asString(table.Clients[2]) + original.substr(2 * kRecordLength));
}

TEST_F(ClientFileTest, SavesWriteOneWholeRecordAndNeverAGap) {
    // A counted partial record 4 is completed from memory when record 5 is appended; an
    // ignored fragment of 117 bytes is overwritten by the append, not kept in front of it.
    const std::string part4 = fileOf(3) + recordBytes(4).substr(0, 150);
    for (const auto& [content, slot, kept] : {std::tuple{fileOf(3), 4, fileOf(3)},
                                              std::tuple{part4, 5, part4 + std::string(85, ' ')},
                                              std::tuple{fileOf(3) + std::string(117, '#'), 4, fileOf(3)}}) {
        load(content);
        table.Clients[slot].set(Field::Name, "New Client");
        SaveClient(table, static_cast<std::int16_t>(slot), file);
        EXPECT_EQ(readFile(file), kept + asString(table.Clients[slot])) << slot;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "DATA401.KCS.new"));
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
