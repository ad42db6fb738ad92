#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "ScreenTestSupport.h"
#include "kcs/menus/MainWindow.h"
#include "kcs/menus/MenuButtonRow.h"
#include "kcs/menus/ScreenConventions.h"

using namespace kcs;
using namespace kcs::menus;
using namespace kcs::testutil;

namespace {

struct MainFixture : ProgramFixture {
    frmMain window{state, settings, dialogs};

    MainFixture() { folder.writeSettings("disk", "NumLock=True\r\nPrintDOS=True\r\n"); }

    void showActive() {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        window.activationStep();
    }
    QPushButton* button(int i) { return window.menuButtons().button(i); }
    void press(int i) {
        button(i)->setFocus();
        QTest::keyClick(button(i), Qt::Key_Return);
    }
    void clickLine(int row) {
        QListWidget* list = window.nameList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
};

}  // namespace

TEST_F(MainFixture, ListShowsEveryClientAsNumberHyphenAndTheNameFieldAsStored) {
    loadClients(state.table, {"Ann Lee", "Jos\xE9 Pe\xF1" "a", "Exactly twenty-five chars"});
    showActive();
    QListWidget* list = window.nameList();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("1-Ann Lee                  "));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("2-José Peña                "));
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("3-Exactly twenty-five chars"));
    EXPECT_FALSE(button(0)->isEnabled());

    clickLine(1);
    EXPECT_EQ(state.table.CurClient, 2);
    EXPECT_TRUE(button(0)->isEnabled());
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(state.table.CurClient, 3);

    // Coming back to the window rebuilds the list with nothing selected.
    window.activationStep();
    EXPECT_FALSE(button(0)->isEnabled());
    EXPECT_EQ(state.table.CurClient, 3);
    EXPECT_EQ(list->count(), 3);
}

TEST_F(MainFixture, HelpLineAndClientFrameFollowTheFocus) {
    loadClients(state.table, {"Ann Lee"});
    showActive();
    window.nameList()->setFocus();
    EXPECT_EQ(panelColor(*window.clientFrame()), kCyan);
    EXPECT_TRUE(window.clientFrame()->font().bold());
    EXPECT_EQ(window.msgPanel()->text(), QStringLiteral("Use up or down arrow keys or mouse to select client."));
    const char* helps[] = {"Edit client's information.",
                           "Enter a new client. Test client on computer or enter data from answer sheet.",
                           "Print client report, verify data entry or delete client names.", "Quit the program."};
    button(0)->setEnabled(true);
    for (int i = 0; i < 4; ++i) {
        button(i)->setFocus();
        EXPECT_EQ(window.msgPanel()->text(), QString::fromLatin1(helps[i]));
    }
    EXPECT_EQ(panelColor(*window.clientFrame()), kBlue);

    // Without clients the list hands the focus on to "Add New Client".
    loadClients(state.table, {});
    window.activationStep();
    window.nameList()->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), button(1));
    EXPECT_EQ(state.table.CurClient, 0);
}

TEST_F(MainFixture, AddIsRefusedOnAFullDriveAndAllowedAgainWithRoom) {
    std::vector<std::string> names(51, "Client");
    loadClients(state.table, names);
    showActive();
    EXPECT_FALSE(button(1)->isEnabled());
    names.pop_back();
    loadClients(state.table, names);
    window.activationStep();
    EXPECT_TRUE(button(1)->isEnabled());
}

TEST_F(MainFixture, ExitEndsTheProgramAndScreensNotYetThereDoNothing) {
    loadClients(state.table, {"Ann Lee"});
    showActive();
    QSignalSpy exits(&window, &frmMain::exitRequested);
    press(1);
    press(2);
    EXPECT_TRUE(window.menuFrame()->isVisible());
    EXPECT_FALSE(state.EditMode);
    EXPECT_TRUE(dialogs.modalsShown.empty());
    EXPECT_EQ(exits.count(), 0);
    press(3);
    window.exitAction()->trigger();
    window.close();  // the close box
    EXPECT_EQ(exits.count(), 3);
}

TEST_F(MainFixture, OptionsAreSavedWithTheirCheckMarks) {
    showActive();
    window.setOptions(true, true);
    window.numLockAction()->trigger();
    EXPECT_FALSE(state.NumLockOn);
    EXPECT_FALSE(window.numLockAction()->isChecked());
    EXPECT_FALSE(settings.GetININumLock());
    window.printDOSAction()->trigger();
    EXPECT_FALSE(state.PrintDOSFlag);
    EXPECT_FALSE(settings.GetINIPrintDOS());
    window.printDOSAction()->trigger();
    EXPECT_TRUE(window.printDOSAction()->isChecked());
    EXPECT_NE(readFile(folder.ini()).find("PrintDOS=True"), std::string::npos);
}

TEST_F(MainFixture, NumLockIsHeldOnlyWhileTheOptionIsOn) {
    struct : NumLockKey {
        std::vector<bool> calls;
        bool setNumLock(bool on) override { calls.push_back(on); return true; }
    } key;
    window.setNumLockKey(&key);
    window.setOptions(true, false);
    window.numLockTick();
    window.numLockTick();
    window.setOptions(false, false);
    window.numLockTick();
    EXPECT_EQ(key.calls, (std::vector<bool>{true, true}));
    EXPECT_TRUE(window.numLockTimer().isActive());
}

TEST_F(MainFixture, EditRunsItsScreensInTurnAndOnlyThenClosesOtherWindows) {
    loadClients(state.table, {"Ann Lee", "Bob Roe"});
    showActive();
    QWidget other;
    other.show();
    std::vector<std::string> opened;
    MainMenuScreens screens;
    screens.clientInformation = [&](QWidget&) {
        opened.push_back("info");
        EXPECT_FALSE(window.menuFrame()->isVisible());
        EXPECT_TRUE(state.EditMode);
        window.activationStep();  // coming back to the window while a screen is open
        EXPECT_TRUE(other.isVisible());
        state.ContinueFlag = true;
    };
    screens.courtHistory = [&](QWidget&) {
        opened.push_back("court");
        EXPECT_FALSE(state.ContinueFlag);
        state.ContinueFlag = true;
    };
    screens.answerSheet = [&](QWidget&) { opened.push_back("answers"); };
    window.setScreens(screens);

    clickLine(1);
    press(0);
    EXPECT_EQ(opened, (std::vector<std::string>{"info", "court", "answers"}));
    EXPECT_TRUE(window.menuFrame()->isVisible());
    EXPECT_FALSE(other.isVisible());
    EXPECT_EQ(state.table.CurClient, 2);
    EXPECT_FALSE(button(0)->isEnabled());  // the list was rebuilt without a selection
}

TEST_F(MainFixture, AnOverfullDiskIsReportedAndOnlyThen) {
    window.reportOverfullDisk();
    EXPECT_TRUE(dialogs.messages.empty());
    state.LastLoad.recordsInFile = 60;
    state.LastLoad.overCapacity = true;
    dialogs.answer(MsgAnswer::Ok);
    window.reportOverfullDisk();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains("60 client records"));
    EXPECT_TRUE(dialogs.messages[0].text.contains("unchanged"));
}
