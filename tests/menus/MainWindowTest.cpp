#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "ScreenTestSupport.h"
#include "kcs/app/Options.h"
#include "kcs/menus/MainWindow.h"
#include "kcs/ui/ScreenConventions.h"

using namespace kcs;
using namespace kcs::menus;
using namespace kcs::testutil;
using ui::kBlue;
using ui::kCyan;
using ui::panelColor;

namespace {

// Screens that record their opening and run a check while they are "open".
struct RecordingScreens : Screens {
    std::vector<std::string> opened;
    std::function<void()> whileOpen;
    bool open(const char* name) {
        opened.push_back(name);
        if (whileOpen) whileOpen();
        return true;
    }
    bool clientInformation(ClientSequence&) override { return open("info"); }
    bool courtHistory(ClientSequence&) override { return open("court"); }
    bool answerSheet(ClientSequence&) override { return open("answers"); }
    void entryMethod(ClientFlows&) override { open("entry"); }
    std::vector<std::string> languages() override { return {}; }
    bool selectLanguage(ClientSequence&, const std::vector<std::string>&) override { return false; }
    bool presentTest(ClientSequence&) override { return false; }
    bool askSecretCode() override { return true; }
    void supervisorOptions() override { open("supervisor"); }
};

struct MainFixture : ProgramFixture {
    app::Options options{settings};
    RecordingScreens screens;
    ClientFlows flows{store, screens, dialogs};
    frmMain window{store, options, paths, fake.services, flows};

    MainFixture() {
        folder.writeSettings("disk", "NumLock=True\r\nPrintDOS=True\r\n");
        options.read();
    }

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
    useClients({"Ann Lee", "Jos\xE9 Pe\xF1" "a", "Exactly twenty-five chars"});
    showActive();
    QListWidget* list = window.nameList();
    EXPECT_EQ(list->accessibleName(), QStringLiteral("Client List"));
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("1-Ann Lee                  "));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("2-José Peña                "));
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("3-Exactly twenty-five chars"));
    EXPECT_FALSE(button(0)->isEnabled());

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);  // the first arrow picks client 1
    EXPECT_EQ(store.CurClient(), 1);
    EXPECT_TRUE(button(0)->isEnabled());
    clickLine(1);
    EXPECT_EQ(store.CurClient(), 2);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(store.CurClient(), 3);

    // Coming back to the window rebuilds the list with nothing selected.
    window.activationStep();
    EXPECT_FALSE(button(0)->isEnabled());
    EXPECT_EQ(store.CurClient(), 3);
}

TEST_F(MainFixture, HelpLineAndClientFrameFollowTheFocus) {
    useClients({"Ann Lee"});
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
    useClients({});
    window.activationStep();
    window.nameList()->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), button(1));
    EXPECT_EQ(store.CurClient(), 0);
}

TEST_F(MainFixture, AddIsRefusedOnAFullDriveAndAllowedAgainWithRoom) {
    useClients(std::vector<std::string>(51, "Client"));
    showActive();
    EXPECT_FALSE(button(1)->isEnabled());
    useClients(std::vector<std::string>(50, "Client"));
    window.activationStep();
    EXPECT_TRUE(button(1)->isEnabled());
}

TEST_F(MainFixture, ButtonsRunTheirFlowsWithTheMenuHiddenAndExitEndsTheProgram) {
    useClients({"Ann Lee", "Bob Roe"});
    showActive();
    QWidget other;
    other.show();
    screens.whileOpen = [&] {
        EXPECT_FALSE(window.menuFrame()->isVisible());
        window.activationStep();  // coming back to the window while a screen is open
        EXPECT_TRUE(other.isVisible()) << "no window is closed in the middle of a sequence";
    };
    clickLine(1);
    press(0);
    EXPECT_EQ(screens.opened, (std::vector<std::string>{"info", "court", "answers"}));
    EXPECT_TRUE(window.menuFrame()->isVisible());
    EXPECT_FALSE(other.isVisible());
    EXPECT_EQ(store.CurClient(), 2);
    EXPECT_FALSE(button(0)->isEnabled());  // the list was rebuilt without a selection

    screens.whileOpen = nullptr;
    press(1);
    press(2);
    EXPECT_EQ(screens.opened.back(), "supervisor");
    QSignalSpy exits(&window, &frmMain::exitRequested);
    press(3);
    window.exitAction()->trigger();
    window.close();  // the close box
    EXPECT_EQ(exits.count(), 3);
}

TEST_F(MainFixture, OptionsAreSavedWithTheirCheckMarksAndNumLockIsHeldOnlyWhileOn) {
    showActive();
    window.showOptions();
    EXPECT_TRUE(window.numLockAction()->isChecked());
    window.numLockTick();
    window.numLockAction()->trigger();
    window.numLockTick();
    EXPECT_EQ(fake.numLock.calls, (std::vector<bool>{true}));
    EXPECT_FALSE(window.numLockAction()->isChecked());
    EXPECT_FALSE(settings.GetININumLock());
    window.printDOSAction()->trigger();
    EXPECT_FALSE(options.PrintDOSFlag());
    window.printDOSAction()->trigger();
    EXPECT_TRUE(window.printDOSAction()->isChecked());
    EXPECT_NE(readFile(folder.ini()).find("PrintDOS=True"), std::string::npos);
    EXPECT_TRUE(window.numLockTimer().isActive());
}

TEST_F(MainFixture, AnOverfullDiskIsReportedAndOnlyThen) {
    useClients({"Ann Lee"});
    window.reportOverfullDisk();
    EXPECT_TRUE(dialogs.messages.empty());
    useClients(std::vector<std::string>(60, "Client"));
    dialogs.answer(MsgAnswer::Ok);
    window.reportOverfullDisk();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("60 client records"), std::string::npos);
    EXPECT_NE(dialogs.messages[0].text.find("unchanged"), std::string::npos);
}
