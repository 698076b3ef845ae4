// Rendering the plate's band of fifteen items onto a page image: the preview's vector
// picture at screen resolution, an A4 raster at screen resolution, and the plate area at
// 600 dpi. Run with --benchmark_repetitions=9 --benchmark_report_aggregates_only=true.
#include "../tests/report/PlateFixture.h"
#include "../tests/report/TestDevice.h"
#include "BenchMain.h"

#include "platform/Fonts.h"
#include "report/RpCtrls.h"
#include "report/RpDefinition.h"
#include "report/RpDevice.h"

#include <QGuiApplication>
#include <QImage>
#include <QPicture>
#include <benchmark/benchmark.h>

namespace {

void Render(TRpReport &report, QPaintDevice &page, const TRpDeviceMapping &mapping) {
    platform::PainterCanvas canvas(page);
    TestDevice device(canvas, mapping);
    report.SetDevice(&device);
    report.PrintablesBeginRun();
    report.Bands().front()->Render(100, 100);
    report.PrintablesEndRun();
    report.SetDevice(nullptr);
}

void PictureAtScreenResolution(benchmark::State &state) {
    const auto report = FilledPlate();
    for (auto _ : state) {
        QPicture picture;
        Render(*report, picture, TRpDeviceMapping::ForResolution(96));
        benchmark::DoNotOptimize(picture.size());
    }
}

void A4ImageAtScreenResolution(benchmark::State &state) {
    const auto report = FilledPlate();
    QImage image(794, 1123, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        Render(*report, image, TRpDeviceMapping::ForResolution(96));
        benchmark::DoNotOptimize(image.constBits());
    }
}

void PlateAreaAt600Dpi(benchmark::State &state) {
    const auto report = FilledPlate();
    TRpDeviceMapping mapping = TRpDeviceMapping::ForResolution(600);
    mapping.LeftUnprintable = mapping.TopUnprintable = 100; // the band's corner at (0, 0)
    QImage image(2500, 1600, QImage::Format_RGB32);
    image.setDotsPerMeterX(23622);
    image.setDotsPerMeterY(23622);
    for (auto _ : state) {
        Render(*report, image, mapping);
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK(PictureAtScreenResolution)->Unit(benchmark::kMicrosecond);
BENCHMARK(A4ImageAtScreenResolution)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlateAreaAt600Dpi)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    return RunBenchmarksInApplication(argc, argv);
}
