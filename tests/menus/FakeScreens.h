#pragma once
// The screens of the sequences, faked: each answers from a script whether it was completed
// and does to the sequence what the real one does (a screen that saves does so through the
// store, as the real ones do).

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "kcs/app/ClientStore.h"
#include "kcs/menus/Flows.h"

namespace kcs::testutil {

struct FakeScreens : menus::Screens {
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
    void save(menus::ClientSequence& seq) {
        if (seq.EditMode) store.update(seq.slot, seq.record);
        else seq.slot = store.add(seq.record);
    }

    bool clientInformation(menus::ClientSequence& seq) override {
        if (!next("info")) return false;
        seq.record.set(records::Field::Name, seq.EditMode ? "Edited Name" : "New Client");
        if (seq.EditMode) save(seq);  // a changed record is saved at once
        return true;
    }
    bool courtHistory(menus::ClientSequence& seq) override {
        if (!next("court")) return false;
        seq.record.set(records::Field::Parole, "7");
        return true;
    }
    bool answerSheet(menus::ClientSequence& seq) override {
        if (!next("answers")) return false;
        seq.record.set(records::Field::Answers, std::string(158, '1'));
        save(seq);
        return true;
    }
    void entryMethod(menus::ClientFlows& flows) override {
        next("entry");
        if (roadOfEntryMethod == 0) flows.administerTest([this](const std::string& t) { helpLines.push_back(t); });
        if (roadOfEntryMethod == 1) flows.enterFromAnswerSheet();
    }
    std::vector<std::string> languages() override { return languagesOfBank; }
    bool selectLanguage(menus::ClientSequence& seq, const std::vector<std::string>&) override {
        if (!next("language")) return false;
        seq.Language = "Spanish";
        return true;
    }
    bool presentTest(menus::ClientSequence& seq) override {
        if (!next("test:" + seq.Language)) return false;
        seq.record.set(records::Field::Answers, std::string(158, '2'));
        save(seq);
        return true;
    }
    bool askSecretCode() override { return next("secret"); }
    void supervisorOptions() override { next("supervisor"); }
};

}  // namespace kcs::testutil
