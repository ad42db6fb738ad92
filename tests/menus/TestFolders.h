#pragma once
// Throw-away program folders and data drives for the screen tests.

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "kcs/app/ProgramState.h"
#include "kcs/records/ClientFile.h"

namespace kcs::testutil {

namespace fs = std::filesystem;

inline void writeText(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
}

inline std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A client record with only its name (Windows-1252 bytes) set.
inline records::ClientRecord recordNamed(const std::string& cp1252Name) {
    records::ClientRecord r;
    r.set(records::Field::Name, cp1252Name);
    return r;
}

// A data drive folder: identity file with `tag` (and publisher flag) and the clients.
inline void makeDrive(const fs::path& folder, const std::vector<std::string>& names,
                      const std::string& tag = "KCS", char publisher = 'b') {
    fs::create_directories(folder);
    writeText(folder / "TID", tag + "\r\n" + std::string(1, publisher) + "\r\n");
    std::string bytes;
    for (const auto& n : names) {
        const auto r = recordNamed(n);
        bytes.append(r.bytes().data(), r.bytes().size());
    }
    writeText(folder / records::kClientFileName, bytes);
}

// A program folder with a settings file naming `filePath` as the data drive.
struct ProgramFolder {
    QTemporaryDir dir;
    fs::path path() const { return fs::path(dir.path().toStdString()); }
    fs::path ini() const { return path() / "kcstest.ini"; }
    void writeSettings(const std::string& filePath, const std::string& extra = "") const {
        writeText(ini(), "[Path]\r\nFilePath=" + filePath + "\r\nSndPath=.\r\n[Settings]\r\n" + extra);
    }
};

}  // namespace kcs::testutil
