#include "kcs/app/ClientStore.h"

#include <stdexcept>

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

void ClientStore::update(std::int16_t slot, const records::ClientRecord& record) {
    if (slot < 1 || slot > table_.NumClients)
        throw std::out_of_range("client " + std::to_string(slot) + " is not on this data disk");
    records::ClientTable next = table_;
    next.Clients[static_cast<std::size_t>(slot)] = record;
    records::SaveClient(next, slot, clientFile_);
    table_ = next;
}

std::int16_t ClientStore::add(const records::ClientRecord& record) {
    if (full()) throw std::length_error("this data disk already holds the most clients it can");
    const auto slot = static_cast<std::int16_t>(table_.NumClients + 1);
    records::ClientTable next = table_;
    next.Clients[static_cast<std::size_t>(slot)] = record;
    records::SaveClient(next, slot, clientFile_);
    next.NumClients = slot;
    next.CurClient = slot;
    table_ = next;
    return slot;
}

}  // namespace kcs::app
