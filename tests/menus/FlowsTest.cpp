// The main window and the sequences of screens it starts, driven headless through a fake
// opener: which screen comes after which, what reaches the client store, and what a sequence
// left half-way leaves behind; the client list, the help line, the options menu and the About box.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <map>

#include "ScreenTestSupport.h"
#include "kcs/app/Options.h"
#include "kcs/menus/AboutBox.h"
#include "kcs/menus/EntryMethod.h"
#include "kcs/menus/MainWindow.h"
#include "kcs/test/KeyboardDriver.h"

using namespace kcs;
using namespace kcs::menus;
using namespace kcs::testutil;

namespace {

using Opened = std::vector<std::string>;

// The screens of the sequences, faked: each answers from a script whether it was completed
// and does to the sequence what the real one does (a screen that saves does so through the
// store, as the real ones do).
struct FakeScreens : Screens {
    app::ClientStore& store;
    std::vector<std::string> opened;
    std::map<std::string, std::vector<bool>> results;  // per screen, in order; missing: true
    std::vector<std::string> languagesOfBank{"English", "Spanish"};
    int roadOfEntryMethod = -1;  // 0 on screen, 1 answer sheet, -1 cancel
    std::vector<std::string> helpLines;
    std::function<void()> whileOpen;  // runs while each screen is "open"

    explicit FakeScreens(app::ClientStore& s) : store(s) {}

    bool next(const std::string& screen) {
        opened.push_back(screen);
        if (whileOpen) whileOpen();
        auto& r = results[screen];
        if (r.empty()) return true;
        const bool result = r.front();
        r.erase(r.begin());
        return result;
    }
    void save(ClientSequence& seq) {
        if (seq.EditMode) store.update(seq.slot, seq.record);
        else seq.slot = store.add(seq.record);
    }

