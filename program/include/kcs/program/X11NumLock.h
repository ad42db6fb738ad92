#pragma once
// NumLock through the X keyboard extension. Where the program does not run on X11
// (Wayland, offscreen) setNumLock reports false and changes nothing.

#include "kcs/ui/Services.h"

namespace kcs::program {

class X11NumLock : public ui::NumLockKey {
public:
    bool setNumLock(bool on) override;
};

}  // namespace kcs::program
