#include "kcs/app/SaveRetry.h"

#include <exception>

namespace kcs::app {

bool saveWithRetry(MessageBoxes& boxes, const std::function<void()>& save, const std::string& retryText) {
    for (;;) {
        try {
            save();
            return true;
        } catch (const std::exception& e) {
            const std::string text = errorText(e) + "\r\r" + retryText;
            if (boxes.message(text, kSaveErrorTitle, MsgIcon::Critical, MsgButtons::OkCancel) != MsgAnswer::Ok)
                return false;
        }
    }
}

}  // namespace kcs::app
