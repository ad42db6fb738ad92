#pragma once
// The sequences of screens: editing a client, adding one (on screen or from an answer
// sheet), the supervisor's options. The flows decide which screen comes next; each screen
// is opened through the Screens interface, which says whether it was completed. The main
// window and the entry-method window call these and never sequence screens themselves.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "kcs/app/ClientStore.h"
#include "kcs/app/Services.h"
#include "kcs/records/ClientRecord.h"

namespace kcs::menus {

// One client's record as it passes from screen to screen of a sequence. The screens work
// on this copy; the client store changes only when a screen saves it, so a sequence left
// half-way leaves the table exactly as the client file holds it.
struct ClientSequence {
    bool EditMode = false;         // true: the stored client `slot`; false: a new client
    std::int16_t slot = 0;         // the client's slot (a new client gets one when saved)
    records::ClientRecord record;  // the working copy
    std::string Language;          // the presentation language
};

class ClientFlows;

// Opens each screen modally. The bool results are the screens' ContinueFlag: true when the
// screen was completed, false when it was left by its own cancel.
class Screens {
public:
    virtual ~Screens() = default;
    virtual bool clientInformation(ClientSequence& seq) = 0;
    virtual bool courtHistory(ClientSequence& seq) = 0;
    virtual bool answerSheet(ClientSequence& seq) = 0;
    // The entry-method window; its buttons start the new-client roads of `flows`.
    virtual void entryMethod(ClientFlows& flows) = 0;
    // The languages the question bank can present, in the bank's order. Throws
    // kcs::RunError when the bank cannot be read.
    virtual std::vector<std::string> languages() = 0;
    // The language window: sets seq.Language.
    virtual bool selectLanguage(ClientSequence& seq, const std::vector<std::string>& languages) = 0;
    virtual bool presentTest(ClientSequence& seq) = 0;
    virtual bool askSecretCode() = 0;
    virtual void supervisorOptions() = 0;
};

class ClientFlows {
public:
    ClientFlows(app::ClientStore& store, Screens& screens, app::MessageBoxes& boxes)
        : store_(store), screens_(screens), boxes_(boxes) {}

    // "Edit Current Client": client information, court history and answer-sheet entry,
    // each only when the one before was completed.
    void editCurrentClient();
    // "Add New Client": the entry-method window.
    void addNewClient();
    // The entry-method window's two roads. `helpLine` shows a text on that window's help
    // line. After a finished on-screen test the secret code is asked until it is right.
    void administerTest(const std::function<void(const std::string&)>& helpLine);
    void enterFromAnswerSheet();
    // "Supervisor Options".
    void supervisorOptions();

private:
    // Client information and court history of a new client; false when either was left.
    bool newClientDetails(ClientSequence& seq);
    // An abandoned new client leaves the first client current, as the screens expect.
    void dropNewClient();

    app::ClientStore& store_;
    Screens& screens_;
    app::MessageBoxes& boxes_;
};

}  // namespace kcs::menus
