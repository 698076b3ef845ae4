// Preview until the first page is painted, and Print until the document has been handed to
// CUPS, for a report like the plate: one title band with a plate outline, shapes and labels.
// Print needs a queue: MEROVAN_BENCH_QUEUE, else MEROVAN_PDF_QUEUE (scripts/print-queues);
// a disabled queue (cupsdisable) keeps CUPS from working on the jobs while this measures.
#include "BenchMain.h"
#include "platform/Fonts.h"
#include "platform/PrinterSystem.h"
#include "report/RpCtrls.h"
#include "report/RpPrev.h"
#include "report/RpPrinterSettings.h"
#include "report/RpReport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

std::unique_ptr<TRpReport> PlateLikeReport() {
    auto report = std::make_unique<TRpReport>();
    report->SetUnits(TRpUnit::Native);
    report->ReportTitle = QStringLiteral("Quendrel");
    auto owned = std::make_unique<TRpBand>();
    owned->BandType = TRpBandType::rbTitle;
    TRpBand &band = report->AddBand(std::move(owned));
    band.Size().SetWidth(1900);
    band.Size().SetHeight(800);
    const auto shape = [&](long double left, long double top, long double width, long double height,
                           platform::TColor fill) {
        TRpShape &s = band.Add(std::make_unique<TRpShape>());
        s.Brush = {fill, platform::BrushStyle::Solid};
        s.Size().SetLeft(left);
        s.Size().SetTop(top);
        s.Size().SetWidth(width);
        s.Size().SetHeight(height);
    };
    shape(35, 205, 935, 582, platform::clWhite);
    for (int i = 0; i < 6; ++i)
        shape(60, 300 + 70 * i, 880, 2, platform::clBlack);
    const char *texts[] = {"TABLICZKA ZNAMIONOWA ZASTĘPCZA",
                           "Marka: VOLKSWAGEN",
                           "Typ: GOLF",
                           "Nr nadwozia: WVWZZZ1JZXW000001",
                           "Stacja: SKP-01",
                           "Data: 2026-12-09",
                           "Podpis"};
    int row = 0;
    for (const char *text : texts) {
        TRpLabel &label = band.Add(std::make_unique<TRpLabel>());
        label.Transparent = true;
        label.SetFont({QStringLiteral("Arial"), 10});
        label.SetCaption(QString::fromUtf8(text));
        label.Size().SetLeft(70);
        label.Size().SetTop(230 + 70 * row++);
    }
    return report;
}

// Notes when the preview's page image first paints a page, then closes the preview.
class FirstPaint final : public QObject {
public:
    qint64 at = -1;
    QElapsedTimer clock;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint && at < 0)
            if (auto *image = dynamic_cast<TRpPreviewImage *>(watched); image && image->HasPage()) {
                at = clock.nsecsElapsed();
                QTimer::singleShot(0, [image] { image->window()->close(); });
            }
        return false;
    }
};

void BM_PreviewUntilFirstPagePainted(benchmark::State &state) {
    for (auto _ : state) {
        auto report = PlateLikeReport();
        FirstPaint paint;
        qApp->installEventFilter(&paint);
        paint.clock.start();
        report->Preview();
        qApp->removeEventFilter(&paint);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (paint.at < 0) {
            state.SkipWithError("the page was never painted");
            break;
        }
        state.SetIterationTime(double(paint.at) / 1e9);
    }
}
BENCHMARK(BM_PreviewUntilFirstPagePainted)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PrintUntilHandedToCups(benchmark::State &state) {
    QString queue = qEnvironmentVariable("MEROVAN_BENCH_QUEUE");
    if (queue.isEmpty())
        queue = qEnvironmentVariable("MEROVAN_PDF_QUEUE");
    const int index = int(platform::PrinterSystem::real().printerNames().indexOf(queue));
    if (queue.isEmpty() || index < 0) {
        state.SkipWithError("no print queue: set MEROVAN_BENCH_QUEUE or MEROVAN_PDF_QUEUE");
        return;
    }
    for (auto _ : state) {
        auto report = PlateLikeReport();
        report->PrinterSettings().PrinterIndex = index;
        QElapsedTimer clock;
        clock.start();
        report->Print();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_PrintUntilHandedToCups)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    return RunBenchmarksInApplication(argc, argv);
}
