#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "ScriptedDialogs.h"
#include "TestFolders.h"
#include "kcs/app/DataDrive.h"
#include "kcs/common/RunError.h"
#include "kcs/menus/AboutBox.h"
#include "kcs/menus/MainWindow.h"
#include "kcs/menus/MenuButtonRow.h"
#include "kcs/program/StartUp.h"

using namespace kcs;
using kcs::menus::MsgAnswer;
using kcs::menus::testing::ScriptedDialogs;
using Stage = kcs::program::StartUp::Stage;

namespace {

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

struct StartUpFixture : ::testing::Test {
    testutil::ProgramFolder folder;
    ScriptedDialogs dialogs;
    ProtectedFiles files;
    std::unique_ptr<program::StartUp> startUp;

    void SetUp() override {
        testutil::makeDrive(folder.path() / "disk", {"Ann Lee", "Bob Roe", "Cy Doe"});
        testutil::makeDrive(folder.path() / "other", {}, "MMPI");
        startUp = std::make_unique<program::StartUp>(folder.path(), dialogs);
        startUp->setDriveFiles(&files);
        startUp->setChooserFiller([this](menus::frmDriveSelect& c) {
            c.setDrives({{"disk", QString::fromStdString((folder.path() / "disk").string())}}, {}, QString());
        });
    }

    // Runs the splash to its end by hand: ten animation ticks, seven hold ticks.
    void finishSplash() {
        menus::frmAbout* splash = startUp->splash();
        ASSERT_NE(splash, nullptr);
        splash->animationTimer().stop();
        for (int i = 0; i < 10 && startUp->stage() == Stage::Splash; ++i) splash->animationTick();
        if (startUp->stage() != Stage::Splash) return;
        splash->holdTimer().stop();
        for (int i = 0; i < 7 && startUp->stage() == Stage::Splash; ++i) {
            EXPECT_FALSE(startUp->mainWindow()->isVisible());
            splash->holdTick();
        }
    }

    void pickDiskInChooser() {
        dialogs.onModal("frmDriveSelect", [](QDialog& d) {
            QTest::mouseClick(d.findChild<QPushButton*>("cmdDone"), Qt::LeftButton);
        });
    }
};

}  // namespace

TEST_F(StartUpFixture, GoodDiskGoesFromSplashToTheMainMenu) {
    folder.writeSettings("disk", "NumLock=False\r\nPrintDOS=True\r\n");
    QSignalSpy ready(startUp.get(), &program::StartUp::ready);
    startUp->start();
    ASSERT_EQ(startUp->stage(), Stage::Splash);
    EXPECT_TRUE(startUp->splash()->isVisible());
    EXPECT_EQ(startUp->splash()->windowTitle(), QStringLiteral("Initializing..."));
    EXPECT_FALSE(startUp->mainWindow()->isVisible());

    finishSplash();
    ASSERT_EQ(startUp->stage(), Stage::Ready);
    EXPECT_EQ(ready.count(), 1);
    menus::frmMain* main = startUp->mainWindow();
    EXPECT_TRUE(main->isVisible());
    ASSERT_EQ(main->nameList()->count(), 3);
    EXPECT_EQ(main->nameList()->item(1)->text(), QStringLiteral("2-Bob Roe") + QString(18, QLatin1Char(' ')));
    EXPECT_TRUE(startUp->state().UnloadOthersOnActivate);
    EXPECT_FALSE(main->numLockAction()->isChecked());
    EXPECT_TRUE(main->printDOSAction()->isChecked());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.modalsShown.empty());
    EXPECT_NE(testutil::readText(folder.ini()).find("SystemDB=" + (folder.path() / "hwkltd.mda").string()),
              std::string::npos);
}

TEST_F(StartUpFixture, MissingDiskYesOpensTheChooser) {
    folder.writeSettings("a:");
    dialogs.answer(MsgAnswer::Yes);
    pickDiskInChooser();
    startUp->start();
    EXPECT_EQ(dialogs.modalsShown, (std::vector<QString>{"frmDriveSelect"}));
    ASSERT_EQ(startUp->stage(), Stage::Splash);
    finishSplash();
    EXPECT_EQ(startUp->stage(), Stage::Ready);
    EXPECT_EQ(startUp->settings()->GetINIFilePath(), (folder.path() / "disk").string());
}

TEST_F(StartUpFixture, MissingDiskNoEndsWithoutShowingAnything) {
    folder.writeSettings("a:");
    dialogs.answer(MsgAnswer::No);
    QSignalSpy ended(startUp.get(), &program::StartUp::ended);
    startUp->start();
    EXPECT_EQ(startUp->stage(), Stage::Ended);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("No test information found on drive A:, would you like to try another drive?")});
    EXPECT_EQ(startUp->splash(), nullptr);
    EXPECT_FALSE(startUp->mainWindow()->isVisible());
}

TEST_F(StartUpFixture, WriteProtectedDiskOkRetriesCancelEnds) {
    folder.writeSettings("disk");
    files.protectedTries = 2;
    dialogs.answer(MsgAnswer::Ok);
    dialogs.answer(MsgAnswer::Cancel);
    startUp->start();
    EXPECT_EQ(startUp->stage(), Stage::Ended);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    for (const auto& m : dialogs.messages) {
        EXPECT_EQ(m.text, QStringLiteral("Data disk write protected!\r\rSet the data disk to writable and replace in drive."));
        EXPECT_EQ(m.title, QStringLiteral("Data Disk Error"));
    }
    EXPECT_EQ(startUp->settings()->GetINIFilePath(), "disk");
}

TEST_F(StartUpFixture, WriteProtectedDiskMadeWritableIsAccepted) {
    folder.writeSettings("disk");
    files.protectedTries = 1;
    dialogs.answer(MsgAnswer::Ok);
    startUp->start();
    finishSplash();
    EXPECT_EQ(startUp->stage(), Stage::Ready);
    EXPECT_EQ(startUp->state().table.NumClients, 3);
}

TEST_F(StartUpFixture, AnotherTestsDiskIsRefused) {
    folder.writeSettings("other");
    dialogs.answer(MsgAnswer::Ok);
    dialogs.answer(MsgAnswer::No);
    startUp->start();
    EXPECT_EQ(startUp->stage(), Stage::Ended);
    EXPECT_EQ(dialogs.texts(), (QStringList{QStringLiteral("This is not an Kestrel Conduct Screening data disk."),
                                            QStringLiteral("Drive select unsuccessful, would you like to try again?")}));
}

TEST_F(StartUpFixture, ClientFileFailingDuringTheSplashEndsWithTheErrorNumber) {
    folder.writeSettings("disk");
    startUp->start();
    ASSERT_EQ(startUp->stage(), Stage::Splash);
    // The client file turns into something that cannot be read as one.
    std::filesystem::remove(folder.path() / "disk" / "DATA401.KCS");
    std::filesystem::create_directory(folder.path() / "disk" / "DATA401.KCS");
    finishSplash();
    EXPECT_EQ(startUp->stage(), Stage::Ended);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("Error "))) << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(dialogs.messages[0].title, QString());
    EXPECT_FALSE(startUp->mainWindow()->isVisible());
}
