// The sequences of screens, driven through a fake opener: which screen comes after which,
// what reaches the client store, and what a sequence left half-way leaves behind.
#include <gtest/gtest.h>

#include <map>

#include <QApplication>
#include <QTest>

#include "ScreenTestSupport.h"
#include "kcs/menus/EntryMethod.h"
#include "kcs/menus/Flows.h"
#include "kcs/test/KeyboardDriver.h"

using namespace kcs;
using namespace kcs::menus;
using namespace kcs::testutil;

namespace {

// Each screen answers from a script: completed or not, and what it does to the sequence
// (a screen that saves does so through the store, as the real ones do).
struct FakeScreens : Screens {
    app::ClientStore& store;
    std::vector<std::string> opened;
    std::map<std::string, std::vector<bool>> results;  // per screen, in order; missing: true
    std::vector<std::string> languagesOfBank{"English", "Spanish"};
    int roadOfEntryMethod = -1;  // 0 on screen, 1 answer sheet, -1 cancel
    std::vector<std::string> helpLines;

    explicit FakeScreens(app::ClientStore& s) : store(s) {}

    bool next(const std::string& screen) {
        opened.push_back(screen);
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
        opened.push_back("entry");
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
    void supervisorOptions() override { opened.push_back("supervisor"); }
};

struct FlowFixture : ProgramFixture {
    FakeScreens screens{store};
    ClientFlows flows{store, screens, dialogs};
    FlowFixture() {
        useClients({"Ann Lee", "Bob Roe"});
    }
    std::string fileBytes() { return readFile(store.ClientFilePath()); }
};

using Opened = std::vector<std::string>;

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
        useClients({"Ann Lee", "Bob Roe"});
        store.select(2);
        screens.opened.clear();
        screens.results = c.results;
        flows.editCurrentClient();
        EXPECT_EQ(screens.opened, c.opened);
        app::ClientStore fromDisk;
        fromDisk.useDrive("disk", store.ClientFilePath(), 'b', {}, {});
        fromDisk.reload();
        EXPECT_EQ(fromDisk.table().Clients[2], store.record(2)) << "memory matches the drive";
        EXPECT_EQ(store.record(2).text(records::Field::Parole), c.parole);
        EXPECT_EQ(store.NumClients(), 2);
    }
}

TEST_F(FlowFixture, AddingFromAnAnswerSheetSavesOneNewRecordAndCancelsWriteNothing) {
    const std::string before = fileBytes();
    for (const char* stop : {"info", "court", "answers"}) {
        screens.results = {{stop, {false}}};
        screens.roadOfEntryMethod = 1;
        flows.addNewClient();
        EXPECT_EQ(fileBytes(), before) << stop;
        EXPECT_EQ(store.NumClients(), 2);
    }
    screens.opened.clear();
    flows.addNewClient();
    EXPECT_EQ(screens.opened, (Opened{"entry", "info", "court", "answers"}));
    ASSERT_EQ(store.NumClients(), 3);
    EXPECT_EQ(store.CurClient(), 3);
    EXPECT_EQ(store.record(3).text(records::Field::Name), "New Client");
    EXPECT_EQ(fileBytes().size(), 3u * 235);
}

TEST_F(FlowFixture, AdministeringTheTestChoosesALanguageThenAsksTheCodeUntilItIsRight) {
    screens.roadOfEntryMethod = 0;
    screens.results = {{"secret", {false, false, true}}};
    dialogs.answer(MsgAnswer::Ok);
    flows.addNewClient();
    EXPECT_EQ(screens.opened, (Opened{"entry", "info", "court", "language", "test:Spanish", "secret", "secret", "secret"}));
    EXPECT_EQ(screens.helpLines, (Opened{"Press the Enter key to begin.", "Enter the secret code to continue."}));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "The test will begin as soon as you press the Enter key.");
    EXPECT_EQ(dialogs.messages[0].title, "Kestrel Conduct Screening");
    EXPECT_EQ(store.record(3).raw(records::Field::Answers), std::string(158, '2'));
}

TEST_F(FlowFixture, OneLanguageSkipsTheWindowAndNoLanguageDropsTheClient) {
    screens.roadOfEntryMethod = 0;
    screens.languagesOfBank = {"English"};
    dialogs.answer(MsgAnswer::Ok);
    flows.addNewClient();
    EXPECT_EQ(screens.opened, (Opened{"entry", "info", "court", "test:English", "secret"}));

    const std::string before = fileBytes();
    screens.opened.clear();
    screens.languagesOfBank = {};
    flows.addNewClient();
    EXPECT_EQ(screens.opened, (Opened{"entry", "info", "court"}));
    EXPECT_EQ(fileBytes(), before);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[1].text.find("holds no test language"), std::string::npos);
    EXPECT_EQ(store.CurClient(), 1);
}

TEST_F(FlowFixture, AFullDriveNeverGetsAFiftySecondClient) {
    useClients(std::vector<std::string>(51, "Client"));
    const std::string before = fileBytes();
    screens.roadOfEntryMethod = 1;
    flows.addNewClient();
    flows.enterFromAnswerSheet();
    EXPECT_TRUE(screens.opened.empty());
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(FlowFixture, TheEntryMethodWindowRunsTheRoadOfTheChosenButtonAndCloses) {
    struct Case {
        int downs;  // from the first button; the hidden third one is passed over
        const char* help;
        Opened opened;
    } cases[] = {
        {0, "Onscreen Presentation. Enter client information then present the test on the computer.",
         {"info", "court", "language", "test:Spanish", "secret"}},
        {1, "Paper-Pencil Presentation. Manually enter test information from completed answer sheet.",
         {"info", "court", "answers"}},
        {2, "Cancel. Do not enter a new client. Return to Main Menu.", {}},
    };
    for (const Case& c : cases) {
        screens.opened.clear();
        if (c.downs == 0) dialogs.answer(MsgAnswer::Ok);  // the test begins with Enter
        frmEntryMethod window(flows, fake.services);
        dialogs.onModal("frmEntryMethod", [&](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Entry Method"));
            EXPECT_EQ(kcs::test::unnamedControls(d), std::vector<std::string>{});
            for (int i = 0; i < c.downs; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            EXPECT_EQ(window.msgPanel()->text(), QString::fromUtf8(c.help));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            EXPECT_FALSE(d.isVisible());
        });
        dialogs.execModal(window);
        EXPECT_EQ(screens.opened, c.opened);
    }
    EXPECT_EQ(store.NumClients(), 4);
}
