#include "kcs/menus/MainMenuForm.h"

#include <charconv>

#include "kcs/common/Cp1252.h"

namespace kcs::menus {

std::vector<std::string> MainMenuForm::listLines() const {
    std::vector<std::string> lines;
    for (std::int16_t i = 1; i <= store_.NumClients(); ++i)
        lines.push_back(std::to_string(i) + "-" + cp1252ToUtf8(store_.record(i).raw(records::Field::Name)));
    return lines;
}

void MainMenuForm::lineChosen(const std::string& line) {
    const auto dash = line.find('-');
    if (line.empty() || dash == std::string::npos) return;
    int number = 0;
    const auto [end, ec] = std::from_chars(line.data(), line.data() + dash, number);
    if (ec == std::errc() && end == line.data() + dash) store_.select(static_cast<std::int16_t>(number));
}

void MainMenuForm::activate() {
    if (store_.NumClients() == 0) store_.select(0);
}

}  // namespace kcs::menus
