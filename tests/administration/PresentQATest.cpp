// The on-screen test: its walk, texts and sounds without a display, then the language
// choice and the test screen driven with key events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>

#include "ScreenTestSupport.h"
#include "kcs/administration/PresentQA.h"
#include "kcs/common/SysCalls.h"
#include "kcs/test/KeyboardDriver.h"

using namespace kcs;
using namespace kcs::administration;
using namespace kcs::testutil;

namespace {

// 158 items as the bank holds them: True/False up to 99, four choices after.
std::vector<QAItem> bank() {
    std::vector<QAItem> items;
    for (int id = 1; id <= kTestItems; ++id) {
        QAItem it{id, "Statement " + std::to_string(id), "Q" + std::to_string(id), {"True", "False"}, {"T", "F"}};
        if (id > 99) {
            it.answers = {"a", "b", "c", "d"};
            it.choiceAudio = {"C1", "C2", "C3", "C4"};
        }
        items.push_back(it);
    }
    return items;
}

struct Walk {
    Walk() = default;
    explicit Walk(PresentQAForm f) : form(std::move(f)) {}
    PresentQAForm form{"English", bank(), true};
    std::vector<std::string> messages, sounds;
    int beeps = 0;
    bool finished = false;

    void take(const PresentQAForm::Effect& e) {
        for (const auto& m : e.messages) messages.push_back(m.title + ": " + m.text);
        if (!e.sound.empty()) sounds.push_back(e.sound);
        beeps += e.beep;
        finished = finished || e.finished;
    }
    // Through the introduction and the instructions up to item 1.
    Walk& begin() {
        take(form.start());
        take(form.leaveInstructions());
        take(form.leaveInstructions());
        return *this;
    }
    // Answers (choice index `choice`) until item `id` is on screen, leaving instructions.
    Walk& to(int id, int choice = 0) {
        while (!finished && (form.instructionsShown() || form.item().id != id)) {
            if (form.instructionsShown()) take(form.leaveInstructions());
            else take(form.select(choice));
        }
        return *this;
    }
};

}  // namespace

TEST(PresentQAForm, F10StepsBackOneItemKeepingItsAnswerAndNeverFinishesOrSkipsASection) {
    struct Case {
        const char* what;
        int at;                    // item on screen (0: on the introduction)
        int backs;                 // F10 presses
        int then;                  // answers after that (choice 2 each)
        int shown;                 // item on screen afterwards (0: instructions shown)
        int beeps;
        std::size_t partMessages;  // end-of-part messages after reaching `at`
        bool finished;
    } cases[] = {
        {"F10 on item 1 beeps", 1, 1, 0, 1, 1, 0, false},
        {"F10 on the introduction does nothing", 0, 1, 0, 0, 0, 0, false},
        {"back from 100 to 99; answered again: the part message and section 2 again", 100, 1, 1, 0, 0, 1, false},
        {"back from 158 to 157, then 157 and 158 finish", 158, 1, 2, 0, 0, 0, true},
        {"two steps back from 3 reach 1, then a beep", 3, 3, 0, 1, 1, 0, false},
    };
    for (const Case& c : cases) {
        Walk w;
        if (c.at == 0) w.take(w.form.start());
        else w.begin().to(c.at);
        const std::size_t before = w.messages.size();
        const std::string answersBefore = w.form.answers();
        for (int i = 0; i < c.backs; ++i) w.take(w.form.back());
        if (c.at > 1 && c.backs == 1) {
            EXPECT_EQ(w.form.item().id, c.at - 1) << c.what;
            EXPECT_EQ(w.form.answers(), answersBefore) << c.what << ": the earlier answer stays";
            EXPECT_FALSE(w.form.instructionsShown()) << c.what;
        }
        for (int i = 0; i < c.then; ++i) w.take(w.form.select(1));
        EXPECT_EQ(w.beeps, c.beeps) << c.what;
        EXPECT_EQ(w.finished, c.finished) << c.what;
        if (!c.finished) {
            EXPECT_EQ(w.form.instructionsShown() ? 0 : w.form.item().id, c.shown) << c.what;
        }
        EXPECT_EQ(w.messages.size() - before, c.partMessages + (c.finished ? 1u : 0u)) << c.what;
        if (c.finished) {
            EXPECT_EQ(w.form.answers().substr(156), "22") << c.what;
        }
    }
}

