#pragma once
// The client information screen's rules, without widgets: the seven fields and their
// checks, the list matching of Sex, Race and Marital, the counting of changes to a stored
// client with its limit of three, the locks, and what "Information OK" leaves behind.
// Texts are UTF-8 as shown on screen; the record holds them in Windows-1252.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "kcs/app/Services.h"
#include "kcs/records/ClientRecord.h"

namespace kcs::intake {

// In screen and tab order.
enum class InfoField { Name, Age, Sex, Race, Marital, Education, DateOfBirth };
inline constexpr int kInfoFieldCount = 7;
inline constexpr std::array<InfoField, kInfoFieldCount> kInfoFields = {
    InfoField::Name, InfoField::Age, InfoField::Sex, InfoField::Race,
    InfoField::Marital, InfoField::Education, InfoField::DateOfBirth};

// The date field as shown when empty, and with "N" (not available) typed first.
inline constexpr std::string_view kEmptyDate = "__/__/____";
inline constexpr std::string_view kDateNotAvailable = "N_/__/____";
inline constexpr int kEditLimit = 3;

// A field's check refused what it holds: beep, show `message`, keep (or put) the focus
// on `field`.
struct Refusal {
    InfoField field;
    app::Message message;
};

class ClientInfoForm {
public:
    // A new client (every field empty) unless `editMode`; then the fields show `stored`.
    ClientInfoForm(bool editMode, const records::ClientRecord& stored);

    bool editMode() const { return editMode_; }
    const std::string& text(InfoField f) const { return texts_[index(f)]; }
    void setText(InfoField f, std::string text) { texts_[index(f)] = std::move(text); }

    static std::string_view caption(InfoField f);
    static std::string_view helpLine(InfoField f);
    std::string_view okHelpLine() const;
    static std::string_view cancelHelpLine();
    // The help line shown when a locked screen opens; empty when it is not locked.
    std::string_view startHelpLine() const;

    // The list fields: their entries, the keys they take, the entry a text stands for
    // (-1 when none: such a text is never stored as a position).
    static bool isList(InfoField f);
    static std::span<const std::string_view> entries(InfoField f);
    static bool listKeyAllowed(InfoField f, char c);
    static int matchEntry(InfoField f, std::string_view text);
    // Keys the date field lets through to its mask.
    static bool dateKeyAllowed(char c);

    // GoodDate: a calendar date "mm/dd/yyyy" with a year from 1890 to 2000.
    static bool GoodDate(std::string_view text);

    // Enter (or Tab) in a field. Accepting may tidy the text ("n" becomes "N", blanks
    // go); refusing may empty it.
    std::optional<Refusal> enter(InfoField f);
    // The field lost the focus: "n" becomes "N" in the text fields, and a stored
    // client's change is counted. True when this change reached the limit: the screen
    // shows editLimitMessage(), locks the fields and puts the focus on "Information OK".
    bool leave(InfoField f);

    // Locked fields take no input; a locked screen can only be confirmed or cancelled.
    bool enabled(InfoField f) const { return enabled_[index(f)]; }
    bool anyEnabled() const;
    int editCounter() const { return editCounter_; }
    bool nameDeleted() const { return NameDeletedValue_ == 1; }

    // The box shown when the screen opens on a client that may no longer be edited.
    std::optional<app::Message> activationMessage() const;
    static app::Message editLimitMessage();

    // "Information OK". Either a field refuses (the first in screen order; a field
    // locked after the change that reached the limit is opened again so it can be put
    // right), or the sequence goes on with `record`, which a stored client saves first
    // when `save` is set.
    struct Confirmation {
        std::optional<Refusal> refused;
        bool save = false;
        records::ClientRecord record;
    };
    Confirmation confirm(const app::Date& today);

private:
    static std::size_t index(InfoField f) { return static_cast<std::size_t>(f); }
    // What CountEdit compares: the text, or the list position as a digit.
    std::string value(InfoField f) const;
    std::optional<Refusal> check(InfoField f, bool confirming);
    bool differsFromStored() const;
    void toRecord(records::ClientRecord& r) const;  // RecordToDB
    void lockFields() { enabled_.fill(false); }

    bool editMode_;
    records::ClientRecord stored_;
    std::array<std::string, kInfoFieldCount> texts_;
    std::array<std::string, kInfoFieldCount> reference_;
    std::array<bool, kInfoFieldCount> enabled_{};
    bool lockedAtStart_ = false;
    int editCounter_ = 0;
    int storedEditCount_ = 0;  // -1 for a new client (no stored count)
    int NameDeletedValue_ = 0;
};

}  // namespace kcs::intake
