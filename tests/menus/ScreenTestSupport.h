#pragma once
// What the screen tests share: throw-away program folders and data drives, keys on the
// focused widget, and the texts and looks of the data drive's message boxes.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "kcs/app/ClientStore.h"
#include "kcs/app/Paths.h"
#include "kcs/app/Settings.h"
#include "kcs/test/FakeServices.h"
#include "kcs/records/ClientFile.h"
#include "kcs/test/Clients.h"
#include "kcs/test/Support.h"

namespace kcs::testutil {

namespace fs = std::filesystem;
using app::MsgAnswer;
using app::MsgButtons;
using app::MsgIcon;
using test::makeDrive;
using test::readFile;
using test::ScriptedDialogs;
using test::writeFile;

// A program folder with a settings file naming `filePath` as the data drive.
struct ProgramFolder {
    test::TempDir dir;
    fs::path path() const { return dir.path(); }
    fs::path ini() const { return path() / "kcstest.ini"; }
    void writeSettings(const std::string& filePath, const std::string& extra = "") const {
        writeFile(ini(), "[Path]\r\nFilePath=" + filePath + "\r\nSndPath=.\r\n[Settings]\r\n" + extra);
    }
};

// A program folder with its settings and paths, a client store, and every service faked.
struct ProgramFixture : ::testing::Test {
    ProgramFolder folder;
    app::Settings settings{folder.ini()};
    app::Paths paths = app::Paths::of(folder.path());
    app::ClientStore store;
    test::FakeServices fake;
    ScriptedDialogs& dialogs = fake.dialogs;

    // The store works on a drive "disk" in the program folder holding these records.
    void useRecords(const std::vector<records::ClientRecord>& clients) {
        const fs::path file = folder.path() / "disk" / records::kClientFileName;
        makeDrive(folder.path() / "disk", {});
        writeFile(file, test::clientFileBytes(clients));
        records::ClientTable table;
        const auto load = records::LoadClients(table, file);
        store.useDrive("disk", file, 'b', table, load);
    }
    void useClients(const std::vector<std::string>& names) { useRecords(test::recordsNamed(names)); }
    // The client records as the drive holds them now.
    records::ClientTable onDrive() const {
        records::ClientTable table;
        records::LoadClients(table, store.ClientFilePath());
        return table;
    }
};

// The widget with the keyboard focus, and a key pressed on it.
inline QWidget* focused() { return QApplication::focusWidget(); }
inline void key(Qt::Key k, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(focused(), k, mods); }
// Shows a modeless screen as the active window and lets it take the keyboard.
inline void openScreen(QWidget& window) {
    window.show();
    window.activateWindow();
    QApplication::processEvents();
}

// In the drive chooser: picks the entry for `designation` with the keyboard, then Done.
inline void chooseDrive(QDialog& d, const QString& designation) {
    auto* list = d.findChild<QComboBox*>("drDrive");
    list->setFocus();
    for (int i = 0; i < list->count(); ++i) QTest::keyClick(list, Qt::Key_Up);
    while (list->currentData().toString() != designation && list->currentIndex() < list->count() - 1)
        QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentData().toString(), designation);
    QTest::keyClick(d.findChild<QPushButton*>("cmdDone"), Qt::Key_Space);
}

inline const std::string kWriteProtected =
    "Data disk write protected!\r\rSet the data disk to writable and replace in drive.";
inline const std::string kNotOurs = "This is not an Kestrel Conduct Screening data disk.";
inline const std::string kUnsuccessful = "Drive select unsuccessful, would you like to try again?";
inline const std::string kReloadFailed = "Reload of original data disk failed, aborting Program";
inline std::string notFoundOn(const std::string& drive) {
    return "No test information found on drive " + drive + ", would you like to try another drive?";
}

// The texts of the message boxes shown; each box must have the title, icon and buttons of
// its kind.
inline std::vector<std::string> driveMessages(const ScriptedDialogs& dialogs) {
    const std::string disk = "Data Disk Error";
    const test::ShownMessage looks[] = {
        {kWriteProtected, disk, MsgIcon::Critical, MsgButtons::OkCancel}, {kNotOurs, disk, MsgIcon::Critical, MsgButtons::Ok},
        {kUnsuccessful, "", MsgIcon::None, MsgButtons::YesNo}, {notFoundOn(""), "", MsgIcon::None, MsgButtons::YesNo},
        {kReloadFailed, "", MsgIcon::None, MsgButtons::Ok}, {"Error ", "", MsgIcon::None, MsgButtons::Ok}};
    for (const auto& m : dialogs.messages) {
        int kinds = 0;
        for (const auto& look : looks) {
            if (!m.text.starts_with(look.text.substr(0, look.text.find(',')))) continue;  // the drive varies
            ++kinds;
            EXPECT_EQ(m, (test::ShownMessage{m.text, look.title, look.icon, look.buttons}));
        }
        EXPECT_EQ(kinds, 1) << m.text;
    }
    return dialogs.texts();
}

}  // namespace kcs::testutil