    bool clientInformation(ClientSequence& seq) override {
        if (!next("info")) return false;
        seq.record.set(records::Field::Name, seq.EditMode ? "Edited Name" : "New Client");
        if (seq.EditMode) save(seq);  // a changed record is saved at once
        return true;
    }
    bool courtHistory(ClientSequence& seq) override {
        if (!next("court")) return false;
        seq.record.set(records::Field::Parole, "7");
        return true;
    }
    bool answerSheet(ClientSequence& seq) override {
        if (!next("answers")) return false;
        seq.record.set(records::Field::Answers, std::string(158, '1'));
        save(seq);
        return true;
    }
    void entryMethod(ClientFlows& flows) override {
        next("entry");
        if (roadOfEntryMethod == 0) flows.administerTest([this](const std::string& t) { helpLines.push_back(t); });
        if (roadOfEntryMethod == 1) flows.enterFromAnswerSheet();
    }
    std::vector<std::string> languages() override { return languagesOfBank; }
    bool selectLanguage(ClientSequence& seq, const std::vector<std::string>&) override {
        if (!next("language")) return false;
        seq.Language = "Spanish";
        return true;
    }
    bool presentTest(ClientSequence& seq) override {
        if (!next("test:" + seq.Language)) return false;
        seq.record.set(records::Field::Answers, std::string(158, '2'));
        save(seq);
        return true;
    }
    bool askSecretCode() override { return next("secret"); }
    void supervisorOptions() override { next("supervisor"); }
};

struct FlowFixture : ProgramFixture {
    FakeScreens screens{store};
    ClientFlows flows{store, screens, dialogs};
    std::string fileBytes() { return readFile(store.ClientFilePath()); }
    // A fresh drive of two clients, with nothing opened or shown yet.
    void restart(const std::vector<std::string>& names = {"Ann Lee", "Bob Roe"}) {
        useClients(names);
        screens.opened.clear();
        screens.helpLines.clear();
        dialogs.messages.clear();
    }
};

struct MainFixture : FlowFixture {
    app::Options options{settings};
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

TEST_F(FlowFixture, EditRunsEachScreenOnlyAfterTheOneBeforeWasCompleted) {
    struct Case {
        std::map<std::string, std::vector<bool>> results;
        Opened opened;
        std::string parole;  // what the drive then holds for client 2
    } cases[] = {
        {{}, {"info", "court", "answers"}, "7"},
        {{{"info", {false}}}, {"info"}, ""},
        // Court history is kept only until the answer sheet saves: leaving that screen
        // drops it, in memory as on the drive.
        {{{"court", {false}}}, {"info", "court"}, ""},
        {{{"answers", {false}}}, {"info", "court", "answers"}, ""},
    };
    for (const auto& c : cases) {
        restart();
        store.select(2);
        screens.results = c.results;
        flows.editCurrentClient();
        EXPECT_EQ(screens.opened, c.opened);
        EXPECT_EQ(onDrive().Clients[2], store.record(2)) << "memory matches the drive";
        EXPECT_EQ(store.record(2).text(records::Field::Parole), c.parole);
        EXPECT_EQ(store.NumClients(), 2);
    }
}

TEST_F(FlowFixture, AddingANewClientSavesOneRecordAtTheEndOfItsRoadAndNothingWhenLeft) {
    const std::string noLanguage = "The question bank holds no test language, so the test cannot be given. "
                                   "The new client has not been saved.";
    const std::string begin = "The test will begin as soon as you press the Enter key.";
    struct Case {
        int road;  // of the entry-method window: 0 on screen, 1 answer sheet
        std::vector<std::string> languages;
        std::map<std::string, std::vector<bool>> results;
        Opened opened, helpLines;
        std::vector<std::string> messages;
        std::string answers;  // of the new client 3; empty: none was saved
    } cases[] = {
        {1, {}, {{"info", {false}}}, {"entry", "info"}, {}, {}, ""},
        {1, {}, {{"court", {false}}}, {"entry", "info", "court"}, {}, {}, ""},
        {1, {}, {{"answers", {false}}}, {"entry", "info", "court", "answers"}, {}, {}, ""},
        // Both whole roads, the language chosen and the secret code asked until it is right,
        // are the end-to-end tests' roads. One language needs no choosing; none drops the client.
        {0, {"English"}, {{"secret", {false, true}}}, {"entry", "info", "court", "test:English", "secret", "secret"},
         {"Press the Enter key to begin.", "Enter the secret code to continue."}, {begin}, std::string(158, '2')},
        {0, {}, {}, {"entry", "info", "court"}, {}, {noLanguage}, ""},
        {0, {"English", "Spanish"}, {{"language", {false}}}, {"entry", "info", "court", "language"}, {}, {}, ""},
        {0, {"English"}, {{"test:English", {false}}}, {"entry", "info", "court", "test:English"},
         {"Press the Enter key to begin."}, {begin}, ""},
    };
    for (const auto& c : cases) {
        restart();
        const std::string before = fileBytes();
        screens.roadOfEntryMethod = c.road;
        screens.languagesOfBank = c.languages;
        screens.results = c.results;
        flows.addNewClient();
        SCOPED_TRACE(testing::PrintToString(c.opened));
        EXPECT_EQ(screens.opened, c.opened);
        EXPECT_EQ(screens.helpLines, c.helpLines);
        EXPECT_EQ(dialogs.texts(), c.messages);
        for (const auto& m : dialogs.messages) EXPECT_EQ(m.title, "Kestrel Conduct Screening");
        if (c.answers.empty()) {
            EXPECT_EQ(fileBytes(), before);
            EXPECT_EQ(store.NumClients(), 2);
            EXPECT_EQ(store.CurClient(), 1) << "an abandoned client leaves the first current";
        } else {
            ASSERT_EQ(store.NumClients(), 3);
            EXPECT_EQ(store.CurClient(), 3);
            EXPECT_EQ(store.record(3).raw(records::Field::Answers), c.answers);
            EXPECT_EQ(fileBytes().size(), 3u * 235);
        }
    }
}

// Its first two buttons start the roads above: the end-to-end tests press them.
TEST_F(FlowFixture, TheEntryMethodWindowShowsEachButtonsHelpAndCancelClosesIt) {
    const char* helps[] = {
        "Onscreen Presentation. Enter client information then present the test on the computer.",
        "Paper-Pencil Presentation. Manually enter test information from completed answer sheet.",
        "Cancel. Do not enter a new client. Return to Main Menu.",  // the hidden third button is passed over
    };
    frmEntryMethod window(flows, fake.services);
    dialogs.onModal("frmEntryMethod", [&](QDialog& d) {
        EXPECT_EQ(kcs::test::unnamedControls(d), std::vector<std::string>{});
        for (int i = 0; i < 3; ++i) {
            if (i > 0) key(Qt::Key_Down);
            EXPECT_EQ(window.msgPanel()->text(), QString::fromUtf8(helps[i]));
        }
        key(Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    dialogs.execModal(window);
    EXPECT_EQ(screens.opened, Opened{});
}

TEST_F(MainFixture, ListShowsTheClientsAsStoredPicksOneHelpsAndCountsThem) {
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
    EXPECT_EQ(window.msgPanel()->text(), QStringLiteral("Use up or down arrow keys or mouse to select client."));
    const char* helps[] = {"Edit client's information.",
                           "Enter a new client. Test client on computer or enter data from answer sheet.",
                           "Print client report, verify data entry or delete client names.", "Quit the program."};
    for (int i = 0; i < 4; ++i) {
        button(i)->setFocus();
        EXPECT_EQ(window.msgPanel()->text(), QString::fromLatin1(helps[i]));
    }

    // "Add New Client" is refused on a full drive and allowed again with room; only a drive
    // beyond full is reported.
    useClients(std::vector<std::string>(51, "Client"));
    window.activationStep();
    EXPECT_FALSE(button(1)->isEnabled());
    window.reportOverfullDisk();
    EXPECT_TRUE(dialogs.messages.empty());
    useClients(std::vector<std::string>(50, "Client"));
    window.activationStep();
    EXPECT_TRUE(button(1)->isEnabled());
    useClients(std::vector<std::string>(60, "Client"));
    window.reportOverfullDisk();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("60 client records"), std::string::npos);
    EXPECT_NE(dialogs.messages[0].text.find("unchanged"), std::string::npos);

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
    EXPECT_EQ(screens.opened, (Opened{"info", "court", "answers"}));
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
        {'x', "lblPublisher", "Copperfield Behavioral Measures"},
    };
    for (const auto& c : cases) EXPECT_EQ(frmAbout(c.flag, QPixmap()).findChild<QLabel*>(c.label)->text(), c.text);
}
