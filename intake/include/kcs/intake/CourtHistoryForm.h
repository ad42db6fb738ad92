#pragma once
// The court history screen's rules, without widgets: eleven small counts (or "N", not
// available), each checked when it is entered and again when the whole screen is
// confirmed, then written into the client's record in item order.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "kcs/app/Services.h"
#include "kcs/records/ClientRecord.h"

namespace kcs::intake {

inline constexpr int kCourtItems = 11;

class CourtHistoryForm {
public:
    // A stored client's values (blanks removed) in edit mode; empty fields otherwise.
    CourtHistoryForm(bool editMode, const records::ClientRecord& record);

    // Items are numbered 1 to 11.
    const std::string& text(int item) const { return texts_.at(static_cast<std::size_t>(item - 1)); }
    void setText(int item, std::string text) { texts_.at(static_cast<std::size_t>(item - 1)) = std::move(text); }

    // "1. Age at first arrest" and so on, without the dotted leader.
    static std::string_view caption(int item);
    static std::string_view helpLine(int item);
    static std::string_view okHelpLine();
    static std::string_view cancelHelpLine();
    static app::Message refusalMessage(int item);

    // "N" or "n" (made upper case), exactly "0", or a number above `low` up to `high`.
    static bool ValidateRange(std::string& text, int low, int high);
    // "N" or "n" (made upper case), or a number from 5 to 99.
    static bool ValidateFirstArrestAge(std::string& text);

    // Enter (or Tab) in an item: blanks are removed and letters made upper case, then the
    // item's range is checked; nullopt accepts, else beep and show the message.
    std::optional<app::Message> enter(int item);

    // "Information OK": every item is checked with its own range, in order. Either the
    // first item that refuses (with its message) or nullopt, and then SaveCourtData.
    struct Refusal {
        int item;
        app::Message message;
    };
    std::optional<Refusal> confirm();
    void SaveCourtData(records::ClientRecord& record) const;

private:
    std::array<std::string, kCourtItems> texts_;
};

}  // namespace kcs::intake
