#pragma once
// The supervisor's operations, run by "Execute Selection" of the supervisor options: a
// report viewed or printed, several or all printed, the answers verified, the names
// deleted. The flow decides what happens; each screen is opened through the
// SupervisorScreens interface.

#include <cstdint>
#include <functional>
#include <string>

#include "kcs/app/ClientStore.h"
#include "kcs/app/Options.h"
#include "kcs/app/Paths.h"
#include "kcs/app/Services.h"
#include "kcs/report/ScoreAndReport.h"

namespace kcs::menus {

// The tabs of the supervisor options and the report operations of the first tab.
enum SupervisorTab { kReportsTab = 0, kVerifyTab = 1, kDeleteNamesTab = 2 };
enum PrintOption { kPrintCurrent = 0, kPrintSelected = 1, kPrintAll = 2 };

// Opens the screens of the supervisor's operations modally.
class SupervisorScreens {
public:
    virtual ~SupervisorScreens() = default;
    virtual bool askSecretCode() = 0;
    // The report viewer for the current client.
    virtual void viewReport(const report::ReportOptions& options) = 0;
    virtual void printSelected(const report::ReportOptions& options) = 0;
    // The verification of the current client's answers.
    virtual void verifyData() = 0;
    // Runs `work` with the hourglass showing.
    virtual void whileBusy(const std::function<void()>& work) { work(); }
};

class SupervisorFlows {
public:
    SupervisorFlows(app::ClientStore& store, SupervisorScreens& screens, app::MessageBoxes& boxes,
                    app::Printer& printer, const app::Paths& paths, const app::Options& options)
        : store_(store), screens_(screens), boxes_(boxes), printer_(printer), paths_(paths), options_(options) {}

    // "Execute Selection" on tab `tab`; `printOption` and `summaryPage` are the Reports
    // tab's choices. Every report operation asks for the secret code first.
    void execute(int tab, int printOption, bool summaryPage);

    // Print all: every client scored into its staging file, then every report printed in
    // client order; client 1 is current afterwards.
    void printAll(const report::ReportOptions& options);

    report::ReportOptions reportOptions(bool summaryPage) const;

private:
    void databaseEmpty(const std::string& title);

    app::ClientStore& store_;
    SupervisorScreens& screens_;
    app::MessageBoxes& boxes_;
    app::Printer& printer_;
    const app::Paths& paths_;
    const app::Options& options_;
};

}  // namespace kcs::menus
