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
    PresentQAForm form{"English", bank(), true};
    std::vector<std::string> messages{}, sounds{};
    int beeps = 0;
    bool finished = false;

    void take(const PresentQAForm::Effect& e) {
        for (const auto& m : e.messages) messages.push_back(m.title + ": " + m.text);
        if (!e.sound.empty()) sounds.push_back(e.sound);
        beeps += e.beep;
        finished = finished || e.finished;
    }
    // From the introduction, answering the first choice, until item `id` is on screen.
    Walk& to(int id) {
        take(form.start());
        while (!finished && (form.instructionsShown() || form.item().id != id))
            take(form.instructionsShown() ? form.leaveInstructions() : form.select(0));
        return *this;
    }
};

}  // namespace

TEST(PresentQAForm, F10StepsBackOneItemAndNeverFinishesOrSkipsASection) {
    // What is done; the item on screen (0: the introduction), F10 presses, answers then given (choice 2),
    // the item on screen afterwards (0: instructions), bells, end-of-part messages after `at`.
    const std::tuple<const char*, int, int, int, int, int, std::size_t, bool> cases[] = {
        {"F10 on the introduction does nothing", 0, 1, 0, 0, 0, 0, false},
        {"back from 100 to 99; answered again: the part message and section 2 again", 100, 1, 1, 0, 0, 1, false},
        {"back from 158 to 157, then 157 and 158 finish", 158, 1, 2, 0, 0, 0, true},
        {"two steps back from 3 reach 1, then a beep", 3, 3, 0, 1, 1, 0, false},
    };
    for (const auto& [what, at, backs, then, shown, beeps, partMessages, finished] : cases) {
        SCOPED_TRACE(what);
        Walk w;
        if (at == 0) w.take(w.form.start());
        else w.to(at);
        const std::size_t before = w.messages.size();
        for (int i = 0; i < backs; ++i) w.take(w.form.back());
        for (int i = 0; i < then; ++i) w.take(w.form.select(1));
        EXPECT_EQ(w.beeps, beeps);
        EXPECT_EQ(w.finished, finished);
        EXPECT_EQ(finished || w.form.instructionsShown() ? 0 : w.form.item().id, shown);
        EXPECT_EQ(w.messages.size() - before, partMessages + (finished ? 1u : 0u));
        EXPECT_EQ(w.form.answers().substr(156), finished ? "22" : "00");
    }
}

TEST(PresentQAForm, TheLanguageInAnyLetterCaseChoosesTheTextsAndTheHelpFollowsTheSound) {
    // The language, sound on, the caption, the answer's help line, the end-of-part box.
    const std::tuple<const char*, bool, const char*, const char*, const char*> cases[] = {
        {"English", true, "Question Presentation",
         "Press Enter to select this answer. Press Tab or Arrows to hear question again.",
         "Presentation Note: You have completed this part of the test. Press Enter to continue."},
        {"English", false, "Question Presentation", "Press Enter to select this answer.", nullptr},
        {"sPaNiSh", true, "Presentación de preguntas",
         "Ilumine la respuesta que usted escoja y luego oprima la tecla «Enter».",
         "Nota de Presentación: Usted ha terminado esta parte de la prueba. Oprima la tecla «Enter» para seguir."},
    };
    for (const auto& [language, soundOn, caption, answerHelp, partMessage] : cases) {
        Walk w{PresentQAForm(language, bank(), soundOn)};
        EXPECT_EQ(w.form.caption(), caption);
        EXPECT_EQ(w.form.helpAnswer(), answerHelp);
        if (!partMessage) continue;
        w.to(100);
        EXPECT_EQ(w.messages, std::vector<std::string>{partMessage});
        EXPECT_EQ(w.sounds, (std::vector<std::string>{"Inst0.wav", "Inst1.wav", "Inst2.wav"}));
    }
}

TEST(PresentQAForm, WaveNamesLanguagesAndSoundErrors) {
    const std::pair<std::optional<std::string>, std::string> names[] = {{std::nullopt, ""}, {"  ", ""},
        {" Q001 ", "Q001.wav"}, {"t", "True.wav"}, {"F", "False.wav"}, {"y", "Yes.wav"}, {"N ", "No.wav"}, {"No", "No.wav"}};
    for (const auto& [field, name] : names) EXPECT_EQ(waveName(field), name) << field.value_or("Null");
    // A missing sound file is passed over (the screen test plays from a folder without most
    // items' files); a missing file or device is silent; a file that is not a wave file is shown.
    EXPECT_TRUE(silentSoundError(53) && silentSoundError(68) && !silentSoundError(321) && !silentSoundError(5));
    EXPECT_EQ(LanguageForm::languagesOf({"Norms", "English", "english", "SPANISH", "Spanish"}),
              (std::vector<std::string>{"English", "Spanish"}));
}

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
};

}  // namespace

