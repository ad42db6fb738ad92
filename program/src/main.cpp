// The Kestrel Conduct Screening desktop program. It takes no command-line options: the
// program folder is the folder of this executable, and the settings file there says
// where the data drive is.

#include "kcs/app/EngineSetup.h"
#include "kcs/common/RunError.h"
#include "kcs/program/SingleInstance.h"
#include "kcs/program/StartUp.h"
#include "kcs/program/X11NumLock.h"
#include "kcs/ui/ErrorGuard.h"
#include "kcs/ui/Services.h"

namespace {

// Until sound and printing are wired in, the program has neither.
class NoAudio : public kcs::app::AudioPlayer {
public:
    bool available() override { return false; }
    void play(const std::filesystem::path&) override {}
    void stop() override {}
};

class NoPrinter : public kcs::app::Printer {
public:
    void printPages(const std::string&, const std::vector<std::string>&) override { refuse(); }
    void printRaw(const std::string&, const std::string&) override { refuse(); }

private:
    static void refuse() { throw kcs::RunError(kcs::err::DeviceUnavailable, "No printer is available."); }
};

}  // namespace

int main(int argc, char* argv[]) {
    kcs::ui::GuardedApplication app(argc, argv);
    kcs::program::configureApplication();

    // The real services, made once.
    kcs::ui::QtDialogs dialogs;
    kcs::ui::GuardedApplication::setErrorBoxes(&dialogs);
    kcs::ui::BellBeeper beeper;
    kcs::ui::SystemClock clock;
    NoAudio audio;
    NoPrinter printer;
    kcs::app::DriveFiles driveFiles;
    kcs::ui::MountedVolumes volumes;
    kcs::program::X11NumLock numLock;
    kcs::ui::Services services{dialogs, beeper, clock, audio, printer, driveFiles, volumes, numLock};

    std::filesystem::path folder;
    try {
        folder = kcs::app::executableFolder();
    } catch (const kcs::RunError& e) {
        kcs::app::showRunError(dialogs, e.number(), e.description());
        return 1;
    }

    // A second copy only asks the first one to show itself.
    kcs::program::SingleInstance instance(folder);
    if (!instance.becomePrimary()) return 0;

    kcs::program::StartUp startUp(folder, services);
    QObject::connect(&instance, &kcs::program::SingleInstance::raiseRequested, &startUp,
                     &kcs::program::StartUp::raiseWindow);
    QObject::connect(&startUp, &kcs::program::StartUp::ended, &app, &QApplication::quit, Qt::QueuedConnection);

    startUp.start();
    if (startUp.stage() == kcs::program::StartUp::Stage::Ended) return 0;
    QObject::connect(startUp.mainWindow(), &kcs::menus::frmMain::exitRequested, &app, &QApplication::quit);
    return app.exec();
}
