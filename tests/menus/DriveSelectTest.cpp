#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ScreenTestSupport.h"
#include "kcs/menus/DriveSelect.h"

using namespace kcs;
using namespace kcs::menus;
using namespace kcs::testutil;

namespace {

struct DriveFixture : ProgramFixture {
    frmDriveSelect chooser{dialogs};
    int refreshes = 0;

    DriveFixture() {
        makeDrive(folder.path() / "good", {"Ann Lee", "Bob Roe", "Cy Doe"});
        makeDrive(folder.path() / "other", {"X"}, "ABC");
        makeDrive(folder.path() / "second", {"Dee Fox"}, "KCS", 'c');
        fake.volumes.entries = {{"good  [GOOD]", "good"}, {"second", "second"}, {"other", "other"}};
    }

    DriveSelection select(bool startUp) {
        DriveSelectContext ctx{store, paths, settings, fake.services, chooser, [this] { ++refreshes; }};
        return SelectDataDrive(ctx, startUp);
    }

    // The drive `inUse` taken at start-up; the selection from the menu comes next.
    void startWith(const char* inUse) {
        folder.writeSettings(inUse);
        ASSERT_EQ(select(true), DriveSelection::Accepted);
    }

    void choose(const QString& designation) {
        dialogs.onModal("frmDriveSelect", [designation](QDialog& d) { chooseDrive(d, designation); });
    }
};

// The selection from the menu; the drive named in `after` is in use and remembered afterwards.
struct MenuCase {
    const char *name, *inUse;
    int protectedTries;
    std::vector<MsgAnswer> answers;
    QStringList picks;
    DriveSelection result;
    std::vector<std::string> texts;
    const char* after;
    int clients, refreshes;
};
void PrintTo(const MenuCase& c, std::ostream* os) { *os << c.name; }

const MenuCase kMenuCases[] = {
    {"AcceptedOnSecondTry", "good", 0, {MsgAnswer::Ok, MsgAnswer::Yes}, {"other", "second"},
     DriveSelection::Accepted, {kNotOurs, kUnsuccessful}, "second", 1, 1},
    {"WriteProtectedOk", "good", 1, {MsgAnswer::Ok}, {"second"}, DriveSelection::Accepted, {kWriteProtected}, "second", 1, 1},
    // Nothing of a refused drive is taken over.
    {"WriteProtectedCancel", "second", 1, {MsgAnswer::Cancel}, {"good"}, DriveSelection::NotAccepted,
     {kWriteProtected}, "second", 1, 0},
    {"GivingUpReloadsThePrevious", "good", 0, {MsgAnswer::Ok, MsgAnswer::No}, {"other"},
     DriveSelection::NotAccepted, {kNotOurs, kUnsuccessful}, "good", 3, 1},
};

struct MenuSelection : DriveFixture, ::testing::WithParamInterface<MenuCase> {};

}  // namespace

TEST_P(MenuSelection, EndsWithTheRightDriveInUse) {
    const MenuCase& c = GetParam();
    startWith(c.inUse);
    EXPECT_EQ(refreshes, 0);  // start-up has no list to rebuild yet
    fake.drive.protectedTries = c.protectedTries;
    for (MsgAnswer a : c.answers) dialogs.answer(a);
    for (const QString& pick : c.picks) choose(pick);
    EXPECT_EQ(select(false), c.result);
    EXPECT_EQ(driveMessages(dialogs), c.texts);
    EXPECT_EQ(store.DataPath(), c.after);
    EXPECT_EQ(settings.GetINIFilePath(), c.after);
    EXPECT_EQ(store.NumClients(), c.clients);
    EXPECT_EQ(refreshes, c.refreshes);
    EXPECT_EQ(dialogs.modalsShown.size(), static_cast<std::size_t>(c.picks.size()));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "other" / "checkWriteTest"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / c.after / "checkWriteTest"));
}

INSTANTIATE_TEST_SUITE_P(Drives, MenuSelection, ::testing::ValuesIn(kMenuCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DriveFixture, MenuModeEndsWhenThePreviousDriveIsGoneToo) {
    startWith("good");
    std::filesystem::remove_all(folder.path() / "good");
    dialogs.answer(MsgAnswer::No);
    dialogs.onModal("frmDriveSelect", [](QDialog& d) {
        auto* list = d.findChild<QComboBox*>("drDrive");
        list->setFocus();
        list->lineEdit()->selectAll();
        QTest::keyClicks(list, QStringLiteral("nowhere"));
        QTest::keyClick(d.findChild<QPushButton*>("cmdDone"), Qt::Key_Space);
    });
    EXPECT_EQ(select(false), DriveSelection::EndProgram);
    EXPECT_EQ(driveMessages(dialogs), (std::vector<std::string>{notFoundOn("NOWHERE"), kReloadFailed}));
}

TEST_F(DriveFixture, ChooserKeepsItsChoiceAndShowsHelp) {
    chooser.setDrives({{"/media/a  [KCS]", "/media/a"}, {"/media/b", "/media/b"}}, {"practice-disk"}, "/media/b");
    EXPECT_EQ(chooser.SelectedDrive(), QStringLiteral("/media/b"));
    EXPECT_EQ(chooser.driveList()->count(), 3);
    QTest::mouseClick(chooser.findChild<QPushButton*>("cmdhelp"), Qt::LeftButton);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Use the dropdown box to select the drive that the floppy data \r\n"
                                                        "diskette or USB Flash Drive is in. Floppy drives are usually A: or\r\n"
                                                        "B: and USB drives are usually F: or G:"});
}
