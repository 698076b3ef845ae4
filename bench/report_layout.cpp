// Laying out a 32-character label on the screen's real fonts: a data line that fits, one
// that breaks after a word, and one long word that is cut. Run with
// --benchmark_repetitions=9 --benchmark_report_aggregates_only=true for medians.
#include "BenchMain.h"
#include "platform/Fonts.h"
#include "report/RpCtrls.h"
#include "report/RpReport.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

void LayOut(benchmark::State &state, const QString &text, int boxWidth) {
    TRpReport report;
    TRpBand &band = report.AddBand(std::make_unique<TRpBand>());
    TRpLabel &label = band.Add(std::make_unique<TRpLabel>());
    label.AutoSize = false;
    label.SetAlignment(TAlignment::taRightJustify);
    label.SetFont(
        {"Times New Roman", 12, {true}, platform::clWindowText, platform::EASTEUROPE_CHARSET});
    label.SetPixelBounds(66, 86, boxWidth, 20);
    label.SetCaption(text);
    for (auto _ : state) {
        label.LayoutLines();
        benchmark::DoNotOptimize(label.FormattedLines().size());
    }
    state.counters["lines"] = double(label.FormattedLines().size());
}

void FittingLine(benchmark::State &state) {
    LayOut(state, QStringLiteral("VOLKSWAGEN GOLF 1.9 TDI KOMBI VI"), 400);
}
void BrokenLine(benchmark::State &state) {
    LayOut(state, QStringLiteral("VOLKSWAGEN SAMOCHODY DOSTAWCZE A"), 280);
}
void CutWord(benchmark::State &state) {
    LayOut(state, QStringLiteral("WVWZZZ1JZXW000001WVWZZZ1JZXW0000"), 280);
}

BENCHMARK(FittingLine);
BENCHMARK(BrokenLine);
BENCHMARK(CutWord);

} // namespace

int main(int argc, char **argv) {
    return RunBenchmarksInApplication(argc, argv);
}
