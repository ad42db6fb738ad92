#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ScriptedDialogs.h"
#include "TestFolders.h"
#include "kcs/app/DataDrive.h"
#include "kcs/app/ProgramState.h"
#include "kcs/app/Settings.h"
#include "kcs/common/RunError.h"
#include "kcs/menus/DriveSelect.h"

using namespace kcs;
using namespace kcs::menus;
using kcs::menus::testing::ScriptedDialogs;

namespace {

// A drive whose write test fails as on a write-protected disk while `protectedTries` > 0.
struct ProtectedFiles : app::DriveFiles {
    int protectedTries = 0;
    void writeFile(const std::filesystem::path& file, std::string_view content) override {
        if (protectedTries > 0) {
            --protectedTries;
            throw RunError(err::PermissionDenied, "Permission denied");
        }
        app::DriveFiles::writeFile(file, content);
    }
};

const QString kUnsuccessful = QStringLiteral("Drive select unsuccessful, would you like to try again?");
const QString kNotOurs = QStringLiteral("This is not an Kestrel Conduct Screening data disk.");
const QString kReloadFailed = QStringLiteral("Reload of original data disk failed, aborting Program");

struct DriveFixture : ::testing::Test {
    testutil::ProgramFolder folder;
    app::ProgramState state;
    std::unique_ptr<app::Settings> settings;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmDriveSelect> chooser;
    ProtectedFiles files;
    int refreshes = 0;

    void SetUp() override {
        state.ProgramFolder = folder.path();
        state.IniPath = folder.ini();
        settings = std::make_unique<app::Settings>(folder.ini());
        chooser = std::make_unique<frmDriveSelect>(dialogs);
        testutil::makeDrive(folder.path() / "good", {"Ann Lee", "Bob Roe", "Cy Doe"});
        testutil::makeDrive(folder.path() / "other", {"X"}, "ABC");
        testutil::makeDrive(folder.path() / "second", {"Dee Fox"}, "KCS", 'c');
    }

    DriveSelection select(bool startUp) {
        DriveSelectContext ctx{state, *settings, dialogs, *chooser, [this] { ++refreshes; },
                               [this](frmDriveSelect& c) {
                                   c.setDrives({{"good  [GOOD]", "good"}, {"second", "second"}, {"other", "other"}},
                                               {}, QString());
                               },
                               &files};
        return SelectDataDrive(ctx, startUp);
    }

    // The chooser script: pick the entry for `designation` with the keyboard, then Done.
    void choose(const QString& designation) {
        dialogs.onModal("frmDriveSelect", [designation](QDialog& d) {
            auto* list = d.findChild<QComboBox*>("drDrive");
            list->setFocus();
            while (list->currentData().toString() != designation && list->currentIndex() < list->count() - 1)
                QTest::keyClick(list, Qt::Key_Down);
            ASSERT_EQ(list->currentData().toString(), designation);
            QTest::mouseClick(d.findChild<QPushButton*>("cmdDone"), Qt::LeftButton);
        });
    }
};

}  // namespace

TEST_F(DriveFixture, StartUpTakesTheRememberedDriveWithoutAsking) {
    folder.writeSettings("good");
    EXPECT_EQ(select(true), DriveSelection::Accepted);
    EXPECT_TRUE(dialogs.modalsShown.empty());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(state.table.NumClients, 3);
    EXPECT_EQ(state.DataPath, "good");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "good" / "checkWriteTest"));
}

TEST_F(DriveFixture, MissingRememberedDriveAsksAndYesOpensTheChooser) {
    folder.writeSettings("a:");
    dialogs.answer(MsgAnswer::Yes);
    choose("second");
    EXPECT_EQ(select(true), DriveSelection::Accepted);
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("No test information found on drive A:, would you like to try another drive?")});
    EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::None);
    EXPECT_EQ(settings->GetINIFilePath(), "second");
    EXPECT_EQ(state.PublisherFlag, 'c');
    EXPECT_EQ(refreshes, 0);  // start-up has no list to rebuild yet
}

TEST_F(DriveFixture, MissingRememberedDriveAndNoEndsTheProgram) {
    folder.writeSettings("a:");
    dialogs.answer(MsgAnswer::No);
    EXPECT_EQ(select(true), DriveSelection::EndProgram);
    EXPECT_TRUE(dialogs.modalsShown.empty());
    EXPECT_EQ(settings->GetINIFilePath(), "a:");
}

