#include "kcs/administration/PresentQAForm.h"

#include <algorithm>
#include <cctype>

#include "kcs/common/RunError.h"

namespace kcs::administration {

namespace {

constexpr const char* B = "\r\n";

std::string trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return std::string(s);
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

const std::string kEnglishIntro = std::string(B) +
    "Many statements in this inventory are personal.  Your answers will be considered "
    "confidential.  Answer each statement truthfully and honestly.  Your court "
    "records may be used to check your answers.  Any dishonesty will likely "
    "be detected." + B + B +
    "A series of questions will be presented.  Read each statement carefully and "
    "choose the answer that is accurate for you.  Once your answer is selected you "
    "should depress the Down Arrow key to highlight the answer you selected and then "
    "press the Enter key.  An answer is highlighted when it has light blue around it." + B + B +
    "You may use the Up and Down Arrow keys to change your answers, but be sure the answer you "
    "selected is highlighted before you press  the Enter key. You may also use the Tab key to "
    "have the question repeated." + B + B +
    "Alcohol or drinking refers to beer, wine and other liquor.  Drugs refers to both "
    "prescription drugs and non-prescription drugs like marijuana (pot), cocaine "
    "(coke), crack, amphetamines, barbiturates and heroin." + B + B +
    "If you have any questions, ask the  testing supervisor for help.  When you understand these "
    "instructions, you may begin. Press the Enter key to begin.";

const std::string kEnglishSection1 = std::string("The statements in this section are to be answered TRUE or FALSE.") + B + B +
    "If a statement is TRUE highlight \"True\" then press Enter." + B + B +
    "If a statement is FALSE highlight \"False\" then press Enter." + B + B + "     Press Enter to begin.";

const std::string kEnglishSection2 = std::string(
    "The next series of statements contain items you should rate to "
    "describe yourself.  Rate each statement by selecting the answer that "
    "is accurate for you.  For example:") + B + B +
    "                   Rare or Never" + B + "                   Sometimes" + B + "                   Often" + B +
    "                   Very Often" + B + B + "Highlight the answer you select, then press Enter." + B + B +
    "     Press Enter to begin.";

const std::string kEnglishSection3 = std::string(
    "The statements in this section describe you or your situation. Highlight "
    "the answer (1, 2, 3 or 4) that is accurate for you, then press Enter. ") + B + B + "     Press Enter to begin.";

const std::string kSpanishIntro = std::string(B) +
    "     Varias oraciones que aparecen en este cuaderno son de carácter íntimo.  "
    "Sus respuestas se mantendrán en secreto. Conteste cada oración de forma "
    "veraz y honesta. Se pudiera recurrir a sus expedientes judiciales "
    "para confirmar sus respuestas. De seguro se detectará cualquier "
    "deshonestidad." + B +
    "     Se le van a presentar varias preguntas. Lea cada oración con "
    "cuidado y escoja la contestación que más le acierte a usted. Una vez usted "
    "haya escogido su contestación, debe usted apretar la tecla con la flecha "
    "Hacia Abajo para así iluminar la contestación que usted ha escogido. "
    "Y luego apriete la tecla «Enter». La contestación se ilumina cuando tiene "
    "color azul claro brillando alrededor de ella." + B +
    "     Usted puede usar las flechas Hacia Arriba y Hacia Abajo en sus teclas "
    "para cambiar las contestaciones. Pero asegúrese de que la contestación que "
    "usted escoja esté iluminada antes de que usted apriete la tecla «Enter». "
    "Además, usted puede utilizar la tecla «Tab» para que le repitan la "
    "pregunta." + B +
    "     «El licor» o «la bebida» implica cerveza, vino u otros destilados. "
    "«Las drogas» significa tanto las recetadas como las sancionadas, tales "
    "como: la marihuana (fuma o mota), cocaína (coca o perico), «crack» (piedra), "
    "anfetaminas, barbitúricos y heroína." + B +
    "     Si tuviera alguna duda, pregúntele al encargado de administrar la prueba "
    "para que le ayude. Cuando entienda bien estas instrucciones, puede comenzar. "
    "Oprima la tecla «Enter» para comenzar.";

const std::string kSpanishSection1 =
    "Las oraciones de esta sección deben contestarse con «Cierto» o "
    "«Falso». Si la oración es cierta, ilumine el área que "
    "dice «Cierto» y entonces apriete «Enter». Si la oración es falsa, "
    "ilumine el  área que dice «Falso» y entonces apriete «Enter». "
    "Oprima la tecla «Enter» para comenzar.";

const std::string kSpanishSection2 = std::string(
    "Escoja la respuesta que más le acierte a usted al presente. "
    "Ilumine la respuesta que usted escoja en la pantalla y luego "
    "oprima la tecla «Enter». Use la escala de valores siguiente:") + B + B +
    "            1. Rara o nunca" + B + "            2. Algunas veces" + B + "            3. Frecuente" + B +
    "            4. Muy Frecuente";

const std::string kSpanishSection3 =
    "Las oraciones de esta sección deben describir su persona o circunstancias. "
    "Ilumine el número de la contestación que usted escoja y que más le acierte: "
    "1, 2, 3 ó 4. Luego oprima la tecla «Enter».";

}  // namespace

// ---------------------------------------------------------------- language choice

std::vector<std::string> LanguageForm::languagesOf(const std::vector<std::string>& tableNames) {
    std::vector<std::string> found;
    for (const std::string& name : tableNames)
        if ((name == "English" || name == "Spanish") && std::find(found.begin(), found.end(), name) == found.end())
            found.push_back(name);
    return found;
}

std::vector<std::string> LanguageForm::captions(const std::vector<std::string>& languages) {
    std::vector<std::string> c{"One", "Two", "Three"};
    for (std::size_t i = 0; i < languages.size() && i < c.size(); ++i) c[i] = languages[i];
    c.push_back("Cancel Presentation");
    return c;
}

std::string LanguageForm::helpLine(int button, const std::string& caption) {
    return button == kCancelButton ? "Cancel presentation" : "Present in " + caption;
}

// ---------------------------------------------------------------- the bank's rows

std::vector<QAItem> readQAItems(questionbank::Recordset& table) {
    std::vector<QAItem> items;
    if (table.RecordCount() > 0) table.MoveFirst();
    for (; !table.IsEOF(); table.MoveNext()) {
        QAItem item;
        item.id = std::stoi(table.Field("ID").value_or("0"));
        item.question = table.Field("TestQuestion").value_or("");
        item.questionAudio = table.Field("QuestionAudio");
        for (int k = 1; k <= 5; ++k) {
            const std::string n = std::to_string(k);
            const auto text = table.Field("ANSWER" + n);
            // Choices 1 and 2 are always offered; the others only when they have a text.
            if (k > 2 && !text) continue;
            item.answers.push_back(text.value_or(""));
            item.choiceAudio.push_back(table.Field("ChoiceAudio" + n));
        }
        items.push_back(std::move(item));
    }
    if (items.size() != static_cast<std::size_t>(kTestItems))
        throw RunError(err::BankUnrecognizedFormat, "The question bank table does not hold the " +
                                                        std::to_string(kTestItems) + " items of the test");
    return items;
}

std::string waveName(const std::optional<std::string>& field) {
    if (!field) return {};
    const std::string name = trimmed(*field);
    if (name.empty()) return {};
    const std::string u = upper(name);
    if (u == "T") return "True.wav";
    if (u == "F") return "False.wav";
    if (u == "Y") return "Yes.wav";
    if (u == "N") return "No.wav";
    return name + ".wav";
}

std::optional<std::filesystem::path> soundFile(const std::filesystem::path& soundFolder, const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos) return std::nullopt;
    const std::filesystem::path file = soundFolder / name;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
    return file;
}

