// Any file as the question bank, read the way the screens read it: the table list, each
// table walked record by record, and the "English" items of the answer sheet. A bank
// that cannot serve gives an error naming its file; none crashes or hangs the reader.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzFolder.h"
#include "kcs/common/RunError.h"
#include "kcs/questionbank/QuestionBank.h"

using namespace kcs;
using fuzz::mustName;

namespace {

void walk(questionbank::Recordset rs, bool asAnswerSheet) {
    if (rs.RecordCount() == 0) return;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        for (const auto& name : rs.FieldNames()) (void)rs.Field(name);
        if (asAnswerSheet) {
            (void)rs.Field("ID");
            (void)rs.Field("Answer2");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzz::place(questionbank::kBankFileName, fuzz::text(data, size));
    try {
        const auto db = questionbank::Workspace().OpenDatabase(path);
        int tables = 0;
        for (const auto& name : db.TableNames()) {
            if (++tables > 8) break;
            try {
                walk(db.OpenRecordset("Select * from [" + name + "]"), false);
            } catch (const RunError& e) {
                mustName(e, path.string());
            }
        }
        walk(db.OpenTable("English"), true);
    } catch (const RunError& e) {
        mustName(e, path.string());
    }
    return 0;
}
