// The plate printed through the main window onto real CUPS queues that write PDFs: on every
// position of both sheets each word starts where the geometry says and its ink stands where
// the engine puts it, measured from the paper's edge, also on a queue whose paper has
// unprintable margins.
#include "forms/PlatePrintSupport.h"

#include "support/Pdf.h"

#include <QFile>

#include <algorithm>
#include <cstdio>

namespace {

using namespace plate_print;

class PlatePrint : public PlateWindow {
protected:
    // Prints the positions on the queue and measures each PDF; a right-aligned line's end
    // and a centred line's middle are expected within `endTolerance` device pixels.
    void PrintAndMeasure(const QString &queue, const std::vector<Position> &positions,
                         const QString &stationPrefix, double endTolerance) {
        const int dpi = QueueDpi(queue);
        ASSERT_GT(dpi, 0) << queue.toStdString();
        std::vector<std::pair<Position, PlateTexts>> plates;
        for (const Position &p : positions)
            plates.push_back(
                {p,
                 {"VOLKSWAGEN", "GOLF", "WVWZZZ1JZXW000001",
                  QStringLiteral("%1%2-%3").arg(stationPrefix).arg(p.sheet).arg(p.marker)}});
        const std::vector<QString> pdfs = PrintAll(queue, plates);
        for (std::size_t i = 0; i < plates.size(); ++i) {
            if (pdfs[i].isEmpty())
                continue;
            const auto &[position, texts] = plates[i];
            SCOPED_TRACE(PositionName(position));
            const QSizeF paper = testing_support::PdfPageSize(pdfs[i]);
            EXPECT_NEAR(paper.width(), 595.28, 0.5);
            EXPECT_NEAR(paper.height(), 841.89, 0.5);
            const ExpectedPlate expected = Expect(position, texts, dpi);
            const Deviation deviation =
                ExpectAsGeometrySays(expected, Measure(pdfs[i], expected), endTolerance);
            std::printf("%s on %s at %d dpi: starts within %.3f, ends and middles within %.3f, "
                        "ink tops within %.3f of the glyphs' and %d of the engine's device "
                        "pixels\n",
                        PositionName(position).c_str(), qPrintable(queue), dpi, deviation.start,
                        deviation.end, deviation.top, deviation.ink);
            QFile::remove(pdfs[i]);
        }
    }
};

// Every anchor, a line's start, end or middle, within half a device pixel.
constexpr double HalfDevicePixel = 0.5;

TEST_F(PlatePrint, EveryPositionLandsWhereTheGeometrySays) {
    const Queues queues = QueuesFromEnvironment();
    if (!queues.Available())
        GTEST_SKIP() << NoQueues;
    PrintAndMeasure(queues.plain, AllPositions(), "P", HalfDevicePixel);
}

TEST_F(PlatePrint, UnprintableMarginsMoveNothingOnThePaper) {
    const Queues queues = QueuesFromEnvironment();
    if (!queues.Available())
        GTEST_SKIP() << NoQueues;
    // Both sheets, both columns, top and bottom rows.
    PrintAndMeasure(queues.margins,
                    {PositionOf(8, 1), PositionOf(8, 9), PositionOf(10, 5), PositionOf(10, 6)}, "M",
                    HalfDevicePixel);
}

// The sheet the preview shows never reaches the paper: on a 300-dpi rendering of the printed
// page every pixel that is not white lies in a line of the plate's text.
TEST_F(PlatePrint, PaperHoldsNothingButThePlatesText) {
    const Queues queues = QueuesFromEnvironment();
    if (!queues.Available())
        GTEST_SKIP() << NoQueues;
    constexpr int Dpi = 300;
    const std::vector<std::pair<Position, PlateTexts>> plates{
        {PositionOf(8, 7), {"FIAT", "126P", "SUF126000", "INK-8"}},
        {PositionOf(10, 10), {"FIAT", "126P", "SUF126000", "INK-10"}}};
    const std::vector<QString> pdfs = PrintAll(queues.plain, plates);
    for (std::size_t n = 0; n < plates.size(); ++n) {
        SCOPED_TRACE(PositionName(plates[n].first));
        if (pdfs[n].isEmpty())
            continue;
        const ExpectedPlate expected = Expect(plates[n].first, plates[n].second, Dpi);
        const QImage page = testing_support::RenderPdfPage(pdfs[n], Dpi);
        ASSERT_FALSE(page.isNull());
        int inText = 0;
        int stray = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) >= 250)
                    continue;
                const bool text = std::any_of(
                    expected.lines.begin(), expected.lines.end(), [&](const ExpectedLine &line) {
                        return line.cell.adjusted(-3, -3, 3, 3).contains(x, y);
                    });
                (text ? inText : stray) += 1;
            }
        EXPECT_GT(inText, 0);
        EXPECT_EQ(stray, 0);
        QFile::remove(pdfs[n]);
    }
}

} // namespace