TEST_F(DriveFixture, AnotherTestsDiskIsRefusedThenTheSupervisorMayTryAgain) {
    folder.writeSettings("other");
    dialogs.answer(MsgAnswer::Ok);
    dialogs.answer(MsgAnswer::Yes);
    choose("good");
    EXPECT_EQ(select(true), DriveSelection::Accepted);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, kNotOurs);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Data Disk Error"));
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(dialogs.messages[1].text, kUnsuccessful);
    EXPECT_EQ(state.DataPath, "good");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "other" / "checkWriteTest"));
}

TEST_F(DriveFixture, WriteProtectedDiskIsCheckedAgainOnOk) {
    folder.writeSettings("good");
    files.protectedTries = 1;
    dialogs.answer(MsgAnswer::Ok);
    EXPECT_EQ(select(true), DriveSelection::Accepted);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("Data disk write protected!\r\rSet the data disk to writable and replace in drive."));
    EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(state.table.NumClients, 3);
}

TEST_F(DriveFixture, CancelOnAWriteProtectedDiskKeepsTheDriveInUse) {
    folder.writeSettings("second");
    ASSERT_EQ(select(true), DriveSelection::Accepted);
    files.protectedTries = 1;
    dialogs.answer(MsgAnswer::Cancel);
    choose("good");
    EXPECT_EQ(select(false), DriveSelection::NotAccepted);
    // Nothing of the refused drive was taken over, and the setting was not touched.
    EXPECT_EQ(state.DataPath, "second");
    EXPECT_EQ(state.table.NumClients, 1);
    EXPECT_EQ(settings->GetINIFilePath(), "second");
}

TEST_F(DriveFixture, MenuModeGivingUpReloadsThePreviousDrive) {
    folder.writeSettings("good");
    ASSERT_EQ(select(true), DriveSelection::Accepted);
    dialogs.answer(MsgAnswer::Ok);  // not our disk
    dialogs.answer(MsgAnswer::No);  // don't try again
    choose("other");
    EXPECT_EQ(select(false), DriveSelection::NotAccepted);
    EXPECT_EQ(state.DataPath, "good");
    EXPECT_EQ(state.table.NumClients, 3);
    EXPECT_EQ(refreshes, 1);
}

TEST_F(DriveFixture, MenuModeEndsWhenThePreviousDriveIsGoneToo) {
    folder.writeSettings("good");
    ASSERT_EQ(select(true), DriveSelection::Accepted);
    std::filesystem::remove_all(folder.path() / "good");
    dialogs.answer(MsgAnswer::No);
    dialogs.answer(MsgAnswer::Ok);
    dialogs.onModal("frmDriveSelect", [](QDialog& d) {
        auto* list = d.findChild<QComboBox*>("drDrive");
        list->setFocus();
        list->lineEdit()->selectAll();
        QTest::keyClicks(list, QStringLiteral("nowhere"));
        QTest::keyClick(d.findChild<QPushButton*>("cmdDone"), Qt::Key_Space);
    });
    EXPECT_EQ(select(false), DriveSelection::EndProgram);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("No test information found on drive NOWHERE, would you like to try another drive?"));
    EXPECT_EQ(dialogs.messages[1].text, kReloadFailed);
}

TEST_F(DriveFixture, MenuModeAcceptanceSavesTheDriveAndRebuildsTheList) {
    folder.writeSettings("good");
    ASSERT_EQ(select(true), DriveSelection::Accepted);
    choose("second");
    EXPECT_EQ(select(false), DriveSelection::Accepted);
    EXPECT_EQ(settings->GetINIFilePath(), "second");
    EXPECT_EQ(state.table.NumClients, 1);
    EXPECT_EQ(refreshes, 1);
}

TEST_F(DriveFixture, ChooserKeepsItsChoiceAndShowsHelp) {
    dialogs.answer(MsgAnswer::Ok);
    chooser->setDrives({{"/media/a  [KCS]", "/media/a"}, {"/media/b", "/media/b"}}, {"practice-disk"}, "/media/b");
    EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Select Drive"));
    EXPECT_EQ(chooser->SelectedDrive(), QStringLiteral("/media/b"));
    EXPECT_EQ(chooser->driveList()->count(), 3);
    chooser->driveList()->setCurrentIndex(1);  // the first mounted volume, shown with its label
    EXPECT_EQ(chooser->SelectedDrive(), QStringLiteral("/media/a"));
    QTest::mouseClick(chooser->findChild<QPushButton*>("cmdhelp"), Qt::LeftButton);
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("Use the dropdown box to select the drive that the floppy data \r\n"
                                         "diskette or USB Flash Drive is in. Floppy drives are usually A: or\r\n"
                                         "B: and USB drives are usually F: or G:")});
}
