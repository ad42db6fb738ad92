#pragma once
// The program's real services, made once: Qt message boxes and modal loops, the display's
// bell, the system date, sound, the default printer, the data drive's files, the mounted
// volumes and NumLock through the X keyboard extension.

#include "kcs/program/CupsPrinter.h"
#include "kcs/program/QtAudioPlayer.h"
#include "kcs/program/X11NumLock.h"
#include "kcs/ui/Services.h"

namespace kcs::program {

struct RealServices {
    ui::QtDialogs dialogs;
    ui::BellBeeper beeper;
    ui::SystemClock clock;
    QtAudioPlayer audio;
    CupsPrinter printer;
    app::DriveFiles drive;
    ui::MountedVolumes volumes;
    X11NumLock numLock;
    ui::Services services{dialogs, beeper, clock, audio, printer, drive, volumes, numLock};
};

}  // namespace kcs::program
