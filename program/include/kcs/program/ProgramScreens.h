#pragma once
// The real screens of the sequences: each is built with what it needs and shown modally
// over the window that is active, so the keyboard returns there when it closes.

#include "kcs/app/ClientStore.h"
#include "kcs/app/Options.h"
#include "kcs/app/Paths.h"
#include "kcs/menus/Flows.h"
#include "kcs/ui/Services.h"

namespace kcs::program {

class ProgramScreens : public menus::Screens {
public:
    ProgramScreens(app::ClientStore& store, app::Options& options, const app::Paths& paths,
                   ui::Services& services)
        : store_(store), options_(options), paths_(paths), services_(services) {}

    bool clientInformation(menus::ClientSequence& seq) override;
    bool courtHistory(menus::ClientSequence& seq) override;
    bool answerSheet(menus::ClientSequence& seq) override;
    void entryMethod() override;
    std::vector<std::string> languages() override;
    bool selectLanguage(menus::ClientSequence& seq, const std::vector<std::string>& languages) override;
    bool presentTest(menus::ClientSequence& seq) override;
    bool askSecretCode() override;
    void supervisorOptions() override;

private:
    app::ClientStore& store_;
    app::Options& options_;
    const app::Paths& paths_;
    ui::Services& services_;
};

}  // namespace kcs::program
