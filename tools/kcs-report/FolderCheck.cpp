#include "FolderCheck.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "kcs/app/Paths.h"
#include "kcs/app/Settings.h"
#include "kcs/common/DurableFile.h"
#include "kcs/common/RunError.h"
#include "kcs/common/Text.h"
#include "kcs/questionbank/QuestionBank.h"
#include "kcs/report/TextFiles.h"
#include "kcs/scoring/DataError.h"
#include "kcs/scoring/Scorer.h"

namespace kcs::reporttool {

namespace fs = std::filesystem;
using scoring::DataError;

namespace {

constexpr std::array<const char*, 2> kLanguages = {"English", "Spanish"};
constexpr std::array<const char*, 6> kAudioFields = {"QuestionAudio", "ChoiceAudio1", "ChoiceAudio2",
                                                     "ChoiceAudio3",  "ChoiceAudio4", "ChoiceAudio5"};

// The wave file the presentation plays for a bank value: the value trimmed, the one-letter
// answers spelled out, ".wav" added.
std::string waveFileName(std::string_view value) {
    const auto v = trimBlanks(value);
    static constexpr std::pair<std::string_view, std::string_view> kLetters[] = {
        {"T", "True"}, {"F", "False"}, {"Y", "Yes"}, {"N", "No"}};
    for (const auto& [letter, word] : kLetters)
        if (sameName(v, letter)) return std::string(word) + ".wav";
    return std::string(v) + ".wav";
}

// A wave file name the presentation and every file system take as it stands.
bool safeWaveName(std::string_view name) {
    auto safe = [](unsigned char c) { return std::isalnum(c) || c == '_' || c == '-'; };
    return std::all_of(name.begin(), name.end(), safe);
}

// One language table's items: the choices each item's section offers, each with a wave
// file; one wave file per choice text, so a choice is spoken alike wherever it is offered.
class ItemCheck {
public:
    ItemCheck(std::string table, std::vector<DataError>& faults) : table_(std::move(table)), faults_(faults) {}

    void check(const questionbank::Recordset& rs, long item) {
        const std::string where = "item " + std::to_string(item) + " of the table \"" + table_ + "\"";
        if (!rs.Field("TestQuestion")) fault(where + " has no statement");
        const int section = scoring::sectionOf(static_cast<int>(item));
        const int choices = scoring::highestCode(section);
        for (int k = 1; k <= 5; ++k) {
            const auto text = rs.Field("ANSWER" + std::to_string(k));
            const auto wave = rs.Field("ChoiceAudio" + std::to_string(k));
            const std::string choice = "choice " + std::to_string(k) + " of " + where;
            if (text.has_value() != (k <= choices))
                fault(choice + (text ? " is offered" : " has no text") + "; an item of section " +
                      std::to_string(section) + " offers " + std::to_string(choices) + " choices");
            if (!text) continue;
            if (!wave || trimBlanks(*wave).empty()) {
                fault(choice + " has no wave file name");
                continue;
            }
            if (!safeWaveName(trimBlanks(*wave)))
                fault(choice + ": the wave file name \"" + printable(trimBlanks(*wave)) +
                      "\" may hold only letters, digits, \"_\" and \"-\"");
            const std::string file = waveFileName(*wave);
            const auto [byText, newText] = waveOfText_.emplace(*text, file);
            if (!newText && byText->second != file)
                fault(choice + " is read by " + file + ", the same text elsewhere by " + byText->second);
            const auto [byWave, newWave] = textOfWave_.emplace(file, *text);
            if (!newWave && byWave->second != *text)
                fault(choice + ": " + file + " reads \"" + printable(*text) + "\" here and \"" +
                      printable(byWave->second) + "\" elsewhere");
        }
    }

private:
    void fault(const std::string& detail) { faults_.emplace_back(questionbank::kBankFileName, 0, detail); }
    std::string table_;
    std::vector<DataError>& faults_;
    std::map<std::string, std::string> waveOfText_, textOfWave_;
};

// The language tables: 158 items in order, each checked as above; the wave file names
// they give, per language.
std::vector<std::set<std::string>> checkBank(const fs::path& folder, std::vector<DataError>& faults) {
    const std::string bank = questionbank::kBankFileName;
    std::vector<std::set<std::string>> waves(kLanguages.size());
    auto keep = [&](const RunError& e) { faults.emplace_back(bank, 0, e.description(), e.number()); };
    try {
        const auto db = questionbank::Workspace().OpenDatabase(folder / bank, false);
        for (std::size_t l = 0; l < kLanguages.size(); ++l) {
            const std::string table = kLanguages[l];
            try {
                auto rs = db.OpenRecordset("Select * from [" + table + "]");
                const auto& names = rs.FieldNames();
                auto has = [&names](std::string_view field) {
                    return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return sameName(n, field); });
                };
                std::vector<const char*> missing;
                for (const char* field : {"ID", "TestQuestion", "ANSWER1", "ANSWER2", "ANSWER3", "ANSWER4", "ANSWER5"})
                    if (!has(field)) missing.push_back(field);
                for (const char* field : kAudioFields) if (!has(field)) missing.push_back(field);
                for (const char* field : missing)
                    faults.emplace_back(bank, 0, "the table \"" + table + "\" has no field " + field);
                if (!missing.empty()) continue;
                ItemCheck items(table, faults);
                for (long item = 1; !rs.IsEOF(); rs.MoveNext(), ++item) {
                    items.check(rs, item);
                    for (const char* field : kAudioFields)
                        if (const auto v = rs.Field(field); v && !trimBlanks(*v).empty()) waves[l].insert(waveFileName(*v));
                }
            } catch (const RunError& e) {
                keep(e);
            }
        }
    } catch (const RunError& e) {
        keep(e);
    }
    return waves;
}

