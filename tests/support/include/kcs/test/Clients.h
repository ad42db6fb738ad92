#pragma once
// Client records, tables and data drives made for a test.

#include <filesystem>
#include <string>
#include <vector>

#include "kcs/records/ClientFile.h"
#include "kcs/test/Support.h"

namespace kcs::test {

// Records with only their names (Windows-1252 bytes) set.
inline std::vector<records::ClientRecord> recordsNamed(const std::vector<std::string>& names) {
    std::vector<records::ClientRecord> clients(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) clients[i].set(records::Field::Name, names[i]);
    return clients;
}

// A table holding these clients, the first one current.
inline records::ClientTable tableOf(const std::vector<records::ClientRecord>& clients) {
    records::ClientTable t;
    for (std::size_t i = 0; i < clients.size(); ++i) t.Clients[i + 1] = clients[i];
    t.NumClients = static_cast<std::int16_t>(clients.size());
    t.CurClient = clients.empty() ? 0 : 1;
    return t;
}

// The client file holding these records.
inline std::string clientFileBytes(const std::vector<records::ClientRecord>& clients) {
    std::string bytes;
    for (const auto& c : clients) bytes.append(c.bytes().data(), c.bytes().size());
    return bytes;
}

// A data drive folder: identity file with `tag` and the publisher flag, and a client
// file of these names.
inline void makeDrive(const std::filesystem::path& folder, const std::vector<std::string>& names,
                      const std::string& tag = "KCS", char publisher = 'b') {
    std::filesystem::create_directories(folder);
    writeFile(folder / "TID", tag + "\r\n" + std::string(1, publisher) + "\r\n");
    writeFile(folder / records::kClientFileName, clientFileBytes(recordsNamed(names)));
}

}  // namespace kcs::test
