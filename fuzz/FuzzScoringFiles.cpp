// One of the two files read together for scoring (KCS_FUZZ_FILE: the scoring data file
// or the report text file) on any content, the shipped other one beside it. Loading
// gives tables or errors naming that file, whether the first fault stops it or every
// fault is listed; tables loaded without a fault score and report any client.

#include "FuzzFolder.h"
#include "kcs/report/ScoreAndReport.h"
#include "kcs/scoring/Scorer.h"

using namespace kcs;

namespace {

// A client whose answers and court history come from the input.
records::ClientRecord clientFrom(const std::string& input) {
    using records::Field;
    const auto at = [&input](std::size_t i) { return input.empty() ? 0u : static_cast<unsigned char>(input[i % input.size()]); };
    std::string answers(scoring::kItemCount, '0');
    for (std::size_t i = 0; i < answers.size(); ++i) answers[i] = static_cast<char>('0' + at(i * 31) % (i < 99 ? 3 : 5));
    records::ClientRecord r;
    r.set(Field::Name, "Client");
    r.set(Field::Sex, at(7) % 2 ? "1" : "2");
    r.set(Field::Race, "1");
    r.set(Field::Marital, "1");
    r.set(Field::TestDate, "01012024");
    r.set(Field::Answers, answers);
    for (std::size_t k = 0; k < records::kCourtFields.size(); ++k)
        r.set(records::kCourtFields[k], at(k * 13) % 7 == 0 ? "N" : std::to_string(at(k * 13) % 20));
    return r;
}

}  // namespace

void kcs::fuzz::oneInput(const std::string& input) {
    place(KCS_FUZZ_FILE, input);
    const auto load = [](std::vector<scoring::DataError>* faults) {
        scoring::Scorer scorer;
        scorer.SetTestConstants();
        scorer.LoadScoringFiles(programFolder(), faults);
    };
    if (!faultsAgree<scoring::DataError>(KCS_FUZZ_FILE, [&] { load(nullptr); }, [&](auto& faults) { load(&faults); }))
        return;
    // Tables that loaded cleanly must carry any valid client through to a report: only a
    // score beyond 16 bits is left to find here.
    readsOrNames<scoring::DataError>(KCS_FUZZ_FILE, [&] {
        (void)report::ComposeReport(clientFrom(input), 1, {programFolder(), 'b', input.size() % 2 == 1});
    });
}
