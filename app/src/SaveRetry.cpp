#include "kcs/app/SaveRetry.h"

#include <exception>

namespace kcs::app {

bool saveWithRetry(MessageBoxes& boxes, const std::function<void()>& save) {
    for (;;) {
        try {
            save();
            return true;
        } catch (const std::exception& e) {
            const std::string text = errorText(e) + "\r\r" + kSaveRetryText;
            if (boxes.message(text, kSaveErrorTitle, MsgIcon::Critical, MsgButtons::OkCancel) != MsgAnswer::Ok)
                return false;
        }
    }
}

}  // namespace kcs::app
