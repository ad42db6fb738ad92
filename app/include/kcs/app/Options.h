#pragma once
// The two options the supervisor switches from the main menu, kept in the settings file:
// Num Lock Always On and Print to DOS port. This is their one home; the screens read
// them here and a change is saved at once.

#include "kcs/app/Settings.h"

namespace kcs::app {

class Options {
public:
    explicit Options(Settings& settings) : settings_(settings) {}

    // Reads both from the settings file (missing keys read as on). Throws kcs::RunError.
    void read();

    bool NumLockOn() const { return numLockOn_; }
    bool PrintDOSFlag() const { return printDOS_; }

    // Flips the option in memory and saves it; when the save fails the option stays
    // flipped for this run and kcs::RunError is thrown for the caller to report.
    void toggleNumLock();
    void togglePrintDOS();

    Settings& settings() { return settings_; }

private:
    Settings& settings_;
    bool numLockOn_ = true;
    bool printDOS_ = true;
};

}  // namespace kcs::app
