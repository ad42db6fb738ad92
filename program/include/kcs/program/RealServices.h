#pragma once
// The program's real services, made once: Qt message boxes and modal loops, the display's
// bell, the system date, sound, the default printer, the data drive's files, the mounted
// volumes and NumLock through the X keyboard extension.

#include "kcs/program/X11NumLock.h"
#include "kcs/ui/Services.h"

namespace kcs::program {

// Until sound and printing are wired in, the program has neither.
class NoAudio : public app::AudioPlayer {
public:
    bool available() override { return false; }
    void play(const std::filesystem::path&) override {}
    void stop() override {}
};

class NoPrinter : public app::Printer {
public:
    void printPages(const std::string&, const std::vector<std::string>&) override;
    void printRaw(const std::string&, const std::string&) override;
};

struct RealServices {
    ui::QtDialogs dialogs;
    ui::BellBeeper beeper;
    ui::SystemClock clock;
    NoAudio audio;
    NoPrinter printer;
    app::DriveFiles drive;
    ui::MountedVolumes volumes;
    X11NumLock numLock;
    ui::Services services{dialogs, beeper, clock, audio, printer, drive, volumes, numLock};
};

}  // namespace kcs::program
