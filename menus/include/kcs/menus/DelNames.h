#pragma once
// Deleting the clients' names from a finished data drive: each name is overwritten by a
// character-shifted form of itself and its record is marked name-deleted; everything
// else in the record stays.

#include <string>

#include "kcs/app/ClientStore.h"
#include "kcs/app/Services.h"

namespace kcs::menus {

// Shifts every character of `text` but a space by its 8-bit code: plus 7 when the code is
// even, plus 3 when it is odd; with `reverse` the shift is undone (minus 7 when odd, minus
// 3 when even). Codes wrap within 8 bits, which keeps their parity, so every shift can be
// undone, also for the codes near 255.
void ScrambleName(std::string& text, bool reverse);

// After the supervisor confirms the warning, scrambles the name of every record still
// marked "0" and marks it "1", saving each record at once. A record whose save fails ends
// the run there: the box says the error and which clients' names were deleted and which
// were not; memory keeps that record as the file holds it, and a later run carries on.
void DeleteClientNames(app::ClientStore& store, app::MessageBoxes& boxes);

inline constexpr const char* kDeleteNamesWarning =
    "You are about to delete the Client Name from\r"
    "all tests on this diskette. This should not be done\r"
    "until you have printed all reports and are finished\r"
    "with this diskette and ready to return it.\r"
    "\r"
    "Are you SURE you want to do this?";
inline constexpr const char* kProcessComplete = "Process complete. Press Enter to continue.";

}  // namespace kcs::menus
