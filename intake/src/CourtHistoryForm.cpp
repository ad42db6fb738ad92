#include "kcs/intake/CourtHistoryForm.h"

#include "EntryText.h"

namespace kcs::intake {

using namespace detail;

namespace {

constexpr std::array<std::string_view, kCourtItems> kCaptions = {
    "1. Age at first arrest",
    "2. Number of felony arrests",
    "3. Number of times on probation",
    "4. Number of probation revocations",
    "5. Number of times on parole",
    "6. Total number of times arrested",
    "7. Number of time sentenced to jail",
    "8. Number of times sentenced to prison",
    "9. Number of alcohol-related arrests",
    "10. Number of drug-related arrests",
    "11. Number of months employed in last 12 months",
};

bool notAvailable(std::string& text) {
    if (!isNotAvailable(text)) return false;
    text.assign(1, 'N');
    return true;
}

}  // namespace

CourtHistoryForm::CourtHistoryForm(bool editMode, const records::ClientRecord& record) {
    if (!editMode) return;
    for (int i = 0; i < kCourtItems; ++i) texts_[static_cast<std::size_t>(i)] = record.textUtf8(records::kCourtFields[i]);
}

std::string_view CourtHistoryForm::caption(int item) { return kCaptions.at(static_cast<std::size_t>(item - 1)); }

std::string_view CourtHistoryForm::helpLine(int item) {
    if (item == 1) return "Type a value 5 to 99 or N for Not Available, then press Enter.";
    if (item == kCourtItems) return "Type a value 0 to 12 or N for Not Available, then press Enter.";
    return "Type a value 0 to 99 or N for Not Available, then press Enter.";
}

std::string_view CourtHistoryForm::okHelpLine() {
    return "If information is correct press Enter or press Tab to change an entry.";
}

std::string_view CourtHistoryForm::cancelHelpLine() { return "Cancel information input and return to Main Menu."; }

app::Message CourtHistoryForm::refusalMessage(int item) {
    const char* text = item == 1 ? "Enter a number from 5 to 99 or N for Not Available. Press Enter to continue."
                       : item == kCourtItems
                           ? "Enter a number from 0 to 12 or N for Not Available. Press Enter to continue."
                           : "Enter a number from 0 to 100 or N for Not Available. Press Enter to continue.";
    return {text, "Data Entry Error", app::MsgIcon::Critical, app::MsgButtons::Ok};
}

bool CourtHistoryForm::ValidateRange(std::string& text, int low, int high) {
    if (notAvailable(text) || text == "0") return true;
    const auto n = wholeNumber(text);
    return n && *n > low && *n <= high;
}

bool CourtHistoryForm::ValidateFirstArrestAge(std::string& text) {
    if (notAvailable(text)) return true;
    const auto n = wholeNumber(text);
    return n && *n >= 5 && *n <= 99;
}

std::optional<app::Message> CourtHistoryForm::enter(int item) {
    std::string& t = texts_.at(static_cast<std::size_t>(item - 1));
    t = trimmed(t);
    upperAscii(t);
    const bool ok = item == 1 ? ValidateFirstArrestAge(t) : ValidateRange(t, 0, item == kCourtItems ? 12 : 100);
    if (ok) return std::nullopt;
    return refusalMessage(item);
}

std::optional<CourtHistoryForm::Refusal> CourtHistoryForm::confirm() {
    // Each item is held to the range its own Enter check applies, so an age at first
    // arrest of 3 or 20 months in the last 12 never gets past a Tab or a click.
    for (int item = 1; item <= kCourtItems; ++item)
        if (auto message = enter(item)) return Refusal{item, std::move(*message)};
    return std::nullopt;
}

void CourtHistoryForm::SaveCourtData(records::ClientRecord& record) const {
    for (int i = 0; i < kCourtItems; ++i)
        record.setUtf8(records::kCourtFields[static_cast<std::size_t>(i)], texts_[static_cast<std::size_t>(i)]);
}

}  // namespace kcs::intake
