#include "kcs/menus/SupervisorForms.h"

#include "kcs/common/Cp1252.h"
#include "kcs/menus/MainMenuForm.h"
#include "kcs/report/PrintReport.h"

namespace kcs::menus {

SupervisorOptionsForm::SupervisorOptionsForm(const app::ClientStore& store) : store_(store) {
    if (store_.NumClients() >= 1) {
        nameDisplay_ = currentName();
        noClients_ = false;
    }
}

std::string SupervisorOptionsForm::currentName() const {
    const std::int16_t slot = store_.CurClient();
    if (slot < 1 || slot > store_.NumClients()) return {};
    return cp1252ToUtf8(store_.record(slot).raw(records::Field::Name));
}

std::optional<app::Message> SupervisorOptionsForm::activate() const {
    if (!noClients_) return std::nullopt;
    return app::Message{"There are no clients on this data disk.\r\nReturning to main menu.", "Empty Data Disk",
                        app::MsgIcon::Information, app::MsgButtons::Ok};
}

std::optional<SupervisorOptionsForm::TabView> SupervisorOptionsForm::tabChanged(int tab) {
    if (tab == tab_) return std::nullopt;
    tab_ = tab;
    switch (tab) {
    case 1: return TabView{"Click Execute to perform data verification.", currentName(), false};
    case 2: return TabView{"Click Execute to perform delete names operation.", "All Clients", false};
    default: return TabView{"", currentName(), true};
    }
}

std::vector<std::string> PrintSelectedForm::lines() const {
    return MainMenuForm(store_).listLines();
}

void PrintSelectedForm::printSelected(const std::vector<int>& positions) {
    if (positions.empty()) return;
    std::vector<std::int16_t> clients;
    for (int p : positions) clients.push_back(static_cast<std::int16_t>(p + 1));
    report::PrintReports(store_.table(), clients, options_, printDOS_, printer_);
    store_.select(clients.back());
}

}  // namespace kcs::menus
