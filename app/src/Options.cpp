#include "kcs/app/Options.h"

namespace kcs::app {

void Options::read() {
    const bool numLock = settings_.GetININumLock();
    const bool printDOS = settings_.GetINIPrintDOS();
    numLockOn_ = numLock;
    printDOS_ = printDOS;
}

void Options::toggleNumLock() {
    numLockOn_ = !numLockOn_;
    settings_.SaveININumLock(numLockOn_);
}

void Options::togglePrintDOS() {
    printDOS_ = !printDOS_;
    settings_.SaveINIPrintDOS(printDOS_);
}

}  // namespace kcs::app
