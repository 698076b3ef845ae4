// The preview of a plate, opened through the main window: its page image holds the same
// lines as the printed PDF at the same places, at the screen's scale.
#include "forms/PlatePrintSupport.h"

#include "report/PreviewTestSupport.h"
#include "support/FakePrinterDevice.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPicture>
#include <QTest>
#include <QTimer>

#include <cmath>

namespace {

using namespace plate_print;
using testing_support::Primitive;

// The first page of the preview, as its job stores it.
struct PreviewPage {
    QImage image;                      // played at the screen's resolution
    testing_support::Primitives drawn; // what playing it draws
};

class PlatePrintPreview : public PlateWindow {
protected:
    // Presses "&Podgląd", takes the page once the preview shows it and closes the window.
    PreviewPage Preview() {
        PreviewPage page;
        QTimer poll;
        QElapsedTimer clock;
        clock.start();
        QObject::connect(&poll, &QTimer::timeout, [&] {
            TRpStandardPreview *window = print_test::OpenPreview();
            TRpPrinter *job = window ? window->RpPreview->Job() : nullptr;
            if (job && job->Status() == TRpJobStatus::Finished &&
                window->RpPreview->Image()->HasPage()) {
                poll.stop();
                Play(*job->GetPage(1), job->PageImageSize(), page);
                window->ExitClick();
            } else if (clock.elapsed() > 20000) {
                poll.stop();
                ADD_FAILURE() << "the preview did not show the page";
                if (window)
                    window->ExitClick();
            }
        });
        poll.start(10);
        QTest::mouseClick(Child<QWidget>("BitBtn1"), Qt::LeftButton);
        EXPECT_TRUE(messages.shown.empty());
        return page;
    }

private:
    static void Play(const QPicture &picture, const QSize &size, PreviewPage &page) {
        const int dotsPerMetre = int(std::lround(96 / 0.0254));
        page.image = QImage(size, QImage::Format_Grayscale8);
        page.image.setDotsPerMeterX(dotsPerMetre);
        page.image.setDotsPerMeterY(dotsPerMetre);
        page.image.fill(Qt::white);
        QPainter(&page.image).drawPicture(0, 0, picture);
        testing_support::RecordingPaintDevice device(size.width(), size.height(), 96, 96);
        device.recordInto(&page.drawn);
        QPainter(&device).drawPicture(0, 0, picture);
    }
};

TEST_F(PlatePrintPreview, PageImageHasThePrintedLinesAtTheirPlaces) {
    const Queues queues = QueuesFromEnvironment();
    if (!queues.Available())
        GTEST_SKIP() << NoQueues;
    const int dpi = QueueDpi(queues.plain);
    ASSERT_GT(dpi, 0);
    const std::vector<std::pair<Position, PlateTexts>> plates{
        {PositionOf(8, 6), {"VOLKSWAGEN", "GOLF", "WVWZZZ1JZXW000001", "PREVIEW-1"}},
        {PositionOf(10, 5), {"FIAT", "126P", "SUF126000", "PREVIEW-2"}},
    };
    const std::vector<QString> pdfs = PrintAll(queues.plain, plates);

    for (std::size_t n = 0; n < plates.size(); ++n) {
        const auto &[position, texts] = plates[n];
        SCOPED_TRACE(PositionName(position));
        if (pdfs[n].isEmpty())
            continue;
        const ExpectedPlate paper = Expect(position, texts, dpi);
        const PlateMeasure printed = Measure(pdfs[n], paper);
        const ExpectedPlate screen = Expect(position, texts, 96);
        Fill(position, texts);
        const PreviewPage page = Preview();
        ASSERT_FALSE(page.image.isNull());
        EXPECT_EQ(page.image.size(), QSize(794, 1123));

        std::vector<const Primitive *> drawnTexts;
        for (const Primitive &p : page.drawn)
            if (p.kind == Primitive::Kind::Text)
                drawnTexts.push_back(&p);
        ASSERT_EQ(drawnTexts.size(), screen.lines.size());
        const double scale = 96.0 / dpi;
        for (std::size_t i = 0; i < screen.lines.size(); ++i) {
            const ExpectedLine &line = screen.lines[i];
            SCOPED_TRACE(line.label.toStdString());
            const auto found =
                std::find_if(drawnTexts.begin(), drawnTexts.end(),
                             [&](const Primitive *p) { return p->text == line.text; });
            ASSERT_NE(found, drawnTexts.end()) << "the preview does not show the line";
            const Primitive &drawn = **found;
            EXPECT_EQ(drawn.text, line.text);

            // The line's anchored end, where the geometry and the paper have it.
            const double start = drawn.bounds.left();
            const double end = drawn.bounds.left() + drawn.bounds.width();
            const double anchor = line.alignment == TAlignment::taLeftJustify ? start
                                  : line.alignment == TAlignment::taRightJustify
                                      ? end
                                      : (start + end) / 2;
            EXPECT_NEAR(anchor, line.anchor, 1.0);
            EXPECT_NEAR(anchor, printed.labels[i].anchor * scale, 1.0);

            // The ink: where the engine draws it at the screen's resolution, where the font
            // puts the glyphs' tops, and where the paper has it, scaled. The screen realises
            // fonts in whole pixels (14 points are 19 pixels, 18.67 on paper scaled), which
            // moves the glyphs by up to half a pixel more.
            const QRect ink = LineInk(page.image, {0, 0}, screen.lines, i, 96);
            const QRect engine =
                LineInk(screen.reference, screen.area.topLeft(), screen.lines, i, 96);
            ASSERT_FALSE(ink.isNull());
            EXPECT_EQ(ink, engine);
            EXPECT_NEAR(ink.top(), line.inkTop, 1.0);
            const QRect &paperInk = printed.labels[i].ink;
            EXPECT_NEAR(ink.top(), paperInk.top() * scale, 1.5);
            EXPECT_NEAR(ink.bottom() + 1, (paperInk.bottom() + 1) * scale, 1.5);
        }
        QFile::remove(pdfs[n]);
    }
}

} // namespace
