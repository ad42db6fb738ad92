#pragma once
// The rules of the supervisor options window and the print-selected window, without
// widgets.

#include <optional>
#include <string>
#include <vector>

#include "kcs/app/ClientStore.h"
#include "kcs/app/Services.h"
#include "kcs/report/ScoreAndReport.h"

namespace kcs::menus {

inline constexpr const char* kExecuteHelp = "Perform the selected operation.";
inline constexpr const char* kMainMenuHelp = "Close the Utilities window returning to the Main Menu.";
inline constexpr const char* kPrintOptionHelp = "Use the arrow keys or mouse to choose print operation.";

class SupervisorOptionsForm {
public:
    // The load step: the current client's name, or "No Clients" on a drive without any.
    explicit SupervisorOptionsForm(const app::ClientStore& store);

    // The activation step: on a drive without clients, the message to show before the
    // window closes again.
    std::optional<app::Message> activate() const;

    // What the window shows for a tab.
    struct TabView {
        std::string msgPanel;
        std::string nameDisplay;
        bool reselectPrintOption;  // the Reports tab selects the print option chosen before
    };
    // The tab control now shows `tab`: nullopt when that is the tab last handled.
    std::optional<TabView> tabChanged(int tab);

    void choosePrintOption(int index) { printOption_ = index; }
    int printOption() const { return printOption_; }
    int tab() const { return tab_; }
    bool noClients() const { return noClients_; }
    const std::string& nameDisplay() const { return nameDisplay_; }

private:
    std::string currentName() const;

    const app::ClientStore& store_;
    int tab_ = 0;
    int printOption_ = 0;
    bool noClients_ = true;
    std::string nameDisplay_ = "No Clients";
};

class PrintSelectedForm {
public:
    PrintSelectedForm(app::ClientStore& store, app::Printer& printer, report::ReportOptions options, bool printDOS)
        : store_(store), printer_(printer), options_(std::move(options)), printDOS_(printDOS) {}

    // One line per client: its number, "-", and its name field as stored (UTF-8).
    std::vector<std::string> lines() const;
    // The entry that is current once the list is filled: the first, so a list of one
    // client works like any other (-1: the list is empty).
    static int firstCurrent(std::size_t count) { return count > 0 ? 0 : -1; }
    // "Print Selected" may be used while the list's current text is not empty.
    static bool printEnabled(const std::string& currentText) { return !currentText.empty(); }
    // "Print Selected" with the list positions (from 0) that are selected, in list order:
    // every report is scored into its staging file, then all are printed; the last
    // selected client is current afterwards.
    void printSelected(const std::vector<int>& positions);

private:
    app::ClientStore& store_;
    app::Printer& printer_;
    report::ReportOptions options_;
    bool printDOS_;
};

}  // namespace kcs::menus