TEST(PresentQAForm, TheLanguageInAnyLetterCaseChoosesTheTextsAndTheHelpFollowsTheSound) {
    struct Case {
        const char* language;
        bool soundOn;
        const char* caption;
        const char* answerHelp;
        const char* partMessage;
    } cases[] = {
        {"English", true, "Question Presentation",
         "Press Enter to select this answer. Press Tab or Arrows to hear question again.",
         "Presentation Note: You have completed this part of the test. Press Enter to continue."},
        {"English", false, "Question Presentation", "Press Enter to select this answer.", nullptr},
        {"sPaNiSh", true, "Presentación de preguntas",
         "Ilumine la respuesta que usted escoja y luego oprima la tecla «Enter».",
         "Nota de Presentación: Usted ha terminado esta parte de la prueba. Oprima la tecla «Enter» para seguir."},
        {"Spanish", false, "Presentación de preguntas",
         "Ilumine la respuesta que usted escoja y luego oprima la tecla «Enter».", nullptr},
    };
    for (const Case& c : cases) {
        Walk w{PresentQAForm(c.language, bank(), c.soundOn)};
        EXPECT_EQ(w.form.caption(), c.caption);
        EXPECT_EQ(w.form.helpAnswer(), c.answerHelp);
        if (!c.partMessage) continue;
        w.begin().to(100);
        EXPECT_EQ(w.messages, std::vector<std::string>{c.partMessage});
        EXPECT_EQ(w.sounds, (std::vector<std::string>{"Inst0.wav", "Inst1.wav", "Inst2.wav"}));
    }
}

TEST(PresentQAForm, WaveNamesLanguagesAndSoundErrors) {
    const std::pair<std::optional<std::string>, std::string> names[] = {
        {std::nullopt, ""}, {"  ", ""}, {" Q001 ", "Q001.wav"}, {"t", "True.wav"}, {"F", "False.wav"},
        {"y", "Yes.wav"}, {"N ", "No.wav"}, {"No", "No.wav"}};
    for (const auto& [field, name] : names) EXPECT_EQ(waveName(field), name) << field.value_or("Null");

    test::TempDir dir;
    test::writeFile(dir.path() / "Q001.wav", "RIFF");
    EXPECT_EQ(soundFile(dir.path(), "Q001.wav"), dir.path() / "Q001.wav");
    EXPECT_EQ(soundFile(dir.path(), "Q002.wav"), std::nullopt);
    EXPECT_EQ(soundFile(dir.path() / "missing", "Q001.wav"), std::nullopt);

    for (int n : {52, 53, 57, 68, 75, 76}) EXPECT_TRUE(silentSoundError(n)) << n;
    for (int n : {5, 61, 70, 321}) EXPECT_FALSE(silentSoundError(n)) << n;

    using V = std::vector<std::string>;
    EXPECT_EQ(LanguageForm::languagesOf({"Norms", "English", "english", "SPANISH", "Spanish"}), (V{"English", "Spanish"}));
}

// ---------------------------------------------------------------- the screens

namespace {

struct TestScreen : ProgramFixture {
    test::TempDir sound;
    records::ClientRecord record;
    TestScreen() {
        useClients({"Ann Lee", "Bob Roe"});
        record.set(records::Field::Name, "Cy Doe");
        for (const char* name : {"Inst0", "Inst1", "Inst2", "Inst3", "Q1", "True", "False"})
            test::writeFile(sound.path() / (std::string(name) + ".wav"), "RIFF");
    }
    std::vector<std::string> played() const {
        std::vector<std::string> names;
        for (const auto& p : fake.audio.played) names.push_back(p.filename().string());
        return names;
    }
    // Answers every item from the keyboard: item i gets choice i % choices.
    static std::string answerAll(frmPresentQA& screen) {
        std::string chosen;
        while (screen.isVisible()) {
            if (focused() == screen.instructions()) {
                key(Qt::Key_Return);
                continue;
            }
            const int choice = screen.form().item().id % screen.form().choices();
            chosen += static_cast<char>('1' + choice);
            key(Qt::Key_Down);
            for (int i = 0; i < choice; ++i) key(Qt::Key_Down);
            key(Qt::Key_Return);
        }
        return chosen;
    }
};

}  // namespace

TEST_F(TestScreen, TheClientAnswersByKeysHearsEachStepAndTheRecordIsSaved) {
    frmPresentQA screen("English", bank(), sound.path(), 3, record, store, fake.services);
    for (int i = 0; i < 3; ++i) dialogs.answer(MsgAnswer::Ok);
    std::string chosen;
    dialogs.onModal("frmPresentQA", [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Question Presentation"));
        EXPECT_EQ(test::unnamedControls(d), std::vector<std::string>{});
        ASSERT_EQ(focused(), screen.instructions());
        EXPECT_EQ(screen.msgPanel()->text(), QStringLiteral("When ready press Enter to continue."));
        key(Qt::Key_Return);
        key(Qt::Key_Return);
        ASSERT_EQ(focused(), screen.question());
        EXPECT_TRUE(screen.msgPanel()->text().startsWith(QStringLiteral("Use Up or Down arrow keys")));
        // Two choices: Tab and the arrows cycle between them and never reach a hidden row.
        for (Qt::Key k : {Qt::Key_Down, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Down, Qt::Key_Down}) key(k);
        EXPECT_EQ(focused(), screen.buttons().button(0));
        EXPECT_TRUE(screen.answerText(0)->font().bold());
        EXPECT_EQ(screen.msgPanel()->text(),
                  QStringLiteral("Press Enter to select this answer. Press Tab or Arrows to hear question again."));
        key(Qt::Key_Up);
        EXPECT_EQ(focused(), screen.question());
        key(Qt::Key_F10);  // item 1: the bell
        chosen = answerAll(screen);
    });
    dialogs.execModal(screen);
    EXPECT_TRUE(screen.completed());
    EXPECT_EQ(fake.beeper.beeps, 1);
    const std::string part = "You have completed this part of the test. Press Enter to continue.";
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{part, part, "You have completed the test. Thank you for "
                                                                     "your participation.\r\rPress Enter to continue."}));
    ASSERT_EQ(store.NumClients(), 3);
    EXPECT_EQ(store.record(3).raw(records::Field::Answers), chosen);
    EXPECT_EQ(record, store.record(3));
    std::vector<std::string> start = played();
    start.resize(9);
    EXPECT_EQ(start, (std::vector<std::string>{"Inst0.wav", "Inst1.wav", "Q1.wav", "True.wav", "False.wav", "True.wav",
                                                "False.wav", "True.wav", "Q1.wav"}));
}

