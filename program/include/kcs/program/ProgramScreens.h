#pragma once
// The real screens of the sequences: each is built with what it needs and shown modally
// over the window that is active, so the keyboard returns there when it closes. The
// screens of client intake, of the test itself and of the supervisor's options are
// defined in a file each.

#include "kcs/app/ClientStore.h"
#include "kcs/app/Options.h"
#include "kcs/app/Paths.h"
#include "kcs/menus/Flows.h"
#include "kcs/questionbank/QuestionBank.h"
#include "kcs/ui/Services.h"

class QWidget;

namespace kcs::program {

class ProgramScreens : public menus::Screens {
public:
    ProgramScreens(app::ClientStore& store, app::Options& options, const app::Paths& paths,
                   const questionbank::Workspace& workspace, ui::Services& services)
        : store_(store), options_(options), paths_(paths), workspace_(workspace), services_(services) {}

    // IntakeScreens.cpp
    bool clientInformation(menus::ClientSequence& seq) override;
    bool courtHistory(menus::ClientSequence& seq) override;
    bool answerSheet(menus::ClientSequence& seq) override;
    void entryMethod(menus::ClientFlows& flows) override;
    // TestScreens.cpp
    std::vector<std::string> languages() override;
    bool selectLanguage(menus::ClientSequence& seq, const std::vector<std::string>& languages) override;
    bool presentTest(menus::ClientSequence& seq) override;
    // SupervisorScreens.cpp
    void supervisorOptions() override;
    // ProgramScreens.cpp
    bool askSecretCode() override;

private:
    // The window a new screen opens over: the one that has the keyboard now.
    static QWidget* owner();

    app::ClientStore& store_;
    app::Options& options_;
    const app::Paths& paths_;
    const questionbank::Workspace& workspace_;  // TestWorkspace, for opening the question bank
    ui::Services& services_;
};

}  // namespace kcs::program
