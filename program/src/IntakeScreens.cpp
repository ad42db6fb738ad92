#include "kcs/program/ProgramScreens.h"

#include "kcs/administration/AnswerSheet.h"
#include "kcs/intake/ClientInfo.h"
#include "kcs/intake/CourtHistory.h"
#include "kcs/menus/EntryMethod.h"
#include "kcs/ui/ScreenConventions.h"

namespace kcs::program {

bool ProgramScreens::clientInformation(menus::ClientSequence& seq) {
    intake::frmClientInfo screen(seq.EditMode, seq.slot, seq.record, store_, services_, owner());
    services_.dialogs.execModal(screen);
    return screen.completed();
}

bool ProgramScreens::courtHistory(menus::ClientSequence& seq) {
    intake::frmCourtHistory screen(seq.EditMode, seq.record, services_, owner());
    services_.dialogs.execModal(screen);
    return screen.completed();
}

bool ProgramScreens::answerSheet(menus::ClientSequence& seq) {
    // The bank is held while the screen shows; its grids come from the "English" table.
    struct BusyPointer {
        BusyPointer() { ui::MOUSEWAIT(); }
        ~BusyPointer() { done(); }
        void done() {
            if (busy) ui::MOUSEDEFAULT();
            busy = false;
        }
        bool busy = true;
    } busy;
    questionbank::Database bank = workspace_.OpenDatabase(paths_.QuestionBankPath);
    questionbank::Recordset english = bank.OpenTable("English");
    administration::frmNewEntry screen(seq.EditMode, seq.slot, seq.record, store_, services_,
                                       administration::readBankItems(english), owner());
    english.Close();
    busy.done();
    services_.dialogs.execModal(screen);
    return screen.completed();
}

void ProgramScreens::entryMethod(menus::ClientFlows& flows) {
    menus::frmEntryMethod window(flows, services_, owner());
    services_.dialogs.execModal(window);
}

}  // namespace kcs::program
