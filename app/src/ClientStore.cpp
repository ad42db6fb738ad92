#include "kcs/app/ClientStore.h"

#include <algorithm>
#include <stdexcept>

#include "kcs/common/RunError.h"

namespace kcs::app {

void ClientStore::useDrive(std::string designation, std::filesystem::path clientFile, char publisherFlag,
                           const records::ClientTable& table, const records::LoadReport& load) {
    dataPath_ = std::move(designation);
    clientFile_ = std::move(clientFile);
    publisherFlag_ = publisherFlag;
    table_ = table;
    lastLoad_ = load;
}

void ClientStore::reload() {
    records::ClientTable fresh;
    lastLoad_ = records::LoadClients(fresh, clientFile_);
    table_ = fresh;
}

bool ClientStore::select(std::int16_t slot) {
    if (slot < 0 || slot > table_.NumClients) return false;
    table_.CurClient = slot;
    return true;
}

const records::ClientRecord& ClientStore::record(std::int16_t slot) const {
    if (slot < 1 || slot > table_.NumClients)
        throw std::out_of_range("client " + std::to_string(slot) + " is not on this data disk");
    return table_.Clients[static_cast<std::size_t>(slot)];
}

void ClientStore::save(std::int16_t slot, const records::ClientRecord& record) {
    const bool adding = slot == table_.NumClients + 1;
    if (slot < 1 || slot > table_.NumClients + 1 || slot > records::kMaxClients)
        throw std::out_of_range("client " + std::to_string(slot) + " cannot be saved on this data disk");
    records::ClientTable next = table_;
    next.Clients[static_cast<std::size_t>(slot)] = record;
    try {
        records::SaveClient(next, slot, clientFile_);
    } catch (const RunError&) {
        // The file holds the old record or the whole new one (a failure after the new file
        // took the old one's place); memory follows it. A drive that cannot even be read
        // keeps what memory held.
        try {
            reload();
            table_.CurClient = std::min<std::int16_t>(next.CurClient, table_.NumClients);
        } catch (const RunError&) {
        }
        throw;
    }
    if (adding) {
        next.NumClients = slot;
        next.CurClient = slot;
    }
    table_ = next;
}

void ClientStore::update(std::int16_t slot, const records::ClientRecord& record) {
    if (slot < 1 || slot > table_.NumClients)
        throw std::out_of_range("client " + std::to_string(slot) + " is not on this data disk");
    save(slot, record);
}

std::int16_t ClientStore::add(const records::ClientRecord& record) {
    const auto slot = static_cast<std::int16_t>(table_.NumClients + 1);
    save(slot, record);
    return slot;
}

}  // namespace kcs::app
