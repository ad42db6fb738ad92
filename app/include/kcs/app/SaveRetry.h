#pragma once
// Saving a client's record when the data drive may fail under the operator: the drive
// pulled, write-protected or full. What was keyed is never thrown away by a failed save;
// the operator is told why and chooses to try again or to go back to the screen, where
// everything keyed is still shown.

#include <functional>
#include <string>

#include "kcs/app/Services.h"

namespace kcs::app {

// The question asked after a failed save, below the "Error N:..." line.
inline constexpr const char* kSaveRetryText =
    "The client's record has not been saved. Check that the data disk is in its drive and can be "
    "written, then press OK to try again, or Cancel to go back to the screen.";
inline constexpr const char* kSaveErrorTitle = "Data Disk Error";

// Runs `save` until it returns (true) or the operator declines to try again after a
// failure (false). Each failure shows "Error N:..." and the question (`retryText`) on
// `boxes`.
bool saveWithRetry(MessageBoxes& boxes, const std::function<void()>& save, const std::string& retryText = kSaveRetryText);

}  // namespace kcs::app
