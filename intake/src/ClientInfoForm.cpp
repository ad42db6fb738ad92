#include "kcs/intake/ClientInfoForm.h"

#include <algorithm>

#include "EntryText.h"
#include "kcs/common/Cp1252.h"

namespace kcs::intake {

using namespace detail;
using records::Field;

namespace {

constexpr const char* kTitle = "Kestrel Conduct Screening";

struct FieldTexts {
    std::string_view caption;
    std::string_view help;
    std::string_view refusal;
};

constexpr std::array<FieldTexts, kInfoFieldCount> kTexts = {{
    {"Name:", "Type client's name (up to 25 characters) or N for Not Available, then press Enter.",
     "Enter client's name. Press Enter to continue."},
    {"Age:", "Type age in years or N for Not Available, then press Enter.",
     "Enter age of client in number of years. Press Enter to continue."},
    {"Sex:", "Use up or down arrow keys to select sex or N/A for Not Available, then press Enter.",
     "Press down arrow to select sex or N/A for Not Available. Press Enter to continue."},
    {"Ethnicity (Race):",
     "Use up or down arrow keys to select ethnicity/race or N/A for Not Available, then press Enter.",
     "Press down arrow to select ethnicity. Press Enter to continue."},
    {"Marital Status:",
     "Use up or down arrow keys to select marital status or N/A for Not Available, then press Enter.",
     "Press down arrow key to select marital status. Press Enter to continue."},
    {"Education (highest grade completed):",
     "Enter years of education or N for Not Available, then press Enter.",
     "Enter education level of client in number of years. Press Enter to continue."},
    {"Date of Birth:", "Type date of birth in the form MM/DD/YYYY or N for Not Available, then press Enter.",
     "Enter date of birth month, day, year as MM/DD/YYYY or N for Not Available. Press Enter to continue."},
}};

// A list entry is picked by its code digit or by the first letters of its name.
struct MatchRule {
    std::string_view digit;
    std::string_view prefix;
    int position;
};

constexpr MatchRule kSexRules[] = {{"1", "M", 1}, {"2", "F", 2}, {"0", "N", 0}};
constexpr MatchRule kRaceRules[] = {{"1", "CA", 1}, {"2", "BL", 2}, {"3", "HI", 3}, {"4", "AS", 4},
                                    {"5", "NA", 5}, {"6", "OT", 6}, {"0", "N/", 0}};
constexpr MatchRule kMaritalRules[] = {{"1", "SI", 1}, {"2", "MA", 2}, {"3", "DI", 3},
                                       {"4", "SE", 4}, {"5", "WI", 5}, {"0", "N/", 0}};

records::CodeTable tableOf(InfoField f) {
    switch (f) {
    case InfoField::Sex: return records::CodeTable::Sex;
    case InfoField::Race: return records::CodeTable::Race;
    default: return records::CodeTable::Marital;
    }
}

Field recordField(InfoField f) {
    switch (f) {
    case InfoField::Name: return Field::Name;
    case InfoField::Age: return Field::Age;
    case InfoField::Sex: return Field::Sex;
    case InfoField::Race: return Field::Race;
    case InfoField::Marital: return Field::Marital;
    case InfoField::Education: return Field::Education;
    case InfoField::DateOfBirth: return Field::DateOfBirth;
    }
    return Field::Name;
}

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

struct Ymd {
    int year, month, day;
};

// "mm/dd/yyyy" that names a day of the calendar.
std::optional<Ymd> calendarDate(std::string_view t) {
    if (t.size() != 10 || t[2] != '/' || t[5] != '/') return std::nullopt;
    const auto month = wholeNumber(t.substr(0, 2));
    const auto day = wholeNumber(t.substr(3, 2));
    const auto year = wholeNumber(t.substr(6, 4));
    if (!month || !day || !year || *year < 100 || *month < 1 || *month > 12 || *day < 1) return std::nullopt;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int last = kDays[*month - 1] + (*month == 2 && isLeapYear(*year) ? 1 : 0);
    if (*day > last) return std::nullopt;
    return Ymd{*year, *month, *day};
}

// A name the client file can hold: Windows-1252 characters, no control characters, at
// most the field's width.
bool storableName(std::string_view utf8) {
    const auto bytes = utf8ToCp1252(utf8);
    if (!bytes || bytes->size() > static_cast<std::size_t>(records::layoutOf(Field::Name).width)) return false;
    for (unsigned char b : *bytes) {
        const bool unassigned = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        if (b < 0x20 || b == 0x7F || unassigned) return false;
    }
    return true;
}

app::Message refusalMessage(InfoField f) {
    return {std::string(kTexts[static_cast<std::size_t>(f)].refusal), kTitle, app::MsgIcon::Critical,
            app::MsgButtons::Ok};
}

int digitValue(char c) { return c >= '0' && c <= '9' ? c - '0' : -1; }

}  // namespace

ClientInfoForm::ClientInfoForm(bool editMode, const records::ClientRecord& stored)
    : editMode_(editMode), stored_(stored) {
    enabled_.fill(true);
    texts_[index(InfoField::DateOfBirth)] = std::string(kEmptyDate);
    storedEditCount_ = -1;
    if (!editMode_) return;

    // RecordToScreen.
    for (InfoField f : {InfoField::Name, InfoField::Age, InfoField::Education})
        texts_[index(f)] = stored.textUtf8(recordField(f));
    for (InfoField f : {InfoField::Sex, InfoField::Race, InfoField::Marital}) {
        const auto label = records::codeLabel(tableOf(f), stored.raw(recordField(f)).front());
        texts_[index(f)] = label ? std::string(*label) : std::string();
    }
    const std::string date = stored.textUtf8(Field::DateOfBirth);
    if (!date.empty() && date.front() == 'N') texts_[index(InfoField::DateOfBirth)] = std::string(kDateNotAvailable);
    else if (!date.empty()) texts_[index(InfoField::DateOfBirth)] = std::string(stored.raw(Field::DateOfBirth));

    NameDeletedValue_ = stored.raw(Field::NameDeleted).front() == '1' ? 1 : 0;
    storedEditCount_ = std::max(0, digitValue(stored.raw(Field::EditCount).front()));
    editCounter_ = std::min(storedEditCount_, kEditLimit);
    lockedAtStart_ = NameDeletedValue_ == 1 || storedEditCount_ >= kEditLimit;
    if (lockedAtStart_) lockFields();
    for (InfoField f : kInfoFields) reference_[index(f)] = value(f);
}

std::string_view ClientInfoForm::caption(InfoField f) { return kTexts[index(f)].caption; }
std::string_view ClientInfoForm::helpLine(InfoField f) { return kTexts[index(f)].help; }
std::string_view ClientInfoForm::cancelHelpLine() { return "Cancel information input and return to Main Menu."; }

std::string_view ClientInfoForm::okHelpLine() const {
    if (nameDeleted()) return "Client name has been deleted. No further editing is permitted.";
    if (editCounter_ == kEditLimit) return "Exceeded limits of editing. No further editing is permitted.";
    return "If information is correct press Enter or press Tab to change an entry.";
}

std::string_view ClientInfoForm::startHelpLine() const {
    if (!editMode_) return {};
    if (nameDeleted()) return "Client name has been deleted. Editing is not permitted. Press Enter to continue.";
    if (editCounter_ == kEditLimit) return "Exceeded limits of editing. Press Enter to continue.";
    return {};
}

bool ClientInfoForm::isList(InfoField f) {
    return f == InfoField::Sex || f == InfoField::Race || f == InfoField::Marital;
}

std::span<const std::string_view> ClientInfoForm::entries(InfoField f) { return records::codeLabels(tableOf(f)); }

bool ClientInfoForm::listKeyAllowed(InfoField f, char c) {
    if (c == 'N' || c == 'n') return true;
    const int highest = static_cast<int>(entries(f).size()) - 1;
    return c >= '0' && c <= '0' + highest;
}

int ClientInfoForm::matchEntry(InfoField f, std::string_view text) {
    std::span<const MatchRule> rules;
    switch (f) {
    case InfoField::Sex: rules = kSexRules; break;
    case InfoField::Race: rules = kRaceRules; break;
    case InfoField::Marital: rules = kMaritalRules; break;
    default: return -1;
    }
    std::string head(text.substr(0, rules.front().prefix.size()));
    upperAscii(head);
    for (const MatchRule& r : rules)
        if (text == r.digit || head == r.prefix) return r.position;
    return -1;
}

bool ClientInfoForm::dateKeyAllowed(char c) {
    return (c >= '0' && c <= '9') || c == '/' || c == 'N' || c == 'n' || c == '\b';
}

bool ClientInfoForm::GoodDate(std::string_view text) {
    const auto d = calendarDate(text);
    return d && d->year >= 1890 && d->year <= 2000;
}

bool ClientInfoForm::anyEnabled() const {
    return std::any_of(enabled_.begin(), enabled_.end(), [](bool e) { return e; });
}

std::string ClientInfoForm::value(InfoField f) const {
    if (!isList(f)) return text(f);
    const int position = matchEntry(f, text(f));
    return position < 0 ? std::string() : std::to_string(position);
}

std::optional<Refusal> ClientInfoForm::enter(InfoField f) { return check(f, false); }

std::optional<Refusal> ClientInfoForm::check(InfoField f, bool confirming) {
    std::string& t = texts_[index(f)];
    const Refusal refused{f, refusalMessage(f)};
    switch (f) {
    case InfoField::Name:
        if (trimmed(t).empty() || !storableName(t)) return refused;
        if (t == "n") t = "N";
        return std::nullopt;
    case InfoField::Age:
    case InfoField::Education: {
        const std::string v = trimmed(t);
        const auto n = wholeNumber(v);
        const bool inRange = f == InfoField::Age ? (n && *n > 10 && *n < 100) : (n && *n < 100);
        if (isNotAvailable(v)) {
            t = "N";
        } else if (inRange) {
            t = v;
        } else {
            t.clear();
            return refused;
        }
        return std::nullopt;
    }
    case InfoField::Sex:
    case InfoField::Race:
    case InfoField::Marital: {
        const int position = matchEntry(f, t);
        if (position < 0) return refused;
        t = std::string(entries(f)[static_cast<std::size_t>(position)]);
        return std::nullopt;
    }
    case InfoField::DateOfBirth: {
        std::string upper = t;
        upperAscii(upper);
        if (upper == kDateNotAvailable) {
            t = upper;
            return std::nullopt;
        }
        // The field's own check takes any calendar date; "Information OK" also wants a
        // believable year, and says so rather than only moving the focus.
        const bool accepted = upper.find('_') == std::string::npos && calendarDate(upper) &&
                              (!confirming || GoodDate(upper));
        if (accepted) return std::nullopt;
        t = std::string(kEmptyDate);
        return refused;
    }
    }
    return std::nullopt;
}

bool ClientInfoForm::leave(InfoField f) {
    std::string& t = texts_[index(f)];
    if (!isList(f) && f != InfoField::DateOfBirth && t == "n") t = "N";
    if (!editMode_) return false;

    // CountEdit: every change away from the field's last value counts, so changing a
    // field and changing it back counts twice.
    const std::string now = value(f);
    if (now == reference_[index(f)]) return false;
    ++editCounter_;
    if (editCounter_ < kEditLimit) {
        reference_[index(f)] = now;
        return false;
    }
    editCounter_ = kEditLimit;
    if (!enabled(f)) return false;
    lockFields();
    return true;
}

std::optional<app::Message> ClientInfoForm::activationMessage() const {
    if (!editMode_) return std::nullopt;
    if (nameDeleted())
        return app::Message{"This client's name has been deleted.\rEditing this information is no longer permitted.",
                            "Name Deleted", app::MsgIcon::Information, app::MsgButtons::Ok};
    if (editCounter_ == kEditLimit)
        return app::Message{"This client's information has been changed 3 times.\rNo further editing is permitted. "
                            "Press Enter to Continue.",
                            "Edit Limit Reached", app::MsgIcon::Information, app::MsgButtons::Ok};
    return std::nullopt;
}

app::Message ClientInfoForm::editLimitMessage() {
    return {"This client's information has been edited.\r3 times already. Further editing of this\rinformation is no "
            "longer permitted.",
            "Edit Limit Reached", app::MsgIcon::Information, app::MsgButtons::Ok};
}

bool ClientInfoForm::differsFromStored() const {
    for (InfoField f : {InfoField::Name, InfoField::Age, InfoField::Education, InfoField::DateOfBirth})
        if (stored_.textUtf8(recordField(f)) != text(f)) return true;
    for (InfoField f : {InfoField::Sex, InfoField::Race, InfoField::Marital})
        if (digitValue(stored_.raw(recordField(f)).front()) != matchEntry(f, text(f))) return true;
    return false;
}

void ClientInfoForm::toRecord(records::ClientRecord& r) const {
    // Every text passed its check, so each fits its field and the code page.
    for (InfoField f : {InfoField::Name, InfoField::Age, InfoField::Education}) r.setUtf8(recordField(f), text(f));
    for (InfoField f : {InfoField::Sex, InfoField::Race, InfoField::Marital})
        r.set(recordField(f), std::to_string(matchEntry(f, text(f))));
    const std::string& date = text(InfoField::DateOfBirth);
    const bool notAvailable = !date.empty() && (date.front() == 'N' || date.front() == 'n');
    r.set(Field::DateOfBirth, notAvailable ? std::string("N") : date);
}

ClientInfoForm::Confirmation ClientInfoForm::confirm(const app::Date& today) {
    Confirmation c;
    c.record = stored_;
    // A screen locked from the start cannot have changed, and leaves the record as it was.
    if (lockedAtStart_) return c;
    for (InfoField f : kInfoFields) {
        if (auto refused = check(f, true)) {
            enabled_[index(f)] = true;
            c.refused = std::move(refused);
            return c;
        }
    }
    if (editMode_ && (!differsFromStored() || storedEditCount_ >= kEditLimit)) return c;
    if (!editMode_) {
        c.record = records::ClientRecord();
        c.record.set(Field::Answers, std::string(records::kAnswerCount, '0'));
        c.record.set(Field::NameDeleted, "0");
        c.record.set(Field::EditCount, "0");
        c.record.set(Field::TestDate, records::formatRecordDate(today.year, today.month, today.day));
    }
    toRecord(c.record);
    if (editMode_) {
        c.record.set(Field::EditCount, std::to_string(editCounter_));
        c.save = true;
    }
    return c;
}

}  // namespace kcs::intake
