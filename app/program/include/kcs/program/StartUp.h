#pragma once
// Everything between launching the program and the main menu taking input: the engine
// and settings, the data drive, the splash, the client records, the options.
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

#include "kcs/app/ProgramState.h"
#include "kcs/app/Settings.h"
#include "kcs/app/Startup.h"
#include "kcs/menus/AboutBox.h"
#include "kcs/menus/MainWindow.h"

namespace kcs::program {

// The application's name, style and lifetime (it ends on request, not when the last
// window closes), as `kcs` and the start-up benchmark both set them.
void configureApplication();

class StartUp : public QObject {
    Q_OBJECT
public:
    enum class Stage { NotStarted, Splash, Ready, Ended };

    StartUp(std::filesystem::path programFolder, menus::Dialogs& dialogs, QObject* parent = nullptr);
    ~StartUp() override;

    // Seams set before start().
    void setNumLockKey(menus::NumLockKey* key) { numLockKey_ = key; }
    void setDriveFiles(app::DriveFiles* files) { driveFiles_ = files; }
    void setChooserFiller(std::function<void(menus::frmDriveSelect&)> fill) { chooserFiller_ = std::move(fill); }
    // How long the splash stays once start-up is done, in one-second ticks (7).
    void setSplashHoldTicks(int ticks) { holdTicks_ = ticks; }

    void start();

    Stage stage() const { return stage_; }
    app::ProgramState& state() { return state_; }
    app::Settings* settings() { return settings_ ? &*settings_ : nullptr; }
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
    menus::Dialogs& dialogs_;
    menus::NumLockKey* numLockKey_ = nullptr;
    app::DriveFiles* driveFiles_ = nullptr;
    std::function<void(menus::frmDriveSelect&)> chooserFiller_;
    int holdTicks_ = 7;

    Stage stage_ = Stage::NotStarted;
    app::ProgramState state_;
    std::optional<app::Settings> settings_;
    std::optional<app::BankSession> session_;
    std::unique_ptr<menus::frmMain> main_;
    QPointer<menus::frmAbout> splash_;
};

}  // namespace kcs::program
