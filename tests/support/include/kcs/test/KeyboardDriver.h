#pragma once
// Drives the program as a person at the keyboard does: real key presses through the X server
// (XTest) reach whatever window really has the focus. Steps run in order from a timer, also
// inside the program's modal loops: keys.window("...").press("Down").focus("...")...run().

#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>

namespace kcs::test {

class KeyboardDriver : public QObject {
public:
    KeyboardDriver();

    // Wait until the active window's title is exactly `title`; until the active window is
    // a message box whose text contains `part`; until the focus widget has this name.
    KeyboardDriver& window(const QString& title);
    KeyboardDriver& message(const QString& part);
    KeyboardDriver& focus(const QString& objectName);
    // Waits until `condition` holds; `what` names it in a failure.
    KeyboardDriver& until(const std::string& what, std::function<bool()> condition);
    // Runs `action` (checks with EXPECT_..., or anything else) when its turn comes.
    KeyboardDriver& then(std::function<void()> action);
    // Keys named as X keysyms, "+"-joined with modifiers: "Return", "Alt+Shift+F10", "3".
    KeyboardDriver& press(const QString& keys, int times = 1);
    // Types letters, digits and spaces.
    KeyboardDriver& type(const QString& text);

    // Runs the event loop until every step is done (true) or a step has waited in vain
    // for 20 s (false; failure() says which step and what the screen showed).
    bool run();
    const std::string& failure() const { return failure_; }

private:
    struct Step {
        std::string what;
        std::function<bool()> ready;  // null for an action step
        std::function<void()> action;
        bool isKey = false;
    };
    void tick();

    std::deque<Step> steps_;
    QTimer timer_;
    int waited_ = 0;
    std::string failure_;
};

// Every control that can take the keyboard in `window` has a name a screen reader reads
// out; returns the object names of those that have none.
std::vector<std::string> unnamedControls(const QWidget& window);

}  // namespace kcs::test
