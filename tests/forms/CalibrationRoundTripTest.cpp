// Printer calibration end to end on the real CUPS PDF queue, its output moved and stretched
// as a misregistered printer would: the calibration sheet printed through the dialog, its
// marks read from the paper's edges, the readings typed into the dialog and saved, the check
// sheet read and entered where the check goes, and plates printed through the main window land
// on their designed places; uncalibrated they do not, and the check's readings typed where the
// calibration goes are refused.
#include "forms/PlatePrintSupport.h"

#include "forms/kalibracja/uKalibracja.h"
#include "support/Pdf.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdio>

namespace {

using namespace plate_print;
using testing_support::PdfWord;

constexpr double MmPerPoint = 25.4 / 72;

struct Misregistration {
    double dx, dy, sx, sy;
    int decimals = 2; // of the readings typed in
    // How far from the design a corrected word may land: a ruler read to a tenth of a
    // millimetre may be off by half of it at each mark.
    double Tolerance() const { return decimals == 1 ? 0.1 : 0.05; }
    double Uncorrected() const { return (dx > 0) == (sx > 1) ? 2.0 : 1.0; }
};

class CalibrationRoundTrip : public PlateWindow {
protected:
    QString Misregistered(const QString &pdf, const Misregistration &m) {
        const QString out = dir_.filePath(QStringLiteral("misregistered-%1.pdf").arg(++files_));
        EXPECT_TRUE(testing_support::MisregisterPdf(pdf, out, m.dx, m.dy, m.sx, m.sy));
        return out;
    }

