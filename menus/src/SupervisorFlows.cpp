#include "kcs/menus/SupervisorFlows.h"

#include <numeric>
#include <vector>

#include "kcs/menus/DelNames.h"
#include "kcs/report/PrintReport.h"

namespace kcs::menus {

report::ReportOptions SupervisorFlows::reportOptions(bool summaryPage) const {
    return {paths_.ProgramFolder, store_.PublisherFlag(), summaryPage};
}

void SupervisorFlows::databaseEmpty(const std::string& title) {
    boxes_.message("Database empty.\r\nCannot perform this function.", title, app::MsgIcon::Information,
                   app::MsgButtons::Ok);
}

void SupervisorFlows::execute(int tab, int printOption, bool summaryPage) {
    const bool none = store_.NumClients() < 1;
    switch (tab) {
    case kReportsTab: {
        if (none) return databaseEmpty("Print Report");
        if (!screens_.askSecretCode()) return;
        const auto options = reportOptions(summaryPage);
        if (printOption == kPrintCurrent) screens_.viewReport(options);
        else if (printOption == kPrintSelected) screens_.printSelected(options);
        else if (printOption == kPrintAll) printAll(options);
        return;
    }
    case kVerifyTab:
        if (none) return databaseEmpty("Verify Data");
        screens_.verifyData();
        return;
    case kDeleteNamesTab:
        if (none) return databaseEmpty("Delete Names");
        DeleteClientNames(store_, boxes_);
        return;
    default:
        return;
    }
}

void SupervisorFlows::printAll(const report::ReportOptions& options) {
    std::vector<std::int16_t> clients(static_cast<std::size_t>(store_.NumClients()));
    std::iota(clients.begin(), clients.end(), std::int16_t{1});
    screens_.whileBusy(
        [&] { report::PrintReports(store_.table(), clients, options, options_.PrintDOSFlag(), printer_); });
    store_.select(1);
}

}  // namespace kcs::menus