void checkWaves(const fs::path& folder, const std::vector<std::set<std::string>>& waves,
                std::vector<DataError>& faults, std::ostream& notes) {
    app::Paths state = app::Paths::of(folder);
    state.SoundPath = app::Settings(folder / app::kSettingsFileName).GetINISndPath();
    for (std::size_t l = 0; l < kLanguages.size(); ++l) {
        if (waves[l].empty()) continue;
        const fs::path sound = state.soundFolder(kLanguages[l]).lexically_normal();
        struct stat st {};
        if (::stat(sound.c_str(), &st) != 0 && errno == ENOENT) {
            // Sound is optional: the test is given silently without it.
            notes << "kcs-report: note: " << sound.string() << ": no wave files; the " << kLanguages[l]
                  << " statements will not be read aloud\n";
            continue;
        }
        for (const auto& name : waves[l]) {
            const fs::path wave = sound / name;
            try {
                const std::string head = readRegularFile(wave, 12);
                if (head.size() < 12 || head.compare(0, 4, "RIFF") != 0 || head.compare(8, 4, "WAVE") != 0)
                    faults.emplace_back(wave.string(), 0, "not a wave file (no RIFF WAVE header)");
            } catch (const RunError& e) {
                faults.emplace_back(wave.string(), 0, e.description(), e.number());
            }
        }
    }
}

}  // namespace

int checkProgramFolder(const fs::path& folder, std::ostream& out, std::ostream& notes) {
    std::vector<DataError> faults;
    scoring::Scorer scorer;
    scorer.LoadScoringFiles(folder, &faults);
    report::CheckNarrativeAndInvalidFiles(scorer.tables(), faults);
    checkWaves(folder, checkBank(folder, faults), faults, notes);

    // Each file's faults together, in line order, the files in the order they were met.
    std::vector<std::string> order;
    for (const auto& f : faults)
        if (std::find(order.begin(), order.end(), f.where()) == order.end()) order.push_back(f.where());
    auto rank = [&order](const DataError& f) { return std::find(order.begin(), order.end(), f.where()) - order.begin(); };
    std::stable_sort(faults.begin(), faults.end(), [&](const DataError& a, const DataError& b) {
        return rank(a) != rank(b) ? rank(a) < rank(b) : a.line() < b.line();
    });
    for (const auto& f : faults) {
        const fs::path where(f.where());
        const std::string file = (where.has_parent_path() ? where : folder / where).string();
        // A file that could not be opened: "FILE: reason", or the message that names it.
        const std::string cannotOpen = "Cannot open " + file + ": ";
        if (f.line() == 0 && f.detail().starts_with(cannotOpen)) {
            out << file << ": " << f.detail().substr(cannotOpen.size()) << '\n';
            continue;
        }
        if (f.line() == 0 && f.detail().find(file) != std::string::npos) {
            out << f.detail() << '\n';
            continue;
        }
        out << file;
        if (f.line() > 0) out << ':' << f.line();
        out << ": " << f.detail() << '\n';
    }
    return static_cast<int>(faults.size());
}

}  // namespace kcs::reporttool
