// `kcs` as the supervisor starts it, but without the splash's seven-second hold, printing
// wall-clock stamps (ns since the epoch) for the moments the benchmark measures:
//   splash_painted_ns  the splash's first paint
//   menu_ready_ns      the main menu takes input
//   peak_rss_kb        the peak resident memory at that point (VmHWM)
// Then it ends. Run it from a program folder with a settings file and a data drive.

#include <time.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <string>

#include "kcs/app/EngineSetup.h"
#include "kcs/app/ProgramFolder.h"
#include "kcs/menus/AboutBox.h"
#include "kcs/program/RealServices.h"
#include "kcs/program/SingleInstance.h"
#include "kcs/program/StartUp.h"

namespace {

long long nowNs() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

long peakRssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

class FirstPaint : public QObject {
public:
    long long at = 0;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && at == 0) at = nowNs();
        return QObject::eventFilter(o, e);
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    kcs::program::configureApplication();

    const auto folder = kcs::app::locateProgramFolder(kcs::app::executableFolder()).folder;
    kcs::program::SingleInstance instance(folder);
    if (!instance.becomePrimary()) {
        std::fprintf(stderr, "another copy of the program is running from this folder\n");
        return 2;
    }
    kcs::program::RealServices real;
    kcs::program::StartUp startUp(folder, real.services, /*splashHoldTicks=*/0);

    FirstPaint paint;
    QObject::connect(&startUp, &kcs::program::StartUp::splashShown, [&] {
        startUp.splash()->installEventFilter(&paint);
    });
    // exit(), not quit(): quit() asks the windows to close, and the main window turns that
    // into the program's own exit request instead of closing.
    QObject::connect(&startUp, &kcs::program::StartUp::ready, [&] {
        const long long ready = nowNs();
        std::printf("splash_painted_ns %lld\nmenu_ready_ns %lld\npeak_rss_kb %ld\n", paint.at, ready, peakRssKb());
        std::fflush(stdout);
        QTimer::singleShot(0, &app, [] { QApplication::exit(0); });
    });
    QObject::connect(&startUp, &kcs::program::StartUp::ended, [&] {
        std::fprintf(stderr, "start-up ended without a data drive\n");
        QTimer::singleShot(0, &app, [] { QApplication::exit(1); });
    });
    startUp.start();
    if (startUp.stage() == kcs::program::StartUp::Stage::Ended) return 1;
    return app.exec();
}