TEST_F(TestScreen, TheClientMovesByKeysHearsEachStepAndOnlyAltShiftF10EndsTheTestWritingNothing) {
    const std::string before = readFile(store.ClientFilePath());
    frmPresentQA screen("English", bank(), sound.path(), 3, record, store, fake.services);
    dialogs.onModal("frmPresentQA", [&](QDialog& d) {
        EXPECT_EQ(test::unnamedControls(d), std::vector<std::string>{});
        ASSERT_EQ(focused(), screen.instructions());
        EXPECT_EQ(screen.msgPanel()->text(), QStringLiteral("When ready press Enter to continue."));
        for (Qt::Key k : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Return}) key(k);
        ASSERT_EQ(focused(), screen.question());
        // Two choices: Tab and the arrows cycle between them and never reach a hidden row.
        for (Qt::Key k : {Qt::Key_Down, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Down, Qt::Key_Down}) key(k);
        EXPECT_EQ(focused(), screen.buttons().button(0));
        for (Qt::Key k : {Qt::Key_Up, Qt::Key_F10, Qt::Key_Escape}) key(k);  // F10 on item 1: the bell
        EXPECT_EQ(focused(), screen.question());
        d.reject();
        EXPECT_FALSE(d.close());
        EXPECT_TRUE(d.isVisible()) << "the client cannot leave the test by accident";
        key(Qt::Key_F10, Qt::AltModifier | Qt::ShiftModifier);
        EXPECT_FALSE(d.isVisible());
    });
    dialogs.execModal(screen);
    EXPECT_FALSE(screen.completed());
    EXPECT_EQ(fake.beeper.beeps, 1);
    EXPECT_EQ(readFile(store.ClientFilePath()), before);
    EXPECT_EQ(record, records::ClientRecord());
    std::vector<std::string> heard;
    for (const auto& p : fake.audio.played) heard.push_back(p.filename().string());
    EXPECT_EQ(heard, (std::vector<std::string>{"Inst0.wav", "Inst1.wav", "Q1.wav", "True.wav", "False.wav", "True.wav",
                                                "False.wav", "True.wav", "Q1.wav"}));
}

TEST_F(TestScreen, AFailedSaveOfTheFinishedTestIsTriedAgainUntilItWorksOrIsGivenUp) {
    // Refused once, then saved; or refused for good (here on a system without sound):
    // Cancel asks whether to give up, and No (or Escape) tries again.
    for (bool refuseOnce : {true, false}) {
        useClients({"Ann Lee", "Bob Roe"});
        const std::string before = readFile(store.ClientFilePath());
        dialogs.messages.clear();
        fake.audio.present = refuseOnce;
        fake.audio.played.clear();
        records::ClientRecord working = record;
        frmPresentQA screen("English", bank(), sound.path(), 3, working, store, fake.services);
        for (int i = 0; i < 3; ++i) dialogs.answer(MsgAnswer::Ok);
        using enum MsgAnswer;
        for (MsgAnswer a : refuseOnce ? std::vector{Ok} : std::vector{Cancel, No, Cancel, Yes}) dialogs.answer(a);
        int calls = 0;
        sys::setFaultHook([&](std::string_view) { return refuseOnce && calls++ > 0 ? 0 : EROFS; });
        std::string chosen;
        dialogs.onModal("frmPresentQA", [&](QDialog&) {
            while (screen.isVisible()) {  // every item answered from the keyboard: item i gets choice i % choices
                if (focused() != screen.instructions()) {
                    const int choice = screen.form().item().id % screen.form().choices();
                    chosen += static_cast<char>('1' + choice);
                    for (int i = 0; i <= choice; ++i) key(Qt::Key_Down);
                }
                key(Qt::Key_Return);
            }
        });
        dialogs.execModal(screen);
        sys::setFaultHook(nullptr);
        EXPECT_EQ(screen.completed(), refuseOnce);
        EXPECT_EQ(dialogs.answersLeft(), 0u);
        const auto& shown = dialogs.messages;  // two end-of-part boxes, the end of the test, the refusal
        ASSERT_GE(shown.size(), 4u);
        EXPECT_EQ(shown[2].text,
                  "You have completed the test. Thank you for your participation.\r\rPress Enter to continue.");
        EXPECT_EQ(shown[3].title, "Data Disk Error");
        EXPECT_NE(shown[3].text.find("The client's answers have not been saved."), std::string::npos);
        EXPECT_EQ(fake.audio.played.empty(), !refuseOnce);
        EXPECT_EQ(readFile(store.ClientFilePath()) == before, !refuseOnce);
        ASSERT_EQ(store.NumClients(), refuseOnce ? 3 : 2);
        if (!refuseOnce) continue;
        EXPECT_EQ(store.record(3).raw(records::Field::Answers), chosen);
        EXPECT_EQ(working, store.record(3));
    }
}

TEST_F(TestScreen, TheLanguageWindowsCancelChoosesNoLanguage) {
    // Choosing a language by keys is driven end to end (tests/e2e). Cancel only reports that
    // none was chosen: the new client, not saved yet, is the sequence's to drop.
    frmSelectLanguage screen({"English", "Spanish"}, false, record, fake.services);
    dialogs.onModal("frmSelectLanguage", [&](QDialog&) {
        ASSERT_EQ(focused(), screen.buttons().button(0));
        EXPECT_EQ(screen.msgPanel()->text(), QStringLiteral("Present in English"));
        // Down twice reaches Cancel: the hidden third button is passed over.
        for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}) key(k);
    });
    dialogs.execModal(screen);
    EXPECT_FALSE(screen.completed());
    EXPECT_EQ(screen.Language(), "");
}
