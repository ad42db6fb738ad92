#pragma once
// The client file (DATA401.KCS) and the in-memory table of its records.
// Records are numbered from 1; record n sits at byte (n-1)*235. There is no header.

#include <cstdint>
#include <filesystem>
#include <string>

#include "kcs/records/ClientRecord.h"

namespace kcs::records {

inline constexpr int kMaxClients = 51;
inline constexpr const char* kClientFileName = "DATA401.KCS";

// Clients, NumClients and CurClient as the screens know them. Slot 0 is never used.
struct ClientTable {
    std::array<ClientRecord, kMaxClients + 1> Clients{};
    std::int16_t NumClients = 0;
    std::int16_t CurClient = 0;

    ClientRecord& current() { return Clients.at(static_cast<std::size_t>(CurClient)); }
    const ClientRecord& current() const { return Clients.at(static_cast<std::size_t>(CurClient)); }
};

struct LoadReport {
    // Records the file holds by the rounding rule (a trailing part of 118 bytes or more
    // counts as one record).
    long recordsInFile = 0;
    // Bytes after the last whole record (0 when the length is a multiple of 235).
    long trailingBytes = 0;
    // True when the file holds more records than the table can; only the first 51 were
    // loaded and the file was left exactly as it was.
    bool overCapacity = false;
};

// Replaces the whole table by the file's records and sets NumClients and CurClient.
// A missing file is created empty. The bytes of a counted trailing partial record that
// lie beyond the end of the file read as blanks. Throws kcs::RunError on a file error.
LoadReport LoadClients(ClientTable& table, const std::filesystem::path& clientFile);

// The words telling the supervisor that the disk holds more clients than can be used;
// empty when the load was complete.
std::string overCapacityMessage(const LoadReport& report);

// Writes slot `slot` of the table, all 235 bytes, to record `slot` of the file and makes
// it durable before returning. Only slots 1..51 and at most NumClients + 1 (an append)
// are accepted; anything else throws std::out_of_range and writes nothing. A process
// killed at any point leaves every other byte of the file as it was and the record
// either old or new. Throws kcs::RunError on a file error.
void SaveClient(const ClientTable& table, std::int16_t slot, const std::filesystem::path& clientFile);

// Blanks every field of the current slot in memory; the file is not touched.
void ClearCurrentClient(ClientTable& table);

}  // namespace kcs::records
