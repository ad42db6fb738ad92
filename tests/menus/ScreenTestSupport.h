#pragma once
// What the screen tests share: throw-away program folders and data drives, a drive that
// refuses writes, and the texts and looks of the data drive's message boxes.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "ScriptedDialogs.h"
#include "kcs/app/DataDrive.h"
#include "kcs/app/ProgramState.h"
#include "kcs/app/Settings.h"
#include "kcs/common/RunError.h"
#include "kcs/records/ClientFile.h"

namespace kcs::testutil {

namespace fs = std::filesystem;
using menus::MsgAnswer;
using menus::MsgButtons;
using menus::MsgIcon;
using menus::testing::ScriptedDialogs;

inline void writeText(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
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

// The table holding clients of these names, the first one current.
inline void loadClients(records::ClientTable& table, const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) table.Clients[i + 1] = recordNamed(names[i]);
    table.NumClients = static_cast<std::int16_t>(names.size());
    table.CurClient = names.empty() ? 0 : 1;
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

// A program folder, the program's state and settings, and scripted message boxes.
struct ProgramFixture : ::testing::Test {
    ProgramFolder folder;
    app::ProgramState state;
    app::Settings settings{folder.ini()};
    ScriptedDialogs dialogs;
    ProgramFixture() {
        state.ProgramFolder = folder.path();
        state.IniPath = folder.ini();
    }
};

// A drive whose write test fails as on a write-protected disk while `protectedTries` > 0.
struct ProtectedFiles : app::DriveFiles {
    int protectedTries = 0;
    void writeFile(const fs::path& file, std::string_view content) override {
        if (protectedTries > 0) {
            --protectedTries;
            throw RunError(err::PermissionDenied, "Permission denied");
        }
        app::DriveFiles::writeFile(file, content);
    }
};

inline const QString kWriteProtected =
    QStringLiteral("Data disk write protected!\r\rSet the data disk to writable and replace in drive.");
inline const QString kNotOurs = QStringLiteral("This is not an Kestrel Conduct Screening data disk.");
inline const QString kUnsuccessful = QStringLiteral("Drive select unsuccessful, would you like to try again?");
inline const QString kReloadFailed = QStringLiteral("Reload of original data disk failed, aborting Program");
inline QString notFoundOn(const char* drive) {
    return QStringLiteral("No test information found on drive %1, would you like to try another drive?").arg(drive);
}

// The texts of the message boxes shown; each box must have the title, icon and buttons of
// its kind.
inline QStringList driveMessages(const ScriptedDialogs& dialogs) {
    const QString disk = QStringLiteral("Data Disk Error");
    const std::tuple<QString, QString, MsgIcon, MsgButtons> looks[] = {
        {kWriteProtected, disk, MsgIcon::Critical, MsgButtons::OkCancel}, {kNotOurs, disk, MsgIcon::Critical, MsgButtons::Ok},
        {kUnsuccessful, "", MsgIcon::None, MsgButtons::YesNo}, {notFoundOn(""), "", MsgIcon::None, MsgButtons::YesNo},
        {kReloadFailed, "", MsgIcon::None, MsgButtons::Ok}, {"Error ", "", MsgIcon::None, MsgButtons::Ok}};
    for (const auto& m : dialogs.messages) {
        int kinds = 0;
        for (const auto& [text, title, icon, buttons] : looks) {
            if (!m.text.startsWith(text.section(QLatin1Char(','), 0, 0))) continue;  // the drive varies
            ++kinds;
            EXPECT_TRUE(m.title == title && m.icon == icon && m.buttons == buttons) << m.text.toStdString();
        }
        EXPECT_EQ(kinds, 1) << m.text.toStdString();
    }
    return dialogs.texts();
}

}  // namespace kcs::testutil
