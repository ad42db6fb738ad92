#pragma once
// The on-screen test without widgets: the walk through the 158 items of one language
// table (section instructions before items 1, 100 and 136, end-of-part messages after
// items 99 and 135, F10 stepping back one item), every text the client sees in English
// or Spanish, the sound each moment speaks, and the answer string the test produces.
// Also the language choice's rules.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kcs/app/Services.h"
#include "kcs/questionbank/QuestionBank.h"

namespace kcs::administration {

inline constexpr int kTestItems = 158;
// Last item of sections 1, 2 and 3.
inline constexpr int kSectionEnd[4] = {0, 99, 135, 158};

// ---------------------------------------------------------------- language choice

struct LanguageForm {
    static constexpr int kLanguageButtons = 3;
    static constexpr int kCancelButton = 3;
    // The tables of the bank that are test languages, in the bank's order: exactly
    // "English" or "Spanish" (letter case counts), at most one button each.
    static std::vector<std::string> languagesOf(const std::vector<std::string>& tableNames);
    // Button captions: the languages found, then the design captions of the rest.
    static std::vector<std::string> captions(const std::vector<std::string>& languages);
    static std::string helpLine(int button, const std::string& caption);
};

// ---------------------------------------------------------------- presentation

// One row of a language table as the presentation needs it.
struct QAItem {
    int id = 0;
    std::string question;
    std::optional<std::string> questionAudio;
    std::vector<std::string> answers;  // the choices offered: 2 to 5
    std::vector<std::optional<std::string>> choiceAudio;
};

// Every row of the open language table; a table that is not items 1 to 158 is refused
// (kcs::RunError 3343), as is one without the fields of a language table (3265).
std::vector<QAItem> readQAItems(questionbank::Recordset& table);

// The wave file a bank's audio field names: the value trimmed, ".wav" added; "T", "F",
// "Y", "N" stand for True, False, Yes, No. Empty for a Null or blank field (silence).
std::string waveName(const std::optional<std::string>& field);
// The file to play from the sound folder; nullopt (silence) when the name is empty or no
// such file exists.
std::optional<std::filesystem::path> soundFile(const std::filesystem::path& soundFolder, const std::string& name);
// Errors of playback that end the attempt silently (bad name, not found, device error,
// device unavailable, path or file access, path not found); any other is shown.
bool silentSoundError(int number);

class PresentQAForm {
public:
    enum class Focus { None, Instructions, Question, Answer0 };

    // What the screen does after a step, in this order: ring the bell, stop the sound,
    // show `messages` with the question hidden (after clearing the help line), then show
    // the state, play `sound`, move the focus. `finished`: the 158th answer is in; save.
    struct Effect {
        bool beep = false;
        bool stopSound = false;
        std::vector<app::Message> messages;
        std::string sound;
        Focus focus = Focus::None;
        bool finished = false;
    };

    // `items` in table order; `soundOn`: the system can play sound.
    PresentQAForm(std::string language, std::vector<QAItem> items, bool soundOn);

    bool spanish() const { return spanish_; }
    bool soundOn() const { return soundOn_; }
    const std::string& language() const { return language_; }

    std::string caption() const;
    static std::string instructionText(int section, bool spanish);
    std::string helpInstructions() const;
    std::string helpQuestion() const;
    std::string helpAnswer() const;

    // The state on screen.
    bool instructionsShown() const { return instructionsShown_; }
    int instructionSection() const { return section_; }
    bool questionShown() const { return questionShown_; }
    const QAItem& item() const { return items_.at(static_cast<std::size_t>(pos_)); }
    std::string questionText() const;
    int choices() const { return static_cast<int>(item().answers.size()); }

    // Activation: the general introduction.
    Effect start();
    // Enter or Tab on an instruction screen.
    Effect leaveInstructions();
    // Choice `index` (0-based) of the item on screen selected.
    Effect select(int index);
    // F10.
    Effect back();

    // Sounds of a focus change: the statement, or choice `index`.
    std::string questionSound() const { return waveName(item().questionAudio); }
    std::string choiceSound(int index) const;
    // Up, Down or Tab (step -1 or +1) on answer `index`: the answer that gets the focus,
    // cycling among the shown ones; -1 for the question box (Up on the first answer).
    int moveFrom(int index, int step, bool arrow) const;

    int response(int item) const { return responses_.at(static_cast<std::size_t>(item)); }
    // Character i is item i's answer, "0" where there is none.
    std::string answers() const;

private:
    Effect showInstructions(int section, Effect e);
    // Advances to the next item (or, while going back, re-shows the one after the record
    // position) and fills the screen; finishes after the last item.
    void getNextQuestion(Effect& e);

    std::string language_;
    bool spanish_;
    bool soundOn_;
    std::vector<QAItem> items_;
    std::vector<int> responses_;
    long pos_ = -1;  // the record position, -1 before the first
    int questionNumber_ = 0;
    bool firstQuestion_ = true;
    bool goingBack_ = false;
    bool introPending_ = false;
    bool instructionsShown_ = false;
    bool questionShown_ = false;
    int section_ = 0;
};

}  // namespace kcs::administration
