// One report, with its summary page, made into its PDF (the viewer's "Save as PDF..." and
// what a print job carries). Runs headless.
// Run: kcs_printing_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <random>

#include "kcs/test/ScoringFixture.h"
#include "kcs/test/Support.h"
#include "kcs/menus/ReportPages.h"
#include "kcs/report/PrintReport.h"

namespace {

void BM_OneReportToPdf(benchmark::State& state) {
    // A generated client's report, about the length of a real one.
    kcs::test::TempDir folder;
    kcs::test::FixtureData{}.write(folder.path());
    std::mt19937 random(51);
    const auto table = kcs::test::tableOf({kcs::test::randomClient(random, 60, false, 6).build()});
    const std::string report = kcs::report::ComposeReport(table, 1, {folder.path(), 'b', true});
    const auto pages = kcs::report::SplitReportPages(report.substr(0, report.size() - 1));
    for (auto _ : state) benchmark::DoNotOptimize(kcs::menus::reportPdf(pages, QStringLiteral("KCS report 1")));
    state.counters["pages"] = static_cast<double>(pages.size());
}
BENCHMARK(BM_OneReportToPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
