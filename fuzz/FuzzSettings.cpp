// The settings reader and writer on any file content: reading never fails, the value
// rules always hold, and writing a key reads back as written, leaves the other keys'
// values as they were, and writing it again changes nothing.

#include <utility>

#include "FuzzFolder.h"
#include "kcs/app/Settings.h"
#include "kcs/common/Text.h"

using namespace kcs::app;

namespace {

// Sections and keys: the program's own, another, and one spelt in another case.
constexpr std::pair<const char*, const char*> kKeys[] = {
    {"Path", "FilePath"}, {"Path", "SndPath"}, {"Settings", "NumLock"}, {"Settings", "PrintDOS"},
    {"Options", "SystemDB"}, {"path", "FILEPATH"}, {"Other", "Key"},
};

std::size_t characters(std::string_view v) {
    return std::ranges::count_if(v, [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

}  // namespace

void kcs::fuzz::oneInput(const std::string& input) {
    if (input.size() < 2) return;
    const auto [section, key] = kKeys[static_cast<unsigned char>(input[0]) % std::size(kKeys)];
    const std::string rest = input.substr(2);
    const std::size_t valueLength = std::min<std::size_t>(static_cast<unsigned char>(input[1]) % 64, rest.size());
    const std::string value = rest.substr(0, valueLength);
    const std::string text = rest.substr(valueLength);

    // The named settings through the file.
    const auto ini = place(kSettingsFileName, text);
    Settings settings(ini);
    check(characters(settings.GetINIFilePath()) <= 49 && characters(settings.GetINISndPath()) <= 49, "a path too long");
    (void)settings.GetININumLock();
    (void)settings.GetINIPrintDOS();

    std::string updated;
    try {
        updated = iniWithKey(text, section, key, value);
    } catch (const RunError&) {
        check(value.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos, "a value refused for nothing");
        return;
    }
    check(iniLookup(updated, section, key) == value, "a key written that does not read back");
    for (const auto& [s, k] : kKeys) {
        if (sameName(s, section) && sameName(k, key)) continue;
        check(iniLookup(updated, s, k) == iniLookup(text, s, k), "writing a key changed another one");
    }
    check(iniWithKey(updated, section, key, value) == updated, "writing a key again changed the text");

    // The same through the file, which must end up holding exactly the updated text.
    IniFile(ini).set(section, key, value);
    check(test::readFile(ini) == updated, "the file does not hold the updated text");
}
