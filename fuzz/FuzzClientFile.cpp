// The client-file loader on any file content (after a first byte that picks the slot to
// save), then a save into it: the load must match the file byte for byte (blanks past its
// end), never touch the file, and a save must change exactly the one record.

#include "FuzzFolder.h"
#include "kcs/records/ClientFile.h"

using namespace kcs::records;

void kcs::fuzz::oneInput(const std::string& input) {
    if (input.empty()) return;
    const std::string content = input.substr(1);
    const auto file = place(kClientFileName, content);

    ClientTable table;
    const auto report = LoadClients(table, file);
    const long expected = static_cast<long>((content.size() + kRecordLength / 2) / kRecordLength);
    check(report.recordsInFile == expected && report.overCapacity == (expected > kMaxClients), "a wrong record count");
    check(table.NumClients == std::min<long>(expected, kMaxClients) && table.CurClient == (table.NumClients > 0 ? 1 : 0),
          "a wrong table");
    std::string loaded = content;
    loaded.resize(static_cast<std::size_t>(table.NumClients) * kRecordLength, ' ');
    for (std::size_t n = 1; n <= static_cast<std::size_t>(table.NumClients); ++n) {
        const auto& bytes = table.Clients[n].bytes();
        check(loaded.compare((n - 1) * kRecordLength, kRecordLength, bytes.data(), bytes.size()) == 0, "a record misread");
    }
    check(test::readFile(file) == content, "loading changed the file");

    // Save one slot, chosen by the first byte, with a record made of the input.
    const unsigned choice = static_cast<unsigned char>(input[0]);
    const int slot = 1 + static_cast<int>(choice % static_cast<unsigned>(std::min(table.NumClients + 1, kMaxClients)));
    ClientRecord::Bytes fresh;
    for (std::size_t i = 0; i < fresh.size(); ++i) fresh[i] = content.empty() ? 'x' : content[(i * 7) % content.size()];
    table.Clients[static_cast<std::size_t>(slot)] = ClientRecord::fromBytes(fresh);
    SaveClient(table, static_cast<std::int16_t>(slot), file);

    // The file as it was, the records in memory up to the slot, the fresh one in it.
    const std::size_t offset = static_cast<std::size_t>(slot - 1) * kRecordLength;
    std::string saved = content;
    for (std::size_t i = content.size(); i < offset; ++i)
        saved += table.Clients[i / kRecordLength + 1].bytes()[i % kRecordLength];
    saved.replace(offset, kRecordLength, fresh.data(), fresh.size());
    check(test::readFile(file) == saved, "a save that changed more or less than its record");
}
