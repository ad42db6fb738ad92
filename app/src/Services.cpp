#include "kcs/app/Services.h"

#include "kcs/common/RunError.h"
#include "kcs/scoring/DataError.h"

namespace kcs::app {

MsgAnswer escapeAnswer(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::OkCancel: return MsgAnswer::Cancel;
    case MsgButtons::YesNo: return MsgAnswer::No;
    }
    return MsgAnswer::Cancel;
}

std::string runErrorText(int number, std::string_view description) {
    std::string text = "Error ";
    text += std::to_string(number);
    text += ':';
    text += description;
    return text;
}

void showRunError(MessageBoxes& boxes, int number, std::string_view description) {
    boxes.message(runErrorText(number, description), std::string(), MsgIcon::None, MsgButtons::Ok);
}

std::string errorText(const std::exception& error) {
    if (const auto* run = dynamic_cast<const RunError*>(&error)) return runErrorText(run->number(), run->description());
    if (const auto* data = dynamic_cast<const scoring::DataError*>(&error)) return runErrorText(data->number(), data->what());
    return runErrorText(err::InternalError, error.what());
}

void showError(MessageBoxes& boxes, const std::exception& error) {
    boxes.message(errorText(error), std::string(), MsgIcon::None, MsgButtons::Ok);
}

}  // namespace kcs::app
