#pragma once
// One client: 22 fixed-width text fields, 235 bytes of 8-bit (Windows-1252) text,
// left-justified and padded with blanks. The same bytes are held in memory and on disk.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kcs::records {

inline constexpr int kRecordLength = 235;
inline constexpr int kAnswerCount = 158;

enum class Field : std::uint8_t {
    Name, Age, Sex, Race, Marital, Education, DateOfBirth, TestDate,
    AgeAtFirstArrest, FelonyArrests, TimesOnProbation, ProbationRevocations, Parole,
    TimesArrested, TimesJail, TimesPrison, AlcoholArrests, DrugArrests,
    PercentageTimeEmployed, Answers, EditCount, NameDeleted,
};
inline constexpr int kFieldCount = 22;

struct FieldLayout {
    std::string_view name;
    int offset;
    int width;
};

// Layout of every field, indexed by Field.
const FieldLayout& layoutOf(Field f);

// The eleven court-history fields in court-item order (item 1 = AgeAtFirstArrest).
inline constexpr std::array<Field, 11> kCourtFields = {
    Field::AgeAtFirstArrest, Field::FelonyArrests, Field::TimesOnProbation,
    Field::ProbationRevocations, Field::Parole, Field::TimesArrested, Field::TimesJail,
    Field::TimesPrison, Field::AlcoholArrests, Field::DrugArrests, Field::PercentageTimeEmployed};

class ClientRecord {
public:
    using Bytes = std::array<char, kRecordLength>;

    // All 235 characters blank, as after ClearCurrentClient.
    ClientRecord() { bytes_.fill(' '); }
    static ClientRecord fromBytes(const Bytes& bytes) { ClientRecord r; r.bytes_ = bytes; return r; }

    const Bytes& bytes() const { return bytes_; }
    bool isBlank() const;

    // The field's full fixed-width text, padding included.
    std::string_view raw(Field f) const;
    // The field with leading and trailing blanks removed.
    std::string text(Field f) const;
    // Stores 8-bit text left-justified and blank-padded. Text longer than the field is
    // refused (false, nothing changed): a field is never silently cut.
    bool set(Field f, std::string_view cp1252);
    // The same from UTF-8; false when the text is too long or has a character the code
    // page cannot hold.
    bool setUtf8(Field f, std::string_view utf8);
    std::string textUtf8(Field f) const;

    // Answer code of item 1..158 as its digit character. An item number outside 1..158
    // throws std::out_of_range rather than touching a neighbouring field.
    char answer(int item) const { return bytes_[answerIndex(item)]; }
    void setAnswer(int item, char digit) { bytes_[answerIndex(item)] = digit; }

    friend bool operator==(const ClientRecord&, const ClientRecord&) = default;

private:
    static std::size_t answerIndex(int item);
    Bytes bytes_;
};

// Code tables of the one-digit Sex, Race and Marital fields; position 0 is "N/A".
enum class CodeTable { Sex, Race, Marital };
// Every label of a table, in digit order.
std::span<const std::string_view> codeLabels(CodeTable t);
// The label of a stored digit, or nullopt when the character is not a digit of the table
// (only a damaged file holds one).
std::optional<std::string_view> codeLabel(CodeTable t, char digit);

// Today's date or any date as the record writes it: "mm/dd/yyyy".
std::string formatRecordDate(int year, int month, int day);

}  // namespace kcs::records
