#include <QApplication>

#include "kcs/administration/Verify.h"
#include "kcs/menus/ReportScreens.h"
#include "kcs/menus/SupervisorFlows.h"
#include "kcs/menus/SupervisorOptions.h"
#include "kcs/program/ProgramScreens.h"
#include "kcs/ui/InputBox.h"
#include "kcs/ui/ScreenConventions.h"

namespace kcs::program {

namespace {

// The window that has the keyboard now: each screen opens over it.
QWidget* topWindow() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

// The real screens of the supervisor's operations.
class SupervisorOpener : public menus::SupervisorScreens {
public:
    SupervisorOpener(app::ClientStore& store, const app::Options& options, ui::Services& services)
        : store_(store), options_(options), services_(services) {}

    bool askSecretCode() override { return ui::AskSecretCode(services_.dialogs, topWindow()); }

    void viewReport(const report::ReportOptions& options) override {
        menus::frmViewReport viewer(store_, options, options_.PrintDOSFlag(), services_, topWindow());
        services_.dialogs.execModal(viewer);
    }

    void printSelected(const report::ReportOptions& options) override {
        menus::frmPrintSelected window(store_, options, options_.PrintDOSFlag(), services_, topWindow());
        services_.dialogs.execModal(window);
    }

    void verifyData() override {
        administration::frmVerify window(store_, store_.CurClient(), services_, topWindow());
        services_.dialogs.execModal(window);
    }

    void whileBusy(const std::function<void()>& work) override {
        ui::Hourglass wait;
        work();
    }

private:
    app::ClientStore& store_;
    const app::Options& options_;
    ui::Services& services_;
};

}  // namespace

void ProgramScreens::supervisorOptions() {
    SupervisorOpener opener(store_, options_, services_);
    menus::SupervisorFlows flows(store_, opener, services_.dialogs, services_.printer, paths_, options_);
    menus::frmSupervisorOptions window(store_, flows, services_, owner());
    services_.dialogs.execModal(window);
}

}  // namespace kcs::program
