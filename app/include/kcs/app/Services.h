#pragma once
// What the program asks of the world around it, as small interfaces: message boxes, the
// bell, today's date, sound and the printer. The program builds the real ones once;
// tests build fakes (one line, see the test support library). The screens reach these
// through the services bundle, the flows through the pieces they need.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>
#include <exception>

#include "kcs/report/PrintReport.h"

namespace kcs::app {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgAnswer { Ok, Cancel, Yes, No };

// The answer of a box closed without a button: Cancel (OkCancel), No (YesNo) or Ok.
MsgAnswer escapeAnswer(MsgButtons buttons);

// A message box as a form asks its screen to show it.
struct Message {
    std::string text;
    std::string title;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

// Every message box of the program. Texts are UTF-8 and exactly as the program words
// them: a line break inside a message may be a carriage return alone or CR LF.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MsgAnswer message(const std::string& text, const std::string& title, MsgIcon icon,
                              MsgButtons buttons) = 0;
    MsgAnswer show(const Message& m) { return message(m.text, m.title, m.icon, m.buttons); }
};

// "Error " + number + ":" + description, the box of any error nothing else handles.
std::string runErrorText(int number, std::string_view description);
void showRunError(MessageBoxes& boxes, int number, std::string_view description);
// The number and description of any exception: a run-time error's own, a data file's
// (DataError carries the file's error number), 51 for anything else.
void showError(MessageBoxes& boxes, const std::exception& error);
// The same "Error N:..." text without showing it.
std::string errorText(const std::exception& error);

class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

struct Date {
    int year = 0, month = 0, day = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual Date today() const = 0;
};

// Wave files played one at a time in the background; a new one cuts the one playing off.
class AudioPlayer {
public:
    virtual ~AudioPlayer() = default;
    // False when the system has no audio output.
    virtual bool available() = 0;
    virtual void play(const std::filesystem::path& waveFile) = 0;
    virtual void stop() = 0;
};

// The system's default printer (defined beside the report printing that uses it).
using Printer = report::Printer;

}  // namespace kcs::app