bool silentSoundError(int number) {
    switch (number) {
    case err::BadFileName:
    case err::FileNotFound:
    case err::DeviceIO:
    case err::DeviceUnavailable:
    case err::PathFileAccess:
    case err::PathNotFound:
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------- presentation

PresentQAForm::PresentQAForm(std::string language, std::vector<QAItem> items, bool soundOn)
    : language_(std::move(language)),
      spanish_(upper(language_) == "SPANISH"),
      soundOn_(soundOn),
      items_(std::move(items)),
      responses_(kTestItems + 1, 0) {
    // Item 1 fills the question area at once; the introduction will cover it.
    Effect unused;
    getNextQuestion(unused);
    instructionsShown_ = true;
}

std::string PresentQAForm::caption() const {
    return spanish_ ? "Presentación de preguntas" : "Question Presentation";
}

std::string PresentQAForm::instructionText(int section, bool spanish) {
    static const std::string* texts[2][4] = {
        {&kEnglishIntro, &kEnglishSection1, &kEnglishSection2, &kEnglishSection3},
        {&kSpanishIntro, &kSpanishSection1, &kSpanishSection2, &kSpanishSection3}};
    return *texts[spanish ? 1 : 0][std::clamp(section, 0, 3)];
}

std::string PresentQAForm::helpInstructions() const {
    return spanish_ ? "Oprima la tecla «Enter» para seguir." : "When ready press Enter to continue.";
}

std::string PresentQAForm::helpQuestion() const {
    return spanish_ ? "Oprima las teclas de flechas Hacia Arriba o Hacia Abajo para iluminar su respuesta. Luego "
                      "oprima la tecla «Enter». Oprima la tecla «F10» para ver la pregunta anterior."
                    : "Use Up or Down arrow keys to highlight answer, then press Enter. Press F10 to go back to "
                      "previous question.";
}

std::string PresentQAForm::helpAnswer() const {
    if (spanish_) return "Ilumine la respuesta que usted escoja y luego oprima la tecla «Enter».";
    return soundOn_ ? "Press Enter to select this answer. Press Tab or Arrows to hear question again."
                    : "Press Enter to select this answer.";
}

std::string PresentQAForm::questionText() const {
    return std::to_string(item().id) + ". " + item().question;
}

std::string PresentQAForm::choiceSound(int index) const {
    const auto& audio = item().choiceAudio;
    return index >= 0 && index < static_cast<int>(audio.size()) ? waveName(audio[static_cast<std::size_t>(index)]) : "";
}

PresentQAForm::Effect PresentQAForm::showInstructions(int section, Effect e) {
    section_ = section;
    instructionsShown_ = true;
    e.sound = "Inst" + std::to_string(section) + ".wav";
    e.focus = Focus::Instructions;
    return e;
}

PresentQAForm::Effect PresentQAForm::start() {
    introPending_ = true;
    return showInstructions(0, {});
}

PresentQAForm::Effect PresentQAForm::leaveInstructions() {
    if (!instructionsShown_) return {};
    instructionsShown_ = false;
    questionShown_ = true;
    if (introPending_) {
        introPending_ = false;
        return showInstructions(1, {});
    }
    Effect e;
    e.focus = Focus::Question;
    return e;
}

void PresentQAForm::getNextQuestion(Effect& e) {
    if (firstQuestion_) {
        questionNumber_ = 1;
        firstQuestion_ = false;
    } else {
        ++questionNumber_;
    }
    if (questionNumber_ > kTestItems && !goingBack_) {
        e.finished = true;
        return;
    }
    questionShown_ = true;
    if (questionNumber_ > 1 || pos_ < 0) {
        if (pos_ + 1 >= static_cast<long>(items_.size())) throw RunError(err::BankNoCurrentRecord, "No current record");
        ++pos_;
        questionNumber_ = item().id;
    }
    if (goingBack_) return;
    for (int k : {2, 3}) {
        if (questionNumber_ == kSectionEnd[k - 1] + 1) {
            e.stopSound = true;
            questionShown_ = false;
            e = showInstructions(k, std::move(e));
        }
    }
}

PresentQAForm::Effect PresentQAForm::select(int index) {
    Effect e;
    if (instructionsShown_ || !questionShown_ || index < 0 || index >= choices()) return e;
    const int id = item().id;
    responses_.at(static_cast<std::size_t>(id)) = index + 1;
    for (int k = 1; k <= 3; ++k) {
        if (id != kSectionEnd[k]) continue;
        e.stopSound = true;
        if (k < 3) {
            e.messages.push_back(
                spanish_ ? app::Message{"Usted ha terminado esta parte de la prueba. Oprima la tecla «Enter» para seguir.",
                                        "Nota de Presentación"}
                         : app::Message{"You have completed this part of the test. Press Enter to continue.",
                                        "Presentation Note"});
        } else {
            questionShown_ = false;
            e.messages.push_back(
                spanish_ ? app::Message{"Usted ha terminado la prueba. Se le agradece su participación.\r\rOprima la "
                                        "tecla «Enter» para terminar.",
                                        "Nota de Presentación"}
                         : app::Message{"You have completed the test. Thank you for your participation.\r\rPress "
                                        "Enter to continue.",
                                        "Presentation Note"});
        }
    }
    if (id < kTestItems) e.focus = Focus::Question;
    getNextQuestion(e);
    return e;
}

PresentQAForm::Effect PresentQAForm::back() {
    Effect e;
    if (instructionsShown_ || !questionShown_) return e;
    if (item().id == 1 || pos_ < 1) {
        e.beep = true;
        return e;
    }
    // One record back is the item on screen's predecessor; the walk forward re-shows it,
    // without a section's instructions and without finishing.
    pos_ -= 2;
    goingBack_ = true;
    getNextQuestion(e);
    goingBack_ = false;
    e.focus = Focus::Question;
    return e;
}

int PresentQAForm::moveFrom(int index, int step, bool arrow) const {
    if (arrow && step < 0 && index == 0) return -1;
    const int n = choices();
    return ((index + step) % n + n) % n;
}

std::string PresentQAForm::answers() const {
    std::string s;
    s.reserve(kTestItems);
    for (int i = 1; i <= kTestItems; ++i) s += static_cast<char>('0' + responses_[static_cast<std::size_t>(i)] % 10);
    return s;
}

}  // namespace kcs::administration
