#pragma once
// The services bundle made of fakes, for screen and flow tests: scripted message boxes and
// modal screens, and the other services recording what they were given (fake.services).

#include <QDialog>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "kcs/app/DataDrive.h"
#include "kcs/common/RunError.h"
#include "kcs/ui/Dialogs.h"
#include "kcs/ui/Services.h"

namespace kcs::test {

using app::MsgAnswer;
using app::MsgButtons;
using app::MsgIcon;

struct ShownMessage {
    std::string text;
    std::string title;
    MsgIcon icon;
    MsgButtons buttons;
    bool operator==(const ShownMessage&) const = default;
    friend void PrintTo(const ShownMessage& m, std::ostream* os) {
        *os << '"' << m.text << "\" titled \"" << m.title << "\", icon " << static_cast<int>(m.icon) << ", buttons "
            << static_cast<int>(m.buttons);
    }
};

// Message boxes are recorded and answered from a queue; modal screens are shown (not run
// in a nested loop) and handed to a script registered for the screen's object name, which
// drives the real widgets with key events and closes them.
class ScriptedDialogs : public ui::Dialogs {
public:
    using Script = std::function<void(QDialog&)>;
    using ui::Dialogs::message;

    // Answers for the next message boxes, in order; when none is left, the escape answer.
    void answer(MsgAnswer a) { answers_.push_back(a); }
    // The next modal showing of the screen named `objectName` runs `script`. A screen
    // shown without a script, or left open by its script, is rejected.
    void onModal(const std::string& objectName, Script script) { scripts_[objectName].push_back(std::move(script)); }

    MsgAnswer message(const std::string& text, const std::string& title, MsgIcon icon, MsgButtons buttons) override;
    int execModal(QDialog& dialog) override;

    std::vector<ShownMessage> messages;
    std::vector<std::string> modalsShown;
    std::size_t answersLeft() const { return answers_.size(); }
    std::vector<std::string> texts() const;

private:
    std::deque<MsgAnswer> answers_;
    std::map<std::string, std::deque<Script>> scripts_;
};

struct CountingBeeper : app::Beeper {
    int beeps = 0;
    void beep() override { ++beeps; }
};

struct FixedClock : app::Clock {
    app::Date date{2026, 12, 6};
    app::Date today() const override { return date; }
};

struct RecordingAudio : app::AudioPlayer {
    bool present = true;
    std::vector<std::filesystem::path> played;
    bool available() override { return present; }
    void play(const std::filesystem::path& file) override { played.push_back(file); }
    void stop() override {}
};

struct RecordingPrinter : app::Printer {
    std::vector<std::string> jobs;  // the names of the jobs printed
    void printPages(const std::string& name, const std::vector<std::string>&) override { jobs.push_back(name); }
    void printRaw(const std::string& name, const std::string&) override { jobs.push_back(name); }
};

// The real drive operations, except that the write test fails as on a write-protected
// disk while `protectedTries` is above 0.
struct ProtectableDrive : app::DriveFiles {
    int protectedTries = 0;
    void writeFile(const std::filesystem::path& file, std::string_view content) override {
        if (protectedTries > 0) {
            --protectedTries;
            throw RunError(err::PermissionDenied, "Permission denied");
        }
        app::DriveFiles::writeFile(file, content);
    }
};

struct FixedVolumes : ui::Volumes {
    std::vector<ui::DriveEntry> entries;
    std::vector<ui::DriveEntry> list() override { return entries; }
};

struct RecordingNumLock : ui::NumLockKey {
    std::vector<bool> calls;
    bool setNumLock(bool on) override {
        calls.push_back(on);
        return true;
    }
};

struct FakeServices {
    ScriptedDialogs dialogs;
    CountingBeeper beeper;
    FixedClock clock;
    RecordingAudio audio;
    RecordingPrinter printer;
    ProtectableDrive drive;
    FixedVolumes volumes;
    RecordingNumLock numLock;
    ui::Services services{dialogs, beeper, clock, audio, printer, drive, volumes, numLock};
};

}  // namespace kcs::test
