#pragma once
// No error ends the program from inside a screen: whatever escapes a handler (a run-time
// error, a damaged data file, anything else) is shown as the program's "Error N:..." box
// and the screen carries on.

#include <QApplication>
#include <functional>

#include "kcs/app/Services.h"

namespace kcs::ui {

// Runs `action`; an error escaping it is shown on `boxes`. False when one was shown.
bool guarded(app::MessageBoxes& boxes, const std::function<void()>& action);

// The application object of the program and its screen tests: the last net under every
// event handler, for errors a screen's own guard did not catch.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    // Where escaped errors are shown (the program's message boxes).
    static void setErrorBoxes(app::MessageBoxes* boxes);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace kcs::ui
