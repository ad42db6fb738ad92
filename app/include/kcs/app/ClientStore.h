#pragma once
// The clients of the data drive in use: the in-memory table (Clients, NumClients,
// CurClient), the client file it was read from, and the drive's publisher flag.
//
// Memory always matches the file: a record changes in the table only after it has been
// saved durably, so a failed save leaves both as they were. The screens of a sequence
// work on their own copy of a record (see the flows) and hand it to update() or add().

#include <cstdint>
#include <filesystem>
#include <string>

#include "kcs/records/ClientFile.h"

namespace kcs::app {

class ClientStore {
public:
    // The drive in use: its designation as the supervisor chose it, its client file and
    // its publisher flag ('b' the first publisher's branding, anything else the second).
    const std::string& DataPath() const { return dataPath_; }
    const std::filesystem::path& ClientFilePath() const { return clientFile_; }
    char PublisherFlag() const { return publisherFlag_; }

    // Makes a drive the one in use with the records already read from its client file.
    void useDrive(std::string designation, std::filesystem::path clientFile, char publisherFlag,
                  const records::ClientTable& table, const records::LoadReport& load);
    // Reads every record of the client file again. Throws kcs::RunError.
    void reload();
    // What the last read of the client file found (over capacity, trailing bytes).
    const records::LoadReport& lastLoad() const { return lastLoad_; }

    const records::ClientTable& table() const { return table_; }
    std::int16_t NumClients() const { return table_.NumClients; }
    std::int16_t CurClient() const { return table_.CurClient; }
    // Makes a slot current (0: none). Slots beyond the table are refused (false).
    bool select(std::int16_t slot);
    // A stored record, slot 1..NumClients (std::out_of_range otherwise).
    const records::ClientRecord& record(std::int16_t slot) const;
    // True when the drive holds as many clients as the table can: no new client fits.
    bool full() const { return table_.NumClients >= records::kMaxClients; }

    // Saves `record` as record `slot`, durably, and then keeps it in memory: a stored
    // client (1..NumClients), or a new one (NumClients + 1, then counted and made
    // current). A slot beyond that, or a new client on a full drive, is refused with
    // std::out_of_range before anything is written. Throws kcs::RunError when the save
    // fails; memory is then read back from the file, which holds the old record or the
    // whole new one. Saving the same slot again is the way to try again: a new client
    // whose record did reach the file before the failure is not added a second time.
    void save(std::int16_t slot, const records::ClientRecord& record);
    // save() of a stored client.
    void update(std::int16_t slot, const records::ClientRecord& record);
    // save() of a new client as slot NumClients + 1; returns the slot.
    std::int16_t add(const records::ClientRecord& record);

private:
    std::string dataPath_;
    std::filesystem::path clientFile_;
    char publisherFlag_ = 'b';
    records::ClientTable table_;
    records::LoadReport lastLoad_;
};

}  // namespace kcs::app
