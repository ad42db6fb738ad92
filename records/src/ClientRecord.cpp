#include "kcs/records/ClientRecord.h"

#include <cstdio>
#include <stdexcept>

#include "kcs/common/Cp1252.h"

namespace kcs::records {
namespace {

constexpr std::array<FieldLayout, kFieldCount> kLayout = {{
    {"Name", 0, 25},
    {"Age", 25, 3},
    {"Sex", 28, 1},
    {"Race", 29, 1},
    {"Marital", 30, 1},
    {"Education", 31, 2},
    {"DateOfBirth", 33, 10},
    {"TestDate", 43, 10},
    {"AgeAtFirstArrest", 53, 2},
    {"FelonyArrests", 55, 2},
    {"TimesOnProbation", 57, 2},
    {"ProbationRevocations", 59, 2},
    {"Parole", 61, 2},
    {"TimesArrested", 63, 2},
    {"TimesJail", 65, 2},
    {"TimesPrison", 67, 2},
    {"AlcoholArrests", 69, 2},
    {"DrugArrests", 71, 2},
    {"PercentageTimeEmployed", 73, 2},
    {"Answers", 75, 158},
    {"EditCount", 233, 1},
    {"NameDeleted", 234, 1},
}};

constexpr std::array<std::string_view, 3> kSex = {"N/A", "Male", "Female"};
constexpr std::array<std::string_view, 7> kRace = {"N/A", "Caucasian", "Black", "Hispanic",
                                                   "Asian", "Native American", "Other"};
constexpr std::array<std::string_view, 6> kMarital = {"N/A", "Single", "Married", "Divorced",
                                                      "Separated", "Widowed"};

bool isBlankChar(char c) { return c == ' '; }

}  // namespace

const FieldLayout& layoutOf(Field f) { return kLayout.at(static_cast<std::size_t>(f)); }

bool ClientRecord::isBlank() const {
    for (char c : bytes_)
        if (c != ' ') return false;
    return true;
}

std::string_view ClientRecord::raw(Field f) const {
    const auto& l = layoutOf(f);
    return std::string_view(bytes_.data() + l.offset, static_cast<std::size_t>(l.width));
}

std::string ClientRecord::text(Field f) const {
    auto v = raw(f);
    while (!v.empty() && isBlankChar(v.front())) v.remove_prefix(1);
    while (!v.empty() && isBlankChar(v.back())) v.remove_suffix(1);
    return std::string(v);
}

bool ClientRecord::set(Field f, std::string_view value) {
    const auto& l = layoutOf(f);
    if (value.size() > static_cast<std::size_t>(l.width)) return false;
    auto* dst = bytes_.data() + l.offset;
    std::size_t i = 0;
    for (; i < value.size(); ++i) dst[i] = value[i];
    for (; i < static_cast<std::size_t>(l.width); ++i) dst[i] = ' ';
    return true;
}

bool ClientRecord::setUtf8(Field f, std::string_view utf8) {
    const auto bytes = utf8ToCp1252(utf8);
    return bytes && set(f, *bytes);
}

std::size_t ClientRecord::answerIndex(int item) {
    if (item < 1 || item > kAnswerCount) throw std::out_of_range("answer item " + std::to_string(item) + " is outside 1 to 158");
    return static_cast<std::size_t>(layoutOf(Field::Answers).offset + item - 1);
}

std::string ClientRecord::textUtf8(Field f) const { return cp1252ToUtf8(text(f)); }

std::span<const std::string_view> codeLabels(CodeTable t) {
    switch (t) {
    case CodeTable::Sex: return kSex;
    case CodeTable::Race: return kRace;
    case CodeTable::Marital: return kMarital;
    }
    throw std::invalid_argument("unknown code table");
}

std::optional<std::string_view> codeLabel(CodeTable t, char digit) {
    const auto labels = codeLabels(t);
    if (digit < '0' || digit > '9') return std::nullopt;
    const auto index = static_cast<std::size_t>(digit - '0');
    if (index >= labels.size()) return std::nullopt;
    return labels[index];
}

std::string formatRecordDate(int year, int month, int day) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", month, day, year);
    return buf;
}

}  // namespace kcs::records
