#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "ScriptedDialogs.h"
#include "TestFolders.h"
#include "kcs/app/ProgramState.h"
#include "kcs/app/Settings.h"
#include "kcs/menus/MainWindow.h"
#include "kcs/menus/MenuButtonRow.h"
#include "kcs/menus/ScreenConventions.h"

using namespace kcs;
using namespace kcs::menus;
using kcs::menus::testing::ScriptedDialogs;

namespace {

struct CountingNumLock : NumLockKey {
    std::vector<bool> calls;
    bool setNumLock(bool on) override {
        calls.push_back(on);
        return true;
    }
};

struct MainFixture : ::testing::Test {
    testutil::ProgramFolder folder;
    app::ProgramState state;
    std::unique_ptr<app::Settings> settings;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> window;

    void SetUp() override {
        folder.writeSettings("disk", "NumLock=True\r\nPrintDOS=True\r\n");
        settings = std::make_unique<app::Settings>(folder.ini());
        state.ProgramFolder = folder.path();
        window = std::make_unique<frmMain>(state, *settings, dialogs);
    }

    void load(const std::vector<std::string>& names) {
        for (std::size_t i = 0; i < names.size(); ++i)
            state.table.Clients[i + 1] = testutil::recordNamed(names[i]);
        state.table.NumClients = static_cast<std::int16_t>(names.size());
        state.table.CurClient = names.empty() ? 0 : 1;
    }

    void showActive() {
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->activationStep();
    }

    QPushButton* button(int i) { return window->menuButtons().button(i); }
};

}  // namespace

TEST_F(MainFixture, ListShowsEveryClientAsNumberHyphenAndTheNameFieldAsStored) {
    load({"Ann Lee", "Jos\xE9 Pe\xF1" "a", "Exactly twenty-five chars"});
    showActive();
    QListWidget* list = window->nameList();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("1-Ann Lee                  "));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("2-José Peña                "));
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("3-Exactly twenty-five chars"));
    EXPECT_FALSE(button(0)->isEnabled());

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(state.table.CurClient, 2);
    EXPECT_TRUE(button(0)->isEnabled());

    // Arrow keys move the selection like a click.
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(state.table.CurClient, 3);

    // Coming back to the window rebuilds the list with nothing selected.
    window->activationStep();
    EXPECT_FALSE(button(0)->isEnabled());
    EXPECT_EQ(state.table.CurClient, 3);
    EXPECT_EQ(list->count(), 3);
}

TEST_F(MainFixture, ListFocusColoursTheFrameOrHandsOnWithoutClients) {
    load({"Ann Lee"});
    showActive();
    window->nameList()->setFocus();
    EXPECT_EQ(panelColor(*window->clientFrame()), kCyan);
    EXPECT_TRUE(window->clientFrame()->font().bold());
    EXPECT_EQ(window->msgPanel()->text(), QStringLiteral("Use up or down arrow keys or mouse to select client."));
    button(1)->setFocus();
    EXPECT_EQ(panelColor(*window->clientFrame()), kBlue);
    EXPECT_EQ(window->msgPanel()->text(),
              QStringLiteral("Enter a new client. Test client on computer or enter data from answer sheet."));

    load({});
    window->activationStep();
    window->nameList()->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), button(1));
    EXPECT_EQ(state.table.CurClient, 0);
}

TEST_F(MainFixture, HelpTextsFollowTheFocusedButton) {
    showActive();
    const char* helps[] = {"Edit client's information.",
                           "Enter a new client. Test client on computer or enter data from answer sheet.",
                           "Print client report, verify data entry or delete client names.", "Quit the program."};
    button(0)->setEnabled(true);
    for (int i = 0; i < 4; ++i) {
        button(i)->setFocus();
        EXPECT_EQ(window->msgPanel()->text(), QString::fromLatin1(helps[i]));
        EXPECT_EQ(button(i)->objectName(), QStringLiteral("cmdMenuChoice_%1").arg(i));
    }
}

TEST_F(MainFixture, AddIsRefusedOnAFullDriveAndAllowedAgainWithRoom) {
    std::vector<std::string> names(51, "Client");
    load(names);
    showActive();
    EXPECT_FALSE(button(1)->isEnabled());
    names.pop_back();
    load(names);
    window->activationStep();
    EXPECT_TRUE(button(1)->isEnabled());
}