    // Presses a button of the dialog on the queue and waits for the sheet's PDF; the dialog
    // says it printed.
    QString PrintSheet(TfKalibracja &dialog, const char *button) {
        testing_support::PdfJobWatch watch(QueuesFromEnvironment().outputDir, "Kalibracja");
        messages.shown.clear();
        QTest::mouseClick(dialog.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
        EXPECT_EQ(messages.shown.size(), 1u);
        if (!messages.shown.empty()) {
            EXPECT_TRUE(messages.shown[0].text.contains("wysłano do drukarki"));
        }
        messages.shown.clear();
        return watch.Wait();
    }

    // Types the readings into the fields of one part of the dialog and presses its button.
    void Enter(TfKalibracja &dialog, const std::array<double, 4> &read, int decimals,
               const char *fields, const char *button) {
        for (std::size_t i = 0; i < read.size(); ++i)
            dialog
                .findChild<QLineEdit *>(QLatin1String(fields) +
                                        QLatin1String(CalibrationMarkNames[i]))
                ->setText(QString::number(read[i], 'f', decimals).replace(u'.', u','));
        QTest::mouseClick(dialog.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
    }

    // The middle of each mark as an operator's ruler reads it: A and B from the paper's left
    // edge, C and D from its top edge, in millimetres, on the line away from its vernier.
    static std::array<double, 4> ReadMarks(const QString &pdf, TCalibrationSheet sheet) {
        constexpr int Dpi = 600;
        const QImage page = testing_support::RenderPdfPage(pdf, Dpi);
        const auto px = [](double mm) { return int(std::lround(mm / 25.4 * Dpi)); };
        const auto middle = [&](QRect region, bool across) {
            double weight = 0, sum = 0;
            for (int y = region.top(); y <= region.bottom(); ++y)
                for (int x = region.left(); x <= region.right(); ++x) {
                    const double ink = 255 - qGray(page.pixel(x, y));
                    weight += ink;
                    sum += ink * ((across ? x : y) + 0.5);
                }
            return weight > 0 ? sum / weight / Dpi * 25.4 : -1;
        };
        const auto [a, b, c, d] = MarksOf(sheet);
        return {middle(QRect(QPoint(px(a - 8), px(165)), QPoint(px(a + 8), px(195))), true),
                middle(QRect(QPoint(px(b - 8), px(165)), QPoint(px(b + 8), px(195))), true),
                middle(QRect(QPoint(px(75), px(c - 7)), QPoint(px(95), px(c + 7))), false),
                middle(QRect(QPoint(px(75), px(d - 7)), QPoint(px(95), px(d + 7))), false)};
    }

    // The largest distance of any word's box edges from where the design puts them: each
    // word's offset from the same word on the uncalibrated, untouched print, plus that print's
    // own rounding of its line to the device pixel.
    static double WorstWord(const QString &printed, const QString &reference,
                            const Position &position, const PlateTexts &texts, int dpi) {
        const std::vector<PdfWord> words = testing_support::PdfWords(printed);
        const std::vector<PdfWord> today = testing_support::PdfWords(reference);
        EXPECT_EQ(words.size(), today.size());
        if (words.size() != today.size() || today.empty())
            return 1e9;
        const ExpectedPlate expected = Expect(position, texts, dpi);
        const std::vector<DesignedLine> designed = Designed(position);
        const double mmPerPixel = 25.4 / dpi;
        double worst = 0;
        for (std::size_t i = 0; i < words.size(); ++i) {
            // A glyph the PDF's font maps to no character (cups-pdf's Type 3 fonts do so for
            // some Polish letters) comes out as a word without text, its box taken from the
            // font's own bounding box, not from the ink: not a word to measure.
            if (!std::any_of(today[i].text.begin(), today[i].text.end(),
                             [](QChar c) { return c.isLetterOrNumber(); }))
                continue;
            const QPointF centre((today[i].xMin + today[i].xMax) / 2 / 72 * dpi,
                                 (today[i].yMin + today[i].yMax) / 2 / 72 * dpi);
            std::size_t line = 0;
            while (line < expected.lines.size() &&
                   !QRectF(expected.lines[line].cell).adjusted(-2, -2, 2, 2).contains(centre))
                ++line;
            if (line == expected.lines.size()) {
                ADD_FAILURE() << "word " << today[i].text.toStdString() << " in no line";
                continue;
            }
            // Only the station identifier differs, as each print's is its own; its right end
            // is its line's anchor.
            const bool station = expected.lines[line].label == QLatin1String("RpLabel2");
            if (!station) {
                EXPECT_EQ(words[i].text, today[i].text);
            }
            const double ex = expected.lines[line].anchor * mmPerPixel - designed[line].anchor;
            const double ey = expected.lines[line].cell.top() * mmPerPixel - designed[line].top;
            for (const double d : {station ? 0 : (words[i].xMin - today[i].xMin) * MmPerPoint + ex,
                                   (words[i].xMax - today[i].xMax) * MmPerPoint + ex,
                                   (words[i].yMin - today[i].yMin) * MmPerPoint + ey,
                                   (words[i].yMax - today[i].yMax) * MmPerPoint + ey})
                worst = std::max(worst, std::abs(d));
        }
        return worst;
    }

private:
    QTemporaryDir dir_;
    int files_ = 0;
};

TEST_F(CalibrationRoundTrip, CalibratedPlatesLandOnTheirDesignAndUncalibratedOnesDoNot) {
    const Queues queues = QueuesFromEnvironment();
    if (!queues.Available())
        GTEST_SKIP() << NoQueues;
    const int dpi = QueueDpi(queues.plain);
    ASSERT_GT(dpi, 0);
    const std::vector<Position> positions{PositionOf(8, 1), PositionOf(8, 9), PositionOf(10, 1),
                                          PositionOf(10, 10)};
    const auto platesOf = [&](const QString &prefix) {
        std::vector<std::pair<Position, PlateTexts>> plates;
        for (const Position &p : positions)
            plates.push_back({p,
                              {"VOLKSWAGEN", "GOLF", "WVWZZZ1JZXW000001",
                               QStringLiteral("%1%2-%3").arg(prefix).arg(p.sheet).arg(p.marker)}});
        return plates;
    };
    // Today's print, and the other queue's, before any calibration.
    const auto referencePlates = platesOf("CR");
    const std::vector<QString> reference = PrintAll(queues.plain, referencePlates);
    const std::vector<QString> otherBefore = PrintAll(queues.margins, {platesOf("CO")[0]});

    const Misregistration cases[] = {
        {2, -2, 1.005, 0.995},    {-2, 2, 0.995, 1.005}, // shift and stretch the same way
        {2, -2, 0.995, 1.005},    {-2, 2, 1.005, 0.995}, // and against each other
        {2, -2, 1.005, 0.995, 1},                        // read as an operator reads a ruler
    };
    int run = 0;
    for (const Misregistration &m : cases) {
        SCOPED_TRACE(QStringLiteral("shift %1, %2 mm, stretch %3, %4, read to %5 decimals")
                         .arg(m.dx)
                         .arg(m.dy)
                         .arg(m.sx)
                         .arg(m.sy)
                         .arg(m.decimals)
                         .toStdString());
        ShowMain();
        ChooseQueue(queues.plain);
        TfKalibracja dialog(Child<QComboBox>("cbDrukarka")->currentText());
        ASSERT_EQ(dialog.Printer(), queues.plain);
        const QString sheet = PrintSheet(dialog, "BitBtnArkusz");
        ASSERT_FALSE(sheet.isEmpty());
        const std::array<double, 4> read =
            ReadMarks(Misregistered(sheet, m), TCalibrationSheet::Calibration);
        std::printf("sheet read as A %.3f, B %.3f, C %.3f, D %.3f mm\n", read[0], read[1], read[2],
                    read[3]);
        Enter(dialog, read, m.decimals, "Edit", "BitBtnZapisz");
        ASSERT_TRUE(messages.shown.empty());
        const TCalibrationValues calibrated = StoredCalibration(queues.plain).values;

        // The check print with the stored correction reads as designed, and says so; entered
        // where the check goes, it refines the correction.
        const std::array<double, 4> checked = ReadMarks(
            Misregistered(PrintSheet(dialog, "BitBtnSprawdz"), m), TCalibrationSheet::Check);
        for (std::size_t i = 0; i < checked.size(); ++i)
            EXPECT_NEAR(checked[i], CheckMarks[i], m.Tolerance()) << CalibrationMarkNames[i];
        Enter(dialog, checked, m.decimals, "EditKontrola", "BitBtnPopraw");
        ASSERT_TRUE(messages.shown.empty());
        EXPECT_TRUE(
            dialog.findChild<QLabel *>("LabelSprawdzenie")->text().contains("Kalibracja poprawna"));
        // Typed where the calibration goes, the check's readings are refused: the printer
        // keeps its correction.
        Enter(dialog, checked, m.decimals, "Edit", "BitBtnZapisz");
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_TRUE(messages.shown[0].text.contains("pasują do arkusza kontrolnego"));
        messages.shown.clear();
        const TCalibrationValues refined = StoredCalibration(queues.plain).values;
        EXPECT_NEAR(refined.ShiftXMicrometres, calibrated.ShiftXMicrometres, 120);
        EXPECT_NEAR(refined.ShiftYMicrometres, calibrated.ShiftYMicrometres, 120);

        const auto plates = platesOf(QStringLiteral("C%1-").arg(++run));
        const std::vector<QString> printed = PrintAll(queues.plain, plates);
        for (std::size_t n = 0; n < plates.size(); ++n) {
            SCOPED_TRACE(PositionName(plates[n].first));
            if (printed[n].isEmpty() || reference[n].isEmpty())
                continue;
            const double calibrated = WorstWord(Misregistered(printed[n], m), reference[n],
                                                plates[n].first, referencePlates[n].second, dpi);
            const double uncalibrated = WorstWord(Misregistered(reference[n], m), reference[n],
                                                  plates[n].first, referencePlates[n].second, dpi);
            std::printf("%s: calibrated within %.3f mm, uncalibrated off by up to %.3f mm\n",
                        PositionName(plates[n].first).c_str(), calibrated, uncalibrated);
            EXPECT_LE(calibrated, m.Tolerance());
            // Uncorrected, the plate is off by the shift plus the stretch over its distance
            // from the paper's edge: the full 2 mm and more where they add up, still over a
            // millimetre where they work against each other.
            EXPECT_GE(uncalibrated, m.Uncorrected());
            QFile::remove(printed[n]);
        }
    }
    // The other printer has no calibration and prints as it did.
    const std::vector<QString> otherAfter = PrintAll(queues.margins, {platesOf("CO")[0]});
    if (!otherBefore[0].isEmpty() && !otherAfter[0].isEmpty()) {
        const std::vector<PdfWord> before = testing_support::PdfWords(otherBefore[0]);
        const std::vector<PdfWord> after = testing_support::PdfWords(otherAfter[0]);
        ASSERT_EQ(before.size(), after.size());
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i].xMin, before[i].xMin);
            EXPECT_EQ(after[i].yMin, before[i].yMin);
        }
    }
    for (const QString &pdf : reference)
        QFile::remove(pdf);
}

} // namespace
