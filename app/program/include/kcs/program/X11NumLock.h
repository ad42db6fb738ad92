#pragma once
// NumLock through the X keyboard extension. Where the program does not run on X11
// (Wayland, offscreen) setNumLock reports false and changes nothing.

#include "kcs/menus/MainWindow.h"

namespace kcs::program {

class X11NumLock : public menus::NumLockKey {
public:
    bool setNumLock(bool on) override;
};

}  // namespace kcs::program
