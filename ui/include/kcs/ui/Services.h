#pragma once
// The services bundle: everything a screen needs from outside itself, made once by the
// program and handed to each screen. Tests build one from fakes in one line (see the
// test support library).

#include <QString>
#include <vector>

#include "kcs/app/DataDrive.h"
#include "kcs/app/Services.h"
#include "kcs/ui/Dialogs.h"

namespace kcs::ui {

// Holds the keyboard's NumLock state where the window system allows it.
class NumLockKey {
public:
    virtual ~NumLockKey() = default;
    // Sets NumLock on or off; false where the window system does not allow it.
    virtual bool setNumLock(bool on) = 0;
};

// One entry of the drive chooser's list: what the list shows and the designation it
// stands for.
struct DriveEntry {
    QString label;        // e.g. "/media/ann/KCSDISK  [KCSDISK]"
    QString designation;  // e.g. "/media/ann/KCSDISK"
};

// The computer's drives worth offering as data drives.
class Volumes {
public:
    virtual ~Volumes() = default;
    virtual std::vector<DriveEntry> list() = 0;
};

struct Services {
    Dialogs& dialogs;          // message boxes and modal screens
    app::Beeper& beeper;       // the display's bell
    app::Clock& clock;         // today's date
    app::AudioPlayer& audio;   // spoken statements
    app::Printer& printer;     // the default printer
    app::DriveFiles& drive;    // the data drive's file operations
    Volumes& volumes;          // drives offered by the drive chooser
    NumLockKey& numLock;       // the NumLock key
};

// The real ones that need nothing but Qt and the system.
class BellBeeper : public app::Beeper {
public:
    void beep() override;
};

class SystemClock : public app::Clock {
public:
    app::Date today() const override;
};

// Mounted volumes with their labels; pseudo and system file systems are left out.
class MountedVolumes : public Volumes {
public:
    std::vector<DriveEntry> list() override;
};

}  // namespace kcs::ui
