// The preview's page store per page: writing a page image and reading one back, with the
// store in memory and in its temporary file.
#include "BenchMain.h"
#include "report/RpPageList.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

// A page image like the plate's: an outline, lines and a few lines of text.
QPicture PlatePage() {
    QPicture picture;
    picture.setBoundingRect(QRect(0, 0, 794, 1123));
    QPainter painter(&picture);
    painter.fillRect(QRect(51, 115, 353, 220), Qt::white);
    painter.drawRect(QRect(51, 115, 353, 220));
    for (int i = 0; i < 6; ++i)
        painter.fillRect(QRect(60, 150 + 26 * i, 330, 1), Qt::black);
    painter.setFont(QFont(QStringLiteral("Liberation Sans"), 10));
    for (int i = 0; i < 7; ++i)
        painter.drawText(QPoint(65, 140 + 26 * i),
                         QStringLiteral("TABLICZKA ZNAMIONOWA %1").arg(i));
    return picture;
}

// Memory: the store's usual limit; file: a limit of 0 moves it at the first page.
qint64 LimitOf(const benchmark::State &state) {
    return state.range(0) ? 0 : 250000;
}

void BM_PageStoreWrite(benchmark::State &state) {
    const QPicture page = PlatePage();
    auto list = std::make_unique<TRpPageList>(LimitOf(state));
    int pages = 0;
    for (auto _ : state) {
        list->AddPage(page);
        if (++pages == 200 && LimitOf(state) > 0) { // stay within the memory limit
            state.PauseTiming();
            list = std::make_unique<TRpPageList>(LimitOf(state));
            pages = 0;
            state.ResumeTiming();
        }
    }
    state.SetLabel(list->Stream().InFile() ? "file" : "memory");
}
BENCHMARK(BM_PageStoreWrite)->Arg(0)->Arg(1);

void BM_PageStoreRead(benchmark::State &state) {
    const QPicture page = PlatePage();
    TRpPageList list(LimitOf(state));
    constexpr int Pages = 50; // within the memory limit
    for (int i = 0; i < Pages; ++i)
        list.AddPage(page);
    // Paging through the report forwards and back, as the preview does.
    int n = 1;
    int step = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(list.GetPage(n));
        if (n + step < 1 || n + step > Pages)
            step = -step;
        n += step;
    }
    state.SetLabel(list.Stream().InFile() ? "file" : "memory");
}
BENCHMARK(BM_PageStoreRead)->Arg(0)->Arg(1);

} // namespace

int main(int argc, char **argv) {
    return RunBenchmarksInApplication(argc, argv);
}