TEST_F(MainFixture, ExitButtonAndMenuItemBothEndTheProgram) {
    showActive();
    QSignalSpy exits(window.get(), &frmMain::exitRequested);
    button(3)->setFocus();
    QTest::keyClick(button(3), Qt::Key_Return);
    window->exitAction()->trigger();
    window->close();  // the close box
    EXPECT_EQ(exits.count(), 3);
    EXPECT_EQ(window->exitAction()->text(), QStringLiteral("E&xit!"));
}

TEST_F(MainFixture, OptionsAreSavedWithTheirCheckMarks) {
    showActive();
    window->setOptions(true, true);
    window->numLockAction()->trigger();
    EXPECT_FALSE(state.NumLockOn);
    EXPECT_FALSE(window->numLockAction()->isChecked());
    EXPECT_FALSE(settings->GetININumLock());
    window->printDOSAction()->trigger();
    EXPECT_FALSE(state.PrintDOSFlag);
    EXPECT_FALSE(settings->GetINIPrintDOS());
    window->printDOSAction()->trigger();
    EXPECT_TRUE(settings->GetINIPrintDOS());
    EXPECT_TRUE(window->printDOSAction()->isChecked());
    EXPECT_NE(testutil::readText(folder.ini()).find("PrintDOS=True"), std::string::npos);
}

TEST_F(MainFixture, NumLockIsHeldOnlyWhileTheOptionIsOn) {
    CountingNumLock key;
    window->setNumLockKey(&key);
    window->setOptions(true, false);
    window->numLockTick();
    window->numLockTick();
    EXPECT_EQ(key.calls, (std::vector<bool>{true, true}));
    window->setOptions(false, false);
    window->numLockTick();
    EXPECT_EQ(key.calls.size(), 2u);
    EXPECT_EQ(window->numLockTimer().interval(), 1000);
    EXPECT_TRUE(window->numLockTimer().isActive());
}

TEST_F(MainFixture, EditRunsItsScreensInTurnWhileEachIsCompleted) {
    load({"Ann Lee", "Bob Roe"});
    showActive();
    std::vector<std::string> opened;
    bool frameHidden = false;
    MainMenuScreens screens;
    screens.clientInformation = [&](QWidget&) {
        opened.push_back("info");
        frameHidden = !window->menuFrame()->isVisible();
        EXPECT_TRUE(state.EditMode);
        EXPECT_FALSE(state.UnloadOthersOnActivate);
        state.ContinueFlag = true;
    };
    screens.courtHistory = [&](QWidget&) {
        opened.push_back("court");
        EXPECT_FALSE(state.ContinueFlag);
        state.ContinueFlag = true;
    };
    screens.answerSheet = [&](QWidget&) { opened.push_back("answers"); };
    window->setScreens(screens);

    QListWidget* list = window->nameList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    button(0)->setFocus();
    QTest::keyClick(button(0), Qt::Key_Return);
    EXPECT_EQ(opened, (std::vector<std::string>{"info", "court", "answers"}));
    EXPECT_TRUE(frameHidden);
    EXPECT_TRUE(window->menuFrame()->isVisible());
    EXPECT_TRUE(state.UnloadOthersOnActivate);
    EXPECT_EQ(state.table.CurClient, 2);
    EXPECT_FALSE(button(0)->isEnabled());  // the list was rebuilt without a selection
}

TEST_F(MainFixture, ScreensNotYetThereLeaveTheMenuAsItWas) {
    load({"Ann Lee"});
    showActive();
    button(1)->setFocus();
    QTest::keyClick(button(1), Qt::Key_Return);
    QTest::keyClick(button(2), Qt::Key_Return);
    EXPECT_TRUE(window->menuFrame()->isVisible());
    EXPECT_FALSE(state.EditMode);
    EXPECT_EQ(dialogs.modalsShown.size(), 0u);
}

TEST_F(MainFixture, ActivationClosesOtherWindowsOnlyWhenAsked) {
    showActive();
    QWidget other;
    other.show();
    state.UnloadOthersOnActivate = false;
    window->activationStep();
    EXPECT_TRUE(other.isVisible());
    state.UnloadOthersOnActivate = true;
    window->activationStep();
    EXPECT_FALSE(other.isVisible());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainFixture, AnOverfullDiskIsReportedAndOnlyThen) {
    state.LastLoad = records::LoadReport{};
    window->reportOverfullDisk();
    EXPECT_TRUE(dialogs.messages.empty());

    state.LastLoad.recordsInFile = 60;
    state.LastLoad.overCapacity = true;
    dialogs.answer(MsgAnswer::Ok);
    window->reportOverfullDisk();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains("60 client records"));
    EXPECT_TRUE(dialogs.messages[0].text.contains("unchanged"));
}
