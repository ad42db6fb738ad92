// The Kestrel Conduct Screening desktop program. It takes no command-line options: the
// program folder is the folder of this executable, and the settings file there says
// where the data drive is.

#include "kcs/app/EngineSetup.h"
#include "kcs/app/ProgramFolder.h"
#include "kcs/common/RunError.h"
#include "kcs/program/RealServices.h"
#include "kcs/program/SingleInstance.h"
#include "kcs/program/StartUp.h"
#include "kcs/ui/ErrorGuard.h"

int main(int argc, char* argv[]) {
    kcs::ui::GuardedApplication app(argc, argv);
    kcs::program::configureApplication();
    kcs::program::RealServices real;
    kcs::ui::GuardedApplication::setErrorBoxes(&real.dialogs);

    std::filesystem::path folder;
    std::unique_ptr<kcs::program::SingleInstance> instance;
    try {
        // Beside the executable, or a folder of the user's own when it is installed.
        folder = kcs::app::locateProgramFolder(kcs::app::executableFolder()).folder;
        instance = std::make_unique<kcs::program::SingleInstance>(folder);
    } catch (const kcs::RunError& e) {
        kcs::app::showRunError(real.dialogs, e.number(), e.description());
        return 1;
    }

    // A second copy only asks the first one to show itself.
    if (!instance->becomePrimary()) return 0;

    kcs::program::StartUp startUp(folder, real.services);
    QObject::connect(instance.get(), &kcs::program::SingleInstance::raiseRequested, &startUp,
                     &kcs::program::StartUp::raiseWindow);
    QObject::connect(&startUp, &kcs::program::StartUp::ended, &app, &QApplication::quit, Qt::QueuedConnection);

    startUp.start();
    if (startUp.stage() == kcs::program::StartUp::Stage::Ended) return 0;
    QObject::connect(startUp.mainWindow(), &kcs::menus::frmMain::exitRequested, &app, &QApplication::quit);
    return app.exec();
}
