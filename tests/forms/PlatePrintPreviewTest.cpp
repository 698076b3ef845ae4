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

// The preview shows the loaded sheet: every pre-cut position's outline within its own cell,
// faint, the chosen one strong, a used one hatched, all beneath the plate's text; the other
// layout's positions are not there.
TEST_F(PlatePrintPreview, PageImageShowsTheSheetsPositionsBeneathThePlate) {
    const Queues queues = QueuesFromEnvironment();
    if (!queues.Available())
        GTEST_SKIP() << NoQueues;
    struct Sheet {
        int positions;
        std::array<double, 2> columns; // outline left edges, mm from the paper's edge
        std::vector<double> rows;      // outline top edges
        QSizeF size;                   // a cell of the sheet's pitch, less 1 mm
    };
    const Sheet sheets[] = {{8, {13.5, 103.5}, {30.5, 90.3, 150.1, 210.0}, {89, 58.2}},
                            {10, {17, 106}, {10, 65, 120, 175, 230}, {88, 54}}};
    ShowMain();
    const double pixelsPerMm = 96 / 25.4;
    // The darkest grey along a horizontal edge near its expected row.
    const auto edge = [](const QImage &image, QPointF at) {
        int darkest = 255;
        for (int dy = -1; dy <= 1; ++dy)
            darkest = std::min(darkest, qGray(image.pixel(int(at.x()), int(at.y()) + dy)));
        return darkest;
    };
    for (const Sheet &sheet : sheets) {
        const int chosen = sheet.positions == 8 ? 7 : 10;
        SCOPED_TRACE(sheet.positions);
        const QSizeF outline = sheet.size * pixelsPerMm;
        Fill(PositionOf(sheet.positions, chosen), {"FIAT", "126P", "SUF126000", "SHEET"});
        window->OznaczPozycje(true); // a plate spoiled there: the position shows used
        ChooseQueue(queues.plain);
        const PreviewPage page = Preview();
        ASSERT_FALSE(page.image.isNull());
        int outlines = 0;
        for (std::size_t column = 0; column < 2; ++column)
            for (std::size_t row = 0; row < sheet.rows.size(); ++row) {
                const int marker = int(column * 5 + row + 1);
                SCOPED_TRACE(marker);
                const QPointF corner(sheet.columns[column] * pixelsPerMm,
                                     sheet.rows[row] * pixelsPerMm);
                const int top = edge(page.image, corner + QPointF(outline.width() / 2, 0));
                const int bottom =
                    edge(page.image, corner + QPointF(outline.width() / 3, outline.height()));
                if (marker == chosen) {
                    EXPECT_LT(top, 140);
                    EXPECT_LT(bottom, 140);
                } else {
                    EXPECT_GT(top, 170); // faint, yet there
                    EXPECT_LT(top, 240);
                    EXPECT_GT(bottom, 170);
                    EXPECT_LT(bottom, 240);
                }
                // Inside, the foil stays white, but where it is used: there it is hatched.
                int hatched = 0;
                for (int x = 3; x < 23; ++x)
                    hatched += qGray(page.image.pixel((corner + QPointF(x, 5)).toPoint())) < 255;
                EXPECT_EQ(hatched > 0, marker == chosen) << hatched;
                // The neighbour to the right or below starts after this outline has ended.
                EXPECT_LT(sheet.columns[0] + sheet.size.width(), sheet.columns[1]);
                if (row + 1 < sheet.rows.size()) {
                    EXPECT_LT(sheet.rows[row] + sheet.size.height(), sheet.rows[row + 1]);
                }
                ++outlines;
            }
        EXPECT_EQ(outlines, sheet.positions);
        // Every outline's four sides come before the first text: they lie beneath the plate.
        std::size_t firstText = page.drawn.size();
        std::vector<std::size_t> outlineAt;
        for (std::size_t i = 0; i < page.drawn.size(); ++i) {
            const Primitive &p = page.drawn[i];
            if (p.kind == Primitive::Kind::Text)
                firstText = std::min(firstText, i);
            else if (p.brushColour == QColor(208, 208, 208) || p.brushColour == QColor(0, 112, 192))
                outlineAt.push_back(i); // an outline's side, drawn as a thin filled strip
        }
        ASSERT_EQ(outlineAt.size(), std::size_t(4 * sheet.positions));
        EXPECT_LT(outlineAt.back(), firstText);
    }
    // The 8-position sheet has nothing where only the 10-position sheet has a plate.
    Fill(PositionOf(8, 1), {"FIAT", "126P", "SUF126000", "SHEET"});
    const PreviewPage eight = Preview();
    EXPECT_EQ(edge(eight.image, QPointF(17 + 93.4 / 2, 230) * pixelsPerMm), 255);
}
