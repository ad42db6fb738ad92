#include <gtest/gtest.h>

#include "kcs/records/ClientRecord.h"

namespace {

using namespace kcs::records;

TEST(ClientRecord, LayoutCoversTheRecordWithoutGapsOrOverlaps) {
    int next = 0;
    for (int i = 0; i < kFieldCount; ++i) {
        const auto& l = layoutOf(static_cast<Field>(i));
        EXPECT_EQ(l.offset, next) << l.name;
        next += l.width;
    }
    EXPECT_EQ(next, kRecordLength);
}

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
    EXPECT_EQ(r.answer(158), '4');
    EXPECT_EQ(r.raw(Field::EditCount), " ");
    EXPECT_EQ(r.raw(Field::PercentageTimeEmployed), "  ");
    EXPECT_THROW(r.setAnswer(159, '1'), std::out_of_range);
    EXPECT_THROW((void)r.answer(0), std::out_of_range);
}

TEST(CodeTables, DigitsReadAsTheirLabels) {
    const std::tuple<CodeTable, char, const char*> cases[] = {
        {CodeTable::Sex, '0', "N/A"},    {CodeTable::Race, '0', "N/A"},     {CodeTable::Marital, '0', "N/A"},
        {CodeTable::Race, '6', "Other"}, {CodeTable::Sex, '2', "Female"},   {CodeTable::Marital, '5', "Widowed"}};
    for (const auto& [table, digit, label] : cases) EXPECT_EQ(codeLabel(table, digit), label) << digit;
    EXPECT_FALSE(codeLabel(CodeTable::Sex, '3'));
    EXPECT_FALSE(codeLabel(CodeTable::Race, ' '));
    EXPECT_EQ(codeLabels(CodeTable::Race).size(), 7u);
}

}  // namespace
