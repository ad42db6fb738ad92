#pragma once
// The rules of data verification, without widgets: the operator keys the 158 answers of a
// paper answer sheet a second time without seeing the stored ones; every item where the
// two keyings differ is then keyed a third time, and the second keying with the third
// keyings in it becomes the stored answer string.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kcs/app/Services.h"

namespace kcs::administration {

inline constexpr const char* kVerifyHelp =
    "Enter response data from answer sheet. Press Backspace for previous question.";
inline constexpr const char* kVerifyCancelHelp = "Press Enter to Cancel Data Verification and return to Main Menu";

// What one key did.
struct VerifyStep {
    bool beep = false;
    // The answer field to save now (as it stands when nothing differed); the screen saves
    // it before showing `message`.
    std::optional<std::string> save;
    std::optional<app::Message> message;
    bool close = false;
};

class VerifyForm {
public:
    // `storedAnswers`: the client's Answers field as stored.
    explicit VerifyForm(std::string_view storedAnswers);

    // A character typed in the input box; Backspace is '\b'. A response is accepted only
    // where the item can have it: 0 to 2 for items 1 to 99 (true/false), 0 to 4 for the
    // others; any other key beeps.
    VerifyStep key(char c);

    bool correctionPass() const { return correctionPass_; }
    // The item number keyed now, and the one before it (0 at the first entry of a pass).
    int currentItem() const { return list_[static_cast<std::size_t>(pos_)]; }
    int previousItem() const { return pos_ >= 2 ? list_[static_cast<std::size_t>(pos_ - 1)] : 0; }
    // "Question #n" of the current and the previous item; the previous one is shown from
    // the second entry of a pass on.
    std::string currentLabel() const;
    std::string previousLabel() const;
    bool previousVisible() const { return pos_ >= 2; }
    // The response keyed for the previous item ("" at the first entry of a pass).
    std::string previousResponse() const;
    const std::string& keyed() const { return keyed_; }

private:
    VerifyStep finish();

    std::string keyed_;             // VerifyKeyed: 158 responses, "0" until keyed
    std::string stored_;            // VerifyStored: the stored answers, trimmed
    std::string raw_;               // the stored answers as they are
    std::vector<int> list_;         // VerifyList(1..count): the items to key
    int count_ = 0;                 // VerifyCount
    int pos_ = 1;                   // VerifyPos, from 1
    bool correctionPass_ = false;   // CorrectionPass
};

}  // namespace kcs::administration
