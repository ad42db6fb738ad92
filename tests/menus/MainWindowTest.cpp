// The main window headless: the client list, the help line, what the buttons start, the
// options menu and the About box.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "FakeScreens.h"
#include "ScreenTestSupport.h"
#include "kcs/app/Options.h"
#include "kcs/menus/AboutBox.h"
#include "kcs/menus/MainWindow.h"

using namespace kcs;
using namespace kcs::menus;
using namespace kcs::testutil;

namespace {

struct MainFixture : ProgramFixture {
    app::Options options{settings};
    FakeScreens screens{store};
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

TEST_F(MainFixture, ListShowsEveryClientAsNumberHyphenAndTheNameFieldAsStoredAndPicksOne) {
    useClients({"Ann Lee", "Jos\xE9 Pe\xF1" "a", "Exactly twenty-five chars"});
    showActive();
    QListWidget* list = window.nameList();
    const QStringList lines{"1-Ann Lee                  ", "2-José Peña                ", "3-Exactly twenty-five chars"};
    ASSERT_EQ(list->count(), lines.size());
    for (int i = 0; i < lines.size(); ++i) EXPECT_EQ(list->item(i)->text(), lines[i]);
    EXPECT_FALSE(button(0)->isEnabled());
    clickLine(1);
    EXPECT_EQ(store.CurClient(), 2);
    EXPECT_TRUE(button(0)->isEnabled());

    // "Add New Client" is refused on a full drive and allowed again with room.
    useClients(std::vector<std::string>(51, "Client"));
    window.activationStep();
    EXPECT_FALSE(button(1)->isEnabled());
    useClients(std::vector<std::string>(50, "Client"));
    window.activationStep();
    EXPECT_TRUE(button(1)->isEnabled());
}

TEST_F(MainFixture, TheHelpLineFollowsTheFocusAndAnEmptyListHandsItOn) {
    useClients({"Ann Lee"});
    showActive();
    window.nameList()->setFocus();
    EXPECT_EQ(window.msgPanel()->text(), QStringLiteral("Use up or down arrow keys or mouse to select client."));
    const char* helps[] = {"Edit client's information.",
                           "Enter a new client. Test client on computer or enter data from answer sheet.",
                           "Print client report, verify data entry or delete client names.", "Quit the program."};
    button(0)->setEnabled(true);
    for (int i = 0; i < 4; ++i) {
        button(i)->setFocus();
        EXPECT_EQ(window.msgPanel()->text(), QString::fromLatin1(helps[i]));
    }

    // Without clients the list hands the focus on to "Add New Client".
    useClients({});
    window.activationStep();
    window.nameList()->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), button(1));
    EXPECT_EQ(store.CurClient(), 0);
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

    // The other buttons' flows are the end-to-end tests' roads.
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
    EXPECT_FALSE(settings.GetININumLock());
    window.printDOSAction()->trigger();
    EXPECT_FALSE(options.PrintDOSFlag());
    window.printDOSAction()->trigger();
    EXPECT_TRUE(window.printDOSAction()->isChecked());
    EXPECT_NE(readFile(folder.ini()).find("PrintDOS=True"), std::string::npos);
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

// Opening and closing it by keys is the end-to-end test's road; the splash is run through by
// the start-up tests.
TEST(AboutBox, ShowsThePublishersTexts) {
    const struct {
        char flag;
        const char* label;
        QString text;
    } cases[] = {
        {'b', "lblVersion", "Kestrel Conduct Screening v4.01"},
        {'b', "lblPublisher", "Bluewing Assessment Press"},
        {'b', "lblWeb", "Web: www.bluewing.example.org"},
        {'x', "lblPublisher", "Copperfield Behavioral Measures"},
        {'x', "lblEmail", "E-mail: office@copperfield.example.org"},
    };
    for (const auto& c : cases) EXPECT_EQ(frmAbout(c.flag, QPixmap()).findChild<QLabel*>(c.label)->text(), c.text);
}
