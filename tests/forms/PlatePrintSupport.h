// The plate printed through the main window onto the PDF queues, and measured: where the
// geometry puts each label's line, where the engine puts its ink on an image at the
// printer's resolution, and where the PDF has the words and the ink.
#pragma once

#include "forms/MainFixture.h"
#include "report/RpPrintable.h"

#include <QImage>
#include <QRect>
#include <QSet>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace plate_print {

// The PDF queues scripts/print-queues sets up; all empty when it could not.
struct Queues {
    QString plain;
    QString margins;
    QString outputDir;
    bool Available() const {
        return !plain.isEmpty() && !margins.isEmpty() && !outputDir.isEmpty();
    }
};
Queues QueuesFromEnvironment();
constexpr const char *NoQueues =
    "no PDF print queues: MEROVAN_PDF_QUEUE, MEROVAN_PDF_MARGIN_QUEUE and MEROVAN_PDF_OUTDIR "
    "come from scripts/print-queues (run by scripts/test)";

// A position of a sheet and the outline's pixel position there at 96 dpi.
struct Position {
    int sheet; // 8 or 10 positions
    int marker;
    int L, T;
};
// Every position of both sheets.
const std::vector<Position> &AllPositions();
const Position &PositionOf(int sheet, int marker);
std::string PositionName(const Position &p);

struct PlateTexts {
    QString make, model, body, station;
};

// A label's line as the geometry places it, in device pixels from the paper's corner.
struct ExpectedLine {
    QString label;
    QString text; // the line drawn: the label's first laid-out line
    TAlignment alignment;
    double anchor = 0;     // the device column the alignment anchors the line at
    double visibleEnd = 0; // right-aligned: where the last visible character ends
    QRect cell;            // the line's advance and character cell
    double inkTop = 0;     // where the font puts the top of the line's glyphs in the cell
};

// The plate as the geometry and the engine put it on paper at a resolution.
struct ExpectedPlate {
    Position position;
    int dpi = 0;
    std::vector<ExpectedLine> lines;
    QRect area;       // the part of the page holding the plate, device pixels
    QImage reference; // the engine's rendering of that area
};

// A line's anchor and the top of its cell as the design has them, unrounded, in millimetres
// from the paper's corner; in the order of the expected lines.
struct DesignedLine {
    double anchor = 0;
    double top = 0;
};
std::vector<DesignedLine> Designed(const Position &position);

// Where a plate with the texts on the position lands on a page of the resolution.
ExpectedPlate Expect(const Position &position, const PlateTexts &texts, int dpi);

// What a printed page shows of one label.
struct LabelMeasure {
    QString label;
    QStringList words; // the words pdftotext finds in the line's cell, in order
    double anchor = 0; // left: first word's start; right: last word's end; centre:
                       // the middle of the two; device pixels
    QRect ink;         // dark pixels in the line's cell
};
struct PlateMeasure {
    std::vector<LabelMeasure> labels; // in the order of the expected lines
    QStringList stray;                // words in no label's cell
};

PlateMeasure Measure(const QString &pdf, const ExpectedPlate &expected);

// The largest deviations found, in device pixels.
struct Deviation {
    double start = 0; // left-aligned lines' starts, pdftotext against the geometry
    double end = 0;   // right-aligned lines' ends and centred lines' middles, the same
    double top = 0;   // the ink's top, the PDF against the glyphs' tops in the cell
    int ink = 0;      // ink edges, PDF against the engine's image
};
// Expects every label where the geometry and the engine say, with the words as laid out:
// a line's start within half a device pixel, its end or middle within `endTolerance`.
Deviation ExpectAsGeometrySays(const ExpectedPlate &expected, const PlateMeasure &measured,
                               double endTolerance);

// The bounds of a line's ink in an image of the page whose corner is at `origin`: the dark
// pixels near the line's cell that lie in no other line's cell (a descender reaching into
// the cell of the line below is not the lower line's ink). Empty when there are none.
QRect LineInk(const QImage &image, const QPoint &origin, const std::vector<ExpectedLine> &lines,
              std::size_t line, int dpi);

// The plate documents of a test all carry the report's title; those of other tests printing
// at the same time are told apart by the station identifier each plate carries.
class PlatePdfs {
public:
    explicit PlatePdfs(const QString &outputDir);
    // The new complete PDF of each station identifier; missing ones after the timeout are
    // absent from the result.
    std::map<QString, QString> Wait(const QStringList &stations, int timeoutMs = 120000);

private:
    QStringList Candidates() const;

    QString outputDir_;
    QSet<QString> before_;
};

// The main window on the real printers, driven as the operator does.
class PlateWindow : public testing_support::MainFixture {
protected:
    PlateWindow();

    // Types the four fields, chooses the sheet and presses the marker, whose position is made
    // free when an earlier print used it.
    void Fill(const Position &position, const PlateTexts &texts);
    void ChooseQueue(const QString &queue);
    // Presses "&Drukowanie" and expects the print to pass without a message.
    void Print();
    // Shows the window, prints each plate on the queue and waits for their PDFs; a plate
    // whose PDF does not come fails the test and gets an empty path. Station identifiers
    // tell the plates apart, so each must be unique among the tests that print.
    std::vector<QString> PrintAll(const QString &queue,
                                  const std::vector<std::pair<Position, PlateTexts>> &plates);
    // The resolution the queue prints at; both directions alike.
    static int QueueDpi(const QString &queue);
};

} // namespace plate_print
