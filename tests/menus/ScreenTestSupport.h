#pragma once
// What the screen tests share: throw-away program folders and data drives, a drive that
// refuses writes, and the texts and looks of the data drive's message boxes.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "ScriptedDialogs.h"
#include "kcs/app/DataDrive.h"
#include "kcs/app/ProgramState.h"
#include "kcs/app/Settings.h"
#include "kcs/common/RunError.h"
#include "kcs/records/ClientFile.h"
#include "kcs/test/Clients.h"
#include "kcs/test/Support.h"

namespace kcs::testutil {

namespace fs = std::filesystem;
using menus::MsgAnswer;
using menus::MsgButtons;
using menus::MsgIcon;
using menus::testing::ScriptedDialogs;
using test::loadClients;
using test::makeDrive;
using test::readFile;
using test::writeFile;

// A program folder with a settings file naming `filePath` as the data drive.
struct ProgramFolder {
    QTemporaryDir dir;
    fs::path path() const { return fs::path(dir.path().toStdString()); }
    fs::path ini() const { return path() / "kcstest.ini"; }
    void writeSettings(const std::string& filePath, const std::string& extra = "") const {
        writeFile(ini(), "[Path]\r\nFilePath=" + filePath + "\r\nSndPath=.\r\n[Settings]\r\n" + extra);
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
