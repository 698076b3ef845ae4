// Long input on the printed plate: the make is cut after the last word that fits its box and
// ends one space short of the box's edge, a word longer than the box keeps only what stays
// strictly below its width, a whole 20-character body number fits, and trailing spaces move
// right-aligned text to the left; all read back from the PDF.
#include "forms/PlatePrintSupport.h"

#include "forms/uDrukTabliczka.h"
#include "platform/Canvas.h"
#include "report/RpCtrls.h"
#include "report/RpDevice.h"
#include "report/RpReport.h"

#include <QFile>
#include <QFontMetricsF>

namespace {

using namespace plate_print;

class PlatePrintLongInput : public PlateWindow {};

const QString Make = QStringLiteral("VOLKSWAGEN SAMOCHODY DOSTAWCZE");
const QString LongWord(32, QLatin1Char('W'));
const QString Body = QStringLiteral("WVWZZZ1JZXW000001234");

// The labels' widths in design pixels, and their texts' widths as layout measures them.
struct Measuring {
    TfDrukTabliczka plate;
    int Width(const TRpLabel *label, const QString &text) const {
        return plate.RpReport1->TextWidth(label->Font(), text);
    }
};

const LabelMeasure &Line(const PlateMeasure &measured, const char *label) {
    return *std::find_if(measured.labels.begin(), measured.labels.end(),
                         [&](const LabelMeasure &m) { return m.label == QLatin1String(label); });
}

TEST_F(PlatePrintLongInput, LinesAreCutAsTheLabelLayoutSays) {
    const Queues queues = QueuesFromEnvironment();
    if (!queues.Available())
        GTEST_SKIP() << NoQueues;
    const int dpi = QueueDpi(queues.plain);
    ASSERT_GT(dpi, 0);
    const Position position = PositionOf(10, 3);
    const PlateTexts cut{Make, "GOLF   ", Body, "LONG-A"};
    const PlateTexts word{LongWord, "GOLF", "1", "LONG-B"};
    const std::vector<QString> pdfs = PrintAll(queues.plain, {{position, cut}, {position, word}});
    ASSERT_FALSE(pdfs[0].isEmpty() || pdfs[1].isEmpty());

    const ExpectedPlate expectedCut = Expect(position, cut, dpi);
    const ExpectedPlate expectedWord = Expect(position, word, dpi);
    const PlateMeasure printedCut = Measure(pdfs[0], expectedCut);
    const PlateMeasure printedWord = Measure(pdfs[1], expectedWord);
    {
        SCOPED_TRACE("cut make, model with trailing spaces, whole body number");
        ExpectAsGeometrySays(expectedCut, printedCut, 0.5);
    }
    {
        SCOPED_TRACE("make of one long word");
        ExpectAsGeometrySays(expectedWord, printedWord, 0.5);
    }

    const Measuring measuring;
    const TRpLabel *make = measuring.plate.RpLabel7;
    const int box = make->Width();
    ASSERT_EQ(box, 280);
    const QFontMetricsF device(platform::RealiseFont(make->Font(), dpi));
    const TRpDeviceMapping mapping = TRpDeviceMapping::ForResolution(dpi);
    const double rightEdge =
        mapping.DeviceX(100 + (position.L + 38 + 280) * 254.0L / 96); // make, model, body

    // The make: the words up to the last that fits, the rest left out; the line keeps the
    // space it was broken at, so the printed text ends one space short of the edge.
    EXPECT_LE(measuring.Width(make, "VOLKSWAGEN SAMOCHODY "), box);
    EXPECT_GT(measuring.Width(make, Make), box);
    const LabelMeasure &printedMake = Line(printedCut, "RpLabel7");
    EXPECT_EQ(printedMake.words, QStringList({"VOLKSWAGEN", "SAMOCHODY"}));
    EXPECT_NEAR(rightEdge - printedMake.anchor, device.horizontalAdvance(' '), 1.0);

    // One word wider than the box: only the leading characters that stay strictly below
    // the width.
    const QStringList longWord = Line(printedWord, "RpLabel7").words;
    ASSERT_EQ(longWord.size(), 1);
    const qsizetype kept = longWord[0].size();
    EXPECT_EQ(longWord[0], LongWord.left(kept));
    EXPECT_LT(kept, LongWord.size());
    EXPECT_LT(measuring.Width(make, LongWord.left(kept)), box);
    EXPECT_GE(measuring.Width(make, LongWord.left(kept + 1)), box);
    EXPECT_NEAR(Line(printedWord, "RpLabel7").anchor, rightEdge, 1.0);

    // A body number of 20 characters without spaces fits whole and ends at the edge.
    const TRpLabel *body = measuring.plate.RpLabel9;
    EXPECT_LT(measuring.Width(body, Body), body->Width());
    EXPECT_EQ(Line(printedCut, "RpLabel9").words, QStringList{Body});
    EXPECT_NEAR(Line(printedCut, "RpLabel9").anchor, rightEdge, 1.0);

    // Trailing spaces move the model to the left by their width.
    const double shift = Line(printedWord, "RpLabel8").anchor - Line(printedCut, "RpLabel8").anchor;
    EXPECT_NEAR(shift, device.horizontalAdvance("   "), 1.0);
    EXPECT_GT(shift, 0);

    for (const QString &pdf : pdfs)
        QFile::remove(pdf);
}

} // namespace
