// The client-file loader on any file content, then a save into it: the load must match
// the file byte for byte (blanks past its end), never touch the file, and a save must
// change exactly the one record.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "kcs/records/ClientFile.h"
#include "kcs/test/Support.h"

using namespace kcs::records;
using kcs::test::readFile;

namespace {

const kcs::test::TempDir folder(kcs::test::memoryTempBase());

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const unsigned choice = data[0];
    const std::string content(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto file = folder / kClientFileName;
    kcs::test::writeFile(file, content);

    ClientTable table;
    const auto report = LoadClients(table, file);
    const long expected = static_cast<long>((content.size() + kRecordLength / 2) / kRecordLength);
    check(report.recordsInFile == expected);
    check(report.overCapacity == (expected > kMaxClients));
    check(table.NumClients == std::min<long>(expected, kMaxClients));
    check(table.CurClient == (table.NumClients > 0 ? 1 : 0));
    for (int n = 1; n <= table.NumClients; ++n) {
        const auto& bytes = table.Clients[static_cast<std::size_t>(n)].bytes();
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const std::size_t pos = static_cast<std::size_t>(n - 1) * kRecordLength + i;
            check(bytes[i] == (pos < content.size() ? content[pos] : ' '));
        }
    }
    check(readFile(file) == content);

    // Save one slot, chosen by the first byte, with a record made of the input.
    const int slot = 1 + static_cast<int>(choice % static_cast<unsigned>(std::min(table.NumClients + 1, kMaxClients)));
    ClientRecord::Bytes fresh;
    for (std::size_t i = 0; i < fresh.size(); ++i) fresh[i] = content.empty() ? 'x' : content[(i * 7) % content.size()];
    table.Clients[static_cast<std::size_t>(slot)] = ClientRecord::fromBytes(fresh);
    SaveClient(table, static_cast<std::int16_t>(slot), file);

    const std::string after = readFile(file);
    const std::size_t offset = static_cast<std::size_t>(slot - 1) * kRecordLength;
    check(after.size() == std::max(content.size(), offset + kRecordLength));
    check(after.compare(offset, kRecordLength, std::string(fresh.begin(), fresh.end())) == 0);
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i >= offset && i < offset + kRecordLength) continue;
        if (i < content.size()) check(after[i] == content[i]);
        else check(after[i] == table.Clients[i / kRecordLength + 1].bytes()[i % kRecordLength]);
    }
    return 0;
}
