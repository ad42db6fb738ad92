#include <QSignalSpy>

#include "ScreenTestSupport.h"
#include "kcs/menus/AboutBox.h"
#include "kcs/menus/MainWindow.h"
#include "kcs/program/ProgramScreens.h"
#include "kcs/program/StartUp.h"

using namespace kcs;
using namespace kcs::testutil;
using Stage = kcs::program::StartUp::Stage;

namespace {

struct StartUpFixture : ::testing::Test {
    ProgramFolder folder;
    test::FakeServices fake;
    ScriptedDialogs& dialogs = fake.dialogs;
    program::StartUp startUp{folder.path(), fake.services};
    QSignalSpy ended{&startUp, &program::StartUp::ended};

    StartUpFixture() {
        makeDrive(folder.path() / "disk", {"Ann Lee", "Bob Roe", "Cy Doe"});
        makeDrive(folder.path() / "other", {}, "MMPI");
        fake.volumes.entries = {{"disk", QString::fromStdString((folder.path() / "disk").string())}};
    }

    // Runs the splash to its end by hand: ten animation ticks, then seven hold ticks, with
    // the main window hidden all along.
    void finishSplash() {
        menus::frmAbout* splash = startUp.splash();
        ASSERT_NE(splash, nullptr);
        for (int tick = 0; tick < 17 && startUp.stage() == Stage::Splash; ++tick) {
            EXPECT_FALSE(startUp.mainWindow()->isVisible());
            splash->animationTimer().stop();
            splash->holdTimer().stop();
            tick < 10 ? splash->animationTick() : splash->holdTick();
        }
    }
};

// Start-up on a drive the settings name; the chooser, when it opens, offers "disk".
struct DriveCase {
    const char *name, *drive;
    int protectedTries;
    std::vector<MsgAnswer> answers;
    bool chooser;
    Stage stage;
    std::vector<std::string> texts;
};
void PrintTo(const DriveCase& c, std::ostream* os) { *os << c.name; }

const DriveCase kDriveCases[] = {
    {"WriteProtectedMadeWritable", "disk", 1, {MsgAnswer::Ok}, false, Stage::Ready, {kWriteProtected}},
    {"WriteProtectedCancelled", "disk", 2, {MsgAnswer::Ok, MsgAnswer::Cancel}, false, Stage::Ended,
     {kWriteProtected, kWriteProtected}},
    {"MissingYesOpensTheChooser", "a:", 0, {MsgAnswer::Yes}, true, Stage::Ready, {notFoundOn("A:")}},
    {"MissingNoEnds", "a:", 0, {MsgAnswer::No}, false, Stage::Ended, {notFoundOn("A:")}},
    {"OtherTestsDiskThenAnother", "other", 0, {MsgAnswer::Ok, MsgAnswer::Yes}, true, Stage::Ready,
     {kNotOurs, kUnsuccessful}},
    {"OtherTestsDiskNoEnds", "other", 0, {MsgAnswer::Ok, MsgAnswer::No}, false, Stage::Ended, {kNotOurs, kUnsuccessful}},
};

struct StartUpDrives : StartUpFixture, ::testing::WithParamInterface<DriveCase> {};

}  // namespace

TEST_F(StartUpFixture, GoodDiskGoesFromSplashToTheMainMenu) {
    folder.writeSettings("disk", "NumLock=False\r\nPrintDOS=True\r\n");
    QSignalSpy ready(&startUp, &program::StartUp::ready);
    startUp.start();
    ASSERT_EQ(startUp.stage(), Stage::Splash);
    EXPECT_TRUE(startUp.splash()->isVisible());
    EXPECT_EQ(startUp.splash()->windowTitle(), QStringLiteral("Initializing..."));
    finishSplash();
    ASSERT_EQ(startUp.stage(), Stage::Ready);
    EXPECT_EQ(ready.count(), 1);
    menus::frmMain* main = startUp.mainWindow();
    EXPECT_FALSE(main->numLockAction()->isChecked());
    EXPECT_TRUE(main->printDOSAction()->isChecked());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.modalsShown.empty());
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "disk" / "checkWriteTest"));
    EXPECT_NE(readFile(folder.ini()).find("SystemDB=" + (folder.path() / "hwkltd.mda").string()), std::string::npos);
}

TEST_P(StartUpDrives, EndsOrReachesTheMenu) {
    const DriveCase& c = GetParam();
    folder.writeSettings(c.drive);
    fake.drive.protectedTries = c.protectedTries;
    for (MsgAnswer a : c.answers) dialogs.answer(a);
    if (c.chooser)
        dialogs.onModal("frmDriveSelect", [this](QDialog& d) {
            chooseDrive(d, QString::fromStdString((folder.path() / "disk").string()));
        });
    startUp.start();
    if (startUp.stage() == Stage::Splash) finishSplash();
    EXPECT_EQ(startUp.stage(), c.stage);
    EXPECT_EQ(driveMessages(dialogs), c.texts);
    EXPECT_EQ(dialogs.modalsShown.size(), c.chooser ? 1u : 0u);
    // The settings name a new drive only once it is accepted.
    EXPECT_EQ(startUp.options()->settings().GetINIFilePath(), c.chooser ? (folder.path() / "disk").string() : c.drive);
    EXPECT_EQ(startUp.mainWindow()->isVisible(), c.stage == Stage::Ready);
    if (c.stage == Stage::Ready) {
        EXPECT_EQ(startUp.store().NumClients(), 3);
    } else {
        EXPECT_EQ(ended.count(), 1);
        EXPECT_EQ(startUp.splash(), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Drives, StartUpDrives, ::testing::ValuesIn(kDriveCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartUpFixture, ClientFileFailingDuringTheSplashEndsWithTheErrorNumber) {
    folder.writeSettings("disk");
    startUp.start();
    ASSERT_EQ(startUp.stage(), Stage::Splash);
    // The client file turns into something that cannot be read as one.
    std::filesystem::remove(folder.path() / "disk" / "DATA401.KCS");
    std::filesystem::create_directory(folder.path() / "disk" / "DATA401.KCS");
    finishSplash();
    EXPECT_EQ(startUp.stage(), Stage::Ended);
    ASSERT_EQ(driveMessages(dialogs).size(), 1u);
    EXPECT_FALSE(startUp.mainWindow()->isVisible());
}

// The program's test screens on a question bank that cannot give the test (which banks those
// are is the question bank's tests): the supervisor is told why before the first item, and
// nothing reaches the data drive.
TEST_F(ProgramFixture, ABankThatCannotGiveTheTestStopsItBeforeTheFirstItem) {
    useClients({"Ann Lee"});
    app::Options options{settings};
    questionbank::Workspace workspace;
    program::ProgramScreens screens(store, options, paths, workspace, fake.services);
    const std::string before = readFile(store.ClientFilePath());
    menus::ClientSequence seq{false, 2, {}, "English"};
    EXPECT_FALSE(screens.presentTest(seq));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const std::string& told = dialogs.messages[0].text;
    EXPECT_TRUE(told.starts_with("Error 3024:")) << told;
    EXPECT_TRUE(told.ends_with("\r\rThe test cannot be given from this question bank. The new client has not been saved."));
    EXPECT_TRUE(dialogs.modalsShown.empty());
    EXPECT_EQ(readFile(store.ClientFilePath()), before);
}
