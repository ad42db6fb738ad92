#pragma once
// The program's composition root and everything between launching it and the main menu
// taking input: the engine and settings, the data drive, the splash, the client records,
// the options. It builds the program's objects once (client store, options, screens,
// flows, main window) from the services it is given.
//
// It runs as a chain of steps driven by the event loop: start() does the work up to
// showing the splash and returns; the splash's fadeDone() and closed() signals carry it
// on. ready() is emitted when the main menu takes input, ended() when start-up gave up
// (the supervisor cancelled, or an error that allows no retry) and the program must end.
// Tests drive the splash's ticks directly.

#include <QObject>
#include <QPointer>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "kcs/app/ClientStore.h"
#include "kcs/app/EngineSetup.h"
#include "kcs/app/Options.h"
#include "kcs/menus/AboutBox.h"
#include "kcs/menus/Flows.h"
#include "kcs/menus/MainWindow.h"
#include "kcs/ui/Services.h"

namespace kcs::program {

// The application's name, style and lifetime (it ends on request, not when the last
// window closes), as `kcs` and the start-up benchmark both set them.
void configureApplication();

class StartUp : public QObject {
    Q_OBJECT
public:
    enum class Stage { NotStarted, Splash, Ready, Ended };

    // `splashHoldTicks`: how long the splash stays once start-up is done, in one-second
    // ticks (7).
    StartUp(std::filesystem::path programFolder, ui::Services& services, int splashHoldTicks = 7,
            QObject* parent = nullptr);
    ~StartUp() override;

    void start();

    Stage stage() const { return stage_; }
    app::ClientStore& store() { return store_; }
    app::Options* options() { return options_ ? &*options_ : nullptr; }
    const app::Paths* paths() const { return prepared_ ? &prepared_->paths : nullptr; }
    menus::frmMain* mainWindow() const { return main_.get(); }
    menus::frmAbout* splash() const { return splash_; }

    // A later copy of the program asked for the window: restore and raise it.
    void raiseWindow();

signals:
    void splashShown();
    void ready();
    void ended();

private:
    // Runs one step under the start-up error handler; false when the program must end.
    bool runStep(const std::function<void()>& step);
    void afterFade();
    void afterSplash();
    void end();

    std::filesystem::path programFolder_;
    ui::Services& services_;
    int holdTicks_;

    Stage stage_ = Stage::NotStarted;
    std::optional<app::Prepared> prepared_;
    std::optional<app::Options> options_;
    app::ClientStore store_;
    std::unique_ptr<menus::Screens> screens_;
    std::unique_ptr<menus::ClientFlows> flows_;
    std::unique_ptr<menus::frmMain> main_;
    QPointer<menus::frmAbout> splash_;
};

}  // namespace kcs::program
