#include "kcs/program/ProgramScreens.h"

#include <optional>

#include "kcs/administration/PresentQA.h"
#include "kcs/app/Services.h"
#include "kcs/ui/ScreenConventions.h"

namespace kcs::program {

std::vector<std::string> ProgramScreens::languages() {
    ui::Hourglass busy;
    questionbank::Database bank = workspace_.OpenDatabase(paths_.QuestionBankPath);
    std::vector<std::string> found = administration::LanguageForm::languagesOf(bank.TableNames());
    bank.Close();
    return found;
}

bool ProgramScreens::selectLanguage(menus::ClientSequence& seq, const std::vector<std::string>& languages) {
    administration::frmSelectLanguage screen(languages, seq.EditMode, seq.record, services_, owner());
    services_.dialogs.execModal(screen);
    if (screen.completed()) seq.Language = screen.Language();
    return screen.completed();
}

bool ProgramScreens::presentTest(menus::ClientSequence& seq) {
    // The bank is held for as long as the test is on screen. A bank that cannot be read,
    // or whose table is not the test's 158 items, stops the test before its first item.
    std::optional<questionbank::Database> bank;
    std::vector<administration::QAItem> items;
    try {
        ui::Hourglass busy;
        bank.emplace(workspace_.OpenDatabase(paths_.QuestionBankPath));
        questionbank::Recordset set = bank->OpenRecordset("Select * from [" + seq.Language + "]");
        items = administration::readQAItems(set);
    } catch (const std::exception& e) {
        services_.dialogs.message(app::errorText(e) +
                                      "\r\rThe test cannot be given from this question bank. The new client has not "
                                      "been saved.",
                                  "Kestrel Conduct Screening", app::MsgIcon::Critical, app::MsgButtons::Ok);
        return false;
    }
    administration::frmPresentQA screen(seq.Language, std::move(items), paths_.soundFolder(seq.Language), seq.slot,
                                        seq.record, store_, services_, owner());
    services_.dialogs.execModal(screen);
    return screen.completed();
}

}  // namespace kcs::program
