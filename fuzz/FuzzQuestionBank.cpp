// Any file as the question bank, read the way the screens read it: the table list, each
// table walked record by record, and the "English" items of the answer sheet. A bank
// that cannot serve gives an error naming its file; none crashes or hangs the reader.

#include "FuzzFolder.h"
#include "kcs/common/RunError.h"
#include "kcs/questionbank/QuestionBank.h"

namespace {

void walk(kcs::questionbank::Recordset rs, bool asAnswerSheet) {
    if (rs.RecordCount() == 0) return;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        for (const auto& name : rs.FieldNames()) (void)rs.Field(name);
        if (asAnswerSheet)
            for (const char* field : {"ID", "Answer2"}) (void)rs.Field(field);
    }
}

}  // namespace

void kcs::fuzz::oneInput(const std::string& input) {
    const auto path = place(questionbank::kBankFileName, input);
    readsOrNames<RunError>(path.string(), [&] {
        const auto db = questionbank::Workspace().OpenDatabase(path);
        int tables = 0;
        for (const auto& name : db.TableNames()) {
            if (++tables > 8) break;
            readsOrNames<RunError>(path.string(), [&] { walk(db.OpenRecordset("Select * from [" + name + "]"), false); });
        }
        walk(db.OpenTable("English"), true);
    });
}
