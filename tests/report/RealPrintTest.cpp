// Printing on real CUPS queues that write PDFs: every mark lands, measured from the paper's
// edge, within one device pixel of where the device mapping puts it, with no scaling, on
// a queue with and a queue without unprintable margins.
#include "PrintTestReports.h"

#include "platform/PrinterSystem.h"
#include "report/RpDevice.h"

#include "support/Pdf.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

#include <cmath>

using namespace print_test;
using namespace testing_support;

namespace {

struct Box {
    long double left, top, width, height; // on the band, tenths of a millimetre
};
struct Word {
    QString text;
    long double left, top;
};

// The band prints at (100, 100) from the paper's corner.
constexpr long double BandX = 100;
constexpr long double BandY = 100;

const Box Boxes[] = {{35, 205, 300, 100}, {1650, 2450, 150, 150}, {700, 1200, 63, 41}};
const Word Words[] = {{"Alfa", 400, 600}, {"Bravo", 1213, 1507}, {"Charlie", 150, 2555}};

std::unique_ptr<TRpReport> MarksReport(const QString &title) {
    auto report = NativeReport(title);
    TRpBand &band = AddBand(*report, TRpBandType::rbTitle, 2700);
    for (const Box &b : Boxes)
        AddRectangle(band, b.left, b.top, b.width, b.height);
    for (const Word &w : Words)
        AddWord(band, w.text, w.left, w.top).SetName(w.text);
    return report;
}

// The print options CUPS kept for a job, when the spool folder can be read.
QByteArray JobControlFile(int job) {
    QFile file(QString("/var/spool/cups/c%1").arg(job, 5, 10, QChar('0')));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void PrintAndMeasure(const QString &queue, const QString &outputDir) {
    platform::PrinterSystem &printers = platform::PrinterSystem::real();
    const int index = int(printers.printerNames().indexOf(queue));
    ASSERT_GE(index, 0) << queue.toStdString() << " is not among the printers";
    const std::optional<platform::DeviceCaps> caps = printers.deviceCaps(queue);
    ASSERT_TRUE(caps);
    const int dpi = caps->logPixelsX;
    ASSERT_EQ(caps->logPixelsY, dpi);
    TRpDeviceMapping mapping = TRpDeviceMapping::ForResolution(dpi);
    mapping.LeftUnprintable = TRpDeviceMapping::PixelsToTenths(caps->physicalOffsetX, dpi);
    mapping.TopUnprintable = TRpDeviceMapping::PixelsToTenths(caps->physicalOffsetY, dpi);

    const QString title =
        QString("RealPrint_%1_%2").arg(queue).arg(QCoreApplication::applicationPid());
    auto report = MarksReport(title);
    report->PrinterSettings().PrinterIndex = index;
    const PdfJobWatch watch(outputDir, title);
    report->Print();
    const QString pdf = watch.Wait();
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF for " << title.toStdString() << " in "
                                << outputDir.toStdString();

    // The paper is A4 and nothing was fitted to the printable area.
    const QSizeF paper = PdfPageSize(pdf);
    EXPECT_NEAR(paper.width(), 595.28, 0.5);
    EXPECT_NEAR(paper.height(), 841.89, 0.5);
    const QByteArray options = JobControlFile(PdfJobNumber(pdf));
    if (!options.isEmpty()) {
        EXPECT_TRUE(options.contains("print-scaling") && options.contains("none"));
    }

    // Words: the left end of each, in device pixels from the paper's left edge.
    const std::vector<PdfWord> words = PdfWords(pdf);
    for (const Word &w : Words) {
        // A label sizing itself to its text settles on whole screen pixels, so its place
        // is read back from the label.
        const long double left = report->Find<TRpLabel>(w.text)->Size().NativeLeft();
        EXPECT_NEAR(double(left), double(w.left), 254.0 / 96);
        const auto found = std::find_if(words.begin(), words.end(),
                                        [&](const PdfWord &p) { return p.text == w.text; });
        ASSERT_NE(found, words.end()) << w.text.toStdString();
        const double measured = found->xMin * dpi / 72;
        EXPECT_LE(std::abs(measured - mapping.DeviceX(BandX + left)), 1.0)
            << w.text.toStdString() << " at " << measured;
    }

    // Rectangles: their top and left edges in the page rendered at the device's resolution.
    for (const Box &b : Boxes) {
        const int x = mapping.DeviceX(BandX + b.left);
        const int y = mapping.DeviceY(BandY + b.top);
        const int right = mapping.DeviceX(BandX + b.left + b.width);
        const int bottom = mapping.DeviceY(BandY + b.top + b.height);
        const QRect crop(x - 40, y - 40, right - x + 80, bottom - y + 80);
        const QImage image = RenderPdfPage(pdf, dpi, crop);
        ASSERT_FALSE(image.isNull());
        const int middleX = (right - x) / 2 + 40;
        const int middleY = (bottom - y) / 2 + 40;
        const int top = FirstDarkRow(image, QRect(middleX - 2, 0, 5, image.height()));
        const int left = FirstDarkColumn(image, QRect(0, middleY - 2, image.width(), 5));
        ASSERT_GE(top, 0) << "nothing dark at " << x << "," << y;
        ASSERT_GE(left, 0);
        EXPECT_LE(std::abs(crop.y() + top - y), 1) << "top of the box at " << y;
        EXPECT_LE(std::abs(crop.x() + left - x), 1) << "left of the box at " << x;
    }
    QFile::remove(pdf);
}

} // namespace

TEST(RealPrint, MarksLandWhereTheMappingPutsThemOnEachQueue) {
    const QString outputDir = qEnvironmentVariable("MEROVAN_PDF_OUTDIR");
    const QString queues[] = {qEnvironmentVariable("MEROVAN_PDF_QUEUE"),
                              qEnvironmentVariable("MEROVAN_PDF_MARGIN_QUEUE")};
    if (outputDir.isEmpty() || queues[0].isEmpty() || queues[1].isEmpty())
        GTEST_SKIP() << "no PDF print queues: MEROVAN_PDF_QUEUE, MEROVAN_PDF_MARGIN_QUEUE and "
                        "MEROVAN_PDF_OUTDIR come from scripts/print-queues (run by scripts/test)";
    for (const QString &queue : queues) {
        SCOPED_TRACE(queue.toStdString());
        PrintAndMeasure(queue, outputDir);
    }
}
