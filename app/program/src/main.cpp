// The Kestrel Conduct Screening desktop program. It takes no command-line options: the
// program folder is the folder of this executable, and the settings file there says
// where the data drive is.

#include <QApplication>

#include "kcs/app/Startup.h"
#include "kcs/common/RunError.h"
#include "kcs/menus/Dialogs.h"
#include "kcs/menus/MainWindow.h"
#include "kcs/program/SingleInstance.h"
#include "kcs/program/StartUp.h"
#include "kcs/program/X11NumLock.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    kcs::program::configureApplication();

    kcs::menus::QtDialogs dialogs;
    std::filesystem::path folder;
    try {
        folder = kcs::app::executableFolder();
    } catch (const kcs::RunError& e) {
        kcs::menus::showRunError(dialogs, e);
        return 1;
    }

    // A second copy only asks the first one to show itself.
    kcs::program::SingleInstance instance(folder);
    if (!instance.becomePrimary()) return 0;

    kcs::program::X11NumLock numLock;
    kcs::program::StartUp startUp(folder, dialogs);
    startUp.setNumLockKey(&numLock);
    QObject::connect(&instance, &kcs::program::SingleInstance::raiseRequested, &startUp,
                     &kcs::program::StartUp::raiseWindow);
    QObject::connect(&startUp, &kcs::program::StartUp::ended, &app, &QApplication::quit, Qt::QueuedConnection);

    startUp.start();
    if (startUp.stage() == kcs::program::StartUp::Stage::Ended) return 0;
    QObject::connect(startUp.mainWindow(), &kcs::menus::frmMain::exitRequested, &app, &QApplication::quit);
    return app.exec();
}
