// ScoreAndReport with its files: one client, and a full data disk of 51 clients; print all
// of that disk up to the printer. Uses
// the shipped data files of the build's program folder when present, otherwise a
// generated set of the same shape.
// Run: kcs_scoring_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <numeric>
#include <random>

#include "kcs/report/PrintReport.h"
#include "kcs/report/ScoreAndReport.h"
#include "kcs/test/ScoringFixture.h"

namespace {

struct Disk {
    kcs::test::TempDir folder;
    kcs::records::ClientTable table;

    Disk() {
        const std::filesystem::path shipped = KCS_BIN_DIR;
        if (std::filesystem::exists(shipped / "KCSB.TXT")) {
            for (const char* f : {"KCSB.TXT", "KCSRPTnew.TXT", "KCSVA.TXT", "KCSAL.TXT", "KCSDG.TXT", "KCSRE.TXT",
                                  "KCSVI.TXT", "KCSSC.TXT", "INVAL.TXT"})
                std::filesystem::copy_file(shipped / f, folder.path() / f);
        } else {
            kcs::test::FixtureData{}.write(folder.path());
        }
        std::mt19937 random(51);
        std::vector<kcs::records::ClientRecord> clients;
        for (int n = 0; n < kcs::records::kMaxClients; ++n) clients.push_back(kcs::test::randomClient(random, 60, false, 6).build());
        table = kcs::test::tableOf(clients);
    }
};

Disk& disk() {
    static Disk d;
    return d;
}

void BM_ScoreAndReportOneClient(benchmark::State& state) {
    auto& d = disk();
    const kcs::report::ReportOptions options{d.folder.path(), 'b', true};
    for (auto _ : state) kcs::report::ScoreAndReport(d.table, 7, options);
}
BENCHMARK(BM_ScoreAndReportOneClient)->Unit(benchmark::kMicrosecond);

void BM_ScoreAndReportFullDisk(benchmark::State& state) {
    auto& d = disk();
    const kcs::report::ReportOptions options{d.folder.path(), 'b', true};
    for (auto _ : state)
        for (std::int16_t n = 1; n <= d.table.NumClients; ++n) kcs::report::ScoreAndReport(d.table, n, options);
}
BENCHMARK(BM_ScoreAndReportFullDisk)->Unit(benchmark::kMillisecond);

// Print all up to the printer: every client scored into REPORT.PRN and staged as temp1..
// temp51, then each copied back and cut into its pages; the printer itself does nothing.
struct NoPrinter : kcs::report::Printer {
    void printPages(const std::string&, const std::vector<std::string>& pages) override { benchmark::DoNotOptimize(pages.size()); }
    void printRaw(const std::string&, const std::string&) override {}
};

void BM_PrintAllStagingFullDisk(benchmark::State& state) {
    auto& d = disk();
    std::vector<std::int16_t> clients(static_cast<std::size_t>(d.table.NumClients));
    std::iota(clients.begin(), clients.end(), std::int16_t{1});
    NoPrinter printer;
    for (auto _ : state) kcs::report::PrintReports(d.table, clients, {d.folder.path(), 'b', true}, false, printer);
}
BENCHMARK(BM_PrintAllStagingFullDisk)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
