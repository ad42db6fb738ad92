// The settings reader and writer on any file content: reading never fails, the value
// rules always hold, and writing a key reads back as written, leaves the other keys'
// values as they were, and writing it again changes nothing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "kcs/app/Settings.h"
#include "kcs/common/Text.h"
#include "kcs/test/Support.h"

using namespace kcs::app;

namespace {

const kcs::test::TempDir folder(kcs::test::memoryTempBase());

void check(bool ok) {
    if (!ok) std::abort();
}

struct Key {
    const char* section;
    const char* key;
};
constexpr Key kKeys[] = {
    {"Path", "FilePath"}, {"Path", "SndPath"}, {"Settings", "NumLock"}, {"Settings", "PrintDOS"},
    {"Options", "SystemDB"}, {"path", "FILEPATH"}, {"Other", "Key"},
};
constexpr std::size_t kKeyCount = sizeof kKeys / sizeof kKeys[0];

std::size_t characters(std::string_view v) {
    std::size_t n = 0;
    for (char c : v) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const Key& target = kKeys[data[0] % kKeyCount];
    const std::size_t valueLength = data[1] % 64;
    std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::string value(rest.substr(0, std::min(valueLength, rest.size())));
    const std::string text(rest.substr(std::min(valueLength, rest.size())));

    // The named settings through the file.
    const auto ini = folder / kSettingsFileName;
    kcs::test::writeFile(ini, text);
    Settings settings(ini);
    check(characters(settings.GetINIFilePath()) <= 49);
    check(characters(settings.GetINISndPath()) <= 49);
    (void)settings.GetININumLock();
    (void)settings.GetINIPrintDOS();

    std::string before[kKeyCount];
    bool had[kKeyCount];
    for (std::size_t i = 0; i < kKeyCount; ++i) {
        const auto v = iniLookup(text, kKeys[i].section, kKeys[i].key);
        had[i] = v.has_value();
        before[i] = v.value_or("");
    }

    std::string updated;
    try {
        updated = iniWithKey(text, target.section, target.key, value);
    } catch (const kcs::RunError&) {
        check(value.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos);
        return 0;
    }
    check(iniLookup(updated, target.section, target.key) == value);
    for (std::size_t i = 0; i < kKeyCount; ++i) {
        if (kcs::sameName(kKeys[i].section, target.section) && kcs::sameName(kKeys[i].key, target.key)) continue;
        const auto v = iniLookup(updated, kKeys[i].section, kKeys[i].key);
        check(v.has_value() == had[i] && v.value_or("") == before[i]);
    }
    check(iniWithKey(updated, target.section, target.key, value) == updated);

    // The same through the file, which must end up holding exactly the updated text.
    IniFile file(ini);
    file.set(target.section, target.key, value);
    check(kcs::test::readFile(ini) == updated);
    return 0;
}
