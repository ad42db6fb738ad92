#include "kcs/menus/Flows.h"

namespace kcs::menus {

void ClientFlows::editCurrentClient() {
    const std::int16_t slot = store_.CurClient();
    if (slot < 1 || slot > store_.NumClients()) return;
    ClientSequence seq{true, slot, store_.record(slot), {}};
    if (!screens_.clientInformation(seq)) return;
    if (!screens_.courtHistory(seq)) return;
    screens_.answerSheet(seq);
}

void ClientFlows::addNewClient() {
    // A full data drive has no slot for another client: the main menu disables the button,
    // and no other road may write a 52nd record either.
    if (store_.full()) return;
    screens_.entryMethod(*this);
}

bool ClientFlows::newClientDetails(ClientSequence& seq) {
    seq.EditMode = false;
    seq.slot = static_cast<std::int16_t>(store_.NumClients() + 1);
    return !store_.full() && screens_.clientInformation(seq) && screens_.courtHistory(seq);
}

void ClientFlows::dropNewClient() {
    store_.select(store_.NumClients() > 0 ? 1 : 0);
}

void ClientFlows::administerTest(const std::function<void(const std::string&)>& helpLine) {
    ClientSequence seq;
    if (!newClientDetails(seq)) return;

    const std::vector<std::string> languages = screens_.languages();
    if (languages.empty()) {
        boxes_.message("The question bank holds no test language, so the test cannot be given. "
                       "The new client has not been saved.",
                       "Kestrel Conduct Screening", app::MsgIcon::Critical, app::MsgButtons::Ok);
        dropNewClient();
        return;
    }
    if (languages.size() < 2) {
        seq.Language = languages.front();
    } else if (!screens_.selectLanguage(seq, languages)) {
        dropNewClient();
        return;
    }

    helpLine("Press the Enter key to begin.");
    boxes_.message("The test will begin as soon as you press the Enter key.", "Kestrel Conduct Screening",
                   app::MsgIcon::None, app::MsgButtons::Ok);
    if (!screens_.presentTest(seq)) {
        dropNewClient();
        return;
    }

    helpLine("Enter the secret code to continue.");
    while (!screens_.askSecretCode()) {
    }
}

void ClientFlows::enterFromAnswerSheet() {
    ClientSequence seq;
    if (!newClientDetails(seq)) return;
    screens_.answerSheet(seq);
}

void ClientFlows::supervisorOptions() {
    screens_.supervisorOptions();
}

}  // namespace kcs::menus