TEST_F(TestScreen, WithoutSoundTheHelpSaysLessAndAltShiftF10WritesNothing) {
    fake.audio.present = false;
    const std::string before = readFile(store.ClientFilePath());
    frmPresentQA screen("Spanish", bank(), sound.path(), 3, record, store, fake.services);
    dialogs.onModal("frmPresentQA", [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Presentación de preguntas"));
        key(Qt::Key_Escape);  // the client cannot leave the test by accident
        key(Qt::Key_Return);
        key(Qt::Key_Return);
        key(Qt::Key_Down);
        EXPECT_EQ(screen.msgPanel()->text(),
                  QStringLiteral("Ilumine la respuesta que usted escoja y luego oprima la tecla «Enter»."));
        EXPECT_TRUE(d.isVisible());
        key(Qt::Key_F10, Qt::AltModifier | Qt::ShiftModifier);
        EXPECT_FALSE(d.isVisible());
    });
    dialogs.execModal(screen);
    EXPECT_FALSE(screen.completed());
    EXPECT_TRUE(fake.audio.played.empty());
    EXPECT_EQ(readFile(store.ClientFilePath()), before);
    EXPECT_EQ(record, records::ClientRecord());
}

TEST_F(TestScreen, AFailedSaveOfTheFinishedTestIsTriedAgainUntilItWorksOrIsGivenUp) {
    struct Case {
        bool refuseOnce;
        std::vector<MsgAnswer> afterFailure;
        bool saved;
    } cases[] = {
        {true, {MsgAnswer::Ok}, true},
        // Cancel asks whether to give up; No (or Escape) tries again.
        {false, {MsgAnswer::Cancel, MsgAnswer::No, MsgAnswer::Cancel, MsgAnswer::Yes}, false},
    };
    for (const Case& c : cases) {
        useClients({"Ann Lee", "Bob Roe"});
        const std::string before = readFile(store.ClientFilePath());
        dialogs.messages.clear();
        records::ClientRecord working = record;
        frmPresentQA screen("English", bank(), sound.path(), 3, working, store, fake.services);
        for (int i = 0; i < 3; ++i) dialogs.answer(MsgAnswer::Ok);
        for (MsgAnswer a : c.afterFailure) dialogs.answer(a);
        int calls = 0;
        sys::setFaultHook([&](std::string_view) { return c.refuseOnce && calls++ > 0 ? 0 : EROFS; });
        dialogs.onModal("frmPresentQA", [&](QDialog&) { answerAll(screen); });
        dialogs.execModal(screen);
        sys::setFaultHook(nullptr);
        EXPECT_EQ(screen.completed(), c.saved);
        EXPECT_EQ(dialogs.answersLeft(), 0u);
        ASSERT_GE(dialogs.messages.size(), 4u);
        EXPECT_EQ(dialogs.messages[3].title, "Data Disk Error");
        EXPECT_NE(dialogs.messages[3].text.find("The client's answers have not been saved."), std::string::npos);
        EXPECT_EQ(store.NumClients(), c.saved ? 3 : 2);
        if (!c.saved) {
            EXPECT_EQ(readFile(store.ClientFilePath()), before);
        }
    }
}

TEST_F(TestScreen, TheLanguageWindowChoosesByKeysAndCancelDropsOnlyANewClient) {
    struct Case {
        bool editMode;
        int downs;  // from the first button; the hidden third one is passed over
        bool completed;
        std::string language;
        bool recordKept;
    } cases[] = {
        {false, 1, true, "Spanish", true},
        {false, 2, false, "", false},
        {true, 2, false, "", true},
    };
    for (const Case& c : cases) {
        records::ClientRecord working = record;
        frmSelectLanguage screen({"English", "Spanish"}, c.editMode, working, fake.services);
        dialogs.onModal("frmSelectLanguage", [&](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Select Presentation Language"));
            ASSERT_EQ(focused(), screen.buttons().button(0));
            EXPECT_EQ(screen.msgPanel()->text(), QStringLiteral("Present in English"));
            for (int i = 0; i < c.downs; ++i) key(Qt::Key_Down);
            key(Qt::Key_Return);
        });
        dialogs.execModal(screen);
        EXPECT_EQ(screen.completed(), c.completed);
        EXPECT_EQ(screen.Language(), c.language);
        EXPECT_EQ(working == record, c.recordKept);
    }
}
