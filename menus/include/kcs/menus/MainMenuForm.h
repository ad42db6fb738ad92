#pragma once
// The main menu's rules, without widgets: the client list's lines, which client a line
// stands for, and when "Edit Current Client" and "Add New Client" may be used.

#include <string>
#include <vector>

#include "kcs/app/ClientStore.h"

namespace kcs::menus {

class MainMenuForm {
public:
    explicit MainMenuForm(app::ClientStore& store) : store_(store) {}

    // One line per client in record order: the record number, "-", and the 25-character
    // name exactly as stored (trailing blanks kept), as UTF-8. Every byte of the name is
    // shown as some character, so a scrambled name never fails.
    std::vector<std::string> listLines() const;
    // Rule E: "Edit Current Client" is usable while the list's current line is not empty.
    static bool editEnabled(const std::string& currentLine) { return !currentLine.empty(); }
    // A line was picked: the number before its "-" becomes the current client.
    void lineChosen(const std::string& line);
    bool addEnabled() const { return !store_.full(); }
    // The activation step's part: with no clients there is no current client.
    void activate();

private:
    app::ClientStore& store_;
};

}  // namespace kcs::menus
