// The answer sheet's grids: read from the shipped question bank and built, then every
// cell painted for a full answer string; once through the form alone, once through the
// real screen with its grid widgets (offscreen).
// Run: kcs_answer_sheet_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <QApplication>

#include "kcs/administration/AnswerSheet.h"
#include "kcs/app/ClientStore.h"
#include "kcs/app/DataDrive.h"
#include "kcs/ui/Dialogs.h"

namespace {

using namespace kcs;

const std::filesystem::path kBank = std::filesystem::path(KCS_BIN_DIR) / questionbank::kBankFileName;

std::string fullSheet() {
    std::string answers;
    for (int item = 1; item <= 158; ++item) answers += static_cast<char>('1' + (item <= 99 ? item % 2 : item % 4));
    return answers;
}

std::vector<administration::BankItem> readBank() {
    questionbank::Database bank = questionbank::Workspace().OpenDatabase(kBank);
    questionbank::Recordset english = bank.OpenTable("English");
    return administration::readBankItems(english);
}

void BM_BuildAndPaintGridsFromTheBank(benchmark::State& state) {
    const std::string answers = fullSheet();
    for (auto _ : state) {
        const administration::AnswerSheetForm form(readBank(), answers);
        std::size_t marks = 0;
        for (int k = 0; k <= form.lastGrid(); ++k) {
            const auto& g = form.grids()[static_cast<std::size_t>(k)];
            for (int r = 0; r < g.rows(); ++r)
                for (int c = 0; c < g.columns(); ++c) marks += form.cell(k, r, c).text == "X";
        }
        benchmark::DoNotOptimize(marks);
    }
}
BENCHMARK(BM_BuildAndPaintGridsFromTheBank)->Unit(benchmark::kMillisecond);

struct NoBoxes : ui::Dialogs {
    app::MsgAnswer message(const std::string&, const std::string&, app::MsgIcon, app::MsgButtons) override {
        return app::MsgAnswer::Ok;
    }
    int execModal(QDialog&) override { return 0; }
};
struct Silent : app::Beeper {
    void beep() override {}
};

void BM_OpenTheAnswerSheetScreen(benchmark::State& state) {
    NoBoxes boxes;
    Silent beeper;
    ui::SystemClock clock;
    struct : app::AudioPlayer {
        bool available() override { return false; }
        void play(const std::filesystem::path&) override {}
        void stop() override {}
    } audio;
    struct : app::Printer {
        void printPages(const std::string&, const std::vector<std::string>&) override {}
        void printRaw(const std::string&, const std::string&) override {}
    } printer;
    app::DriveFiles drive;
    ui::MountedVolumes volumes;
    struct : ui::NumLockKey {
        bool setNumLock(bool) override { return true; }
    } numLock;
    ui::Services services{boxes, beeper, clock, audio, printer, drive, volumes, numLock};
    app::ClientStore store;
    records::ClientRecord record;
    record.set(records::Field::Answers, fullSheet());
    std::int16_t slot = 1;
    for (auto _ : state) {
        administration::frmNewEntry screen(true, slot, record, store, services, readBank());
        benchmark::DoNotOptimize(screen.gridCount());
    }
}
BENCHMARK(BM_OpenTheAnswerSheetScreen)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
