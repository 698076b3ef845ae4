#include "forms/PlatePrintSupport.h"

#include "forms/controls/TShape.h"
#include "forms/uDrukTabliczka.h"
#include "forms/uDrukowanie.h"
#include "platform/Canvas.h"
#include "platform/PrinterSystem.h"
#include "platform/Screen.h"
#include "report/RpCtrls.h"
#include "report/RpReport.h"
#include "report/TestDevice.h"
#include "support/Pdf.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QRadioButton>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cmath>

namespace plate_print {
namespace {

using testing_support::PdfWord;

// The labels and their place relative to the outline's pixel position, in design pixels;
// a width of 0 marks a label that sizes itself to its text.
struct LabelPlace {
    const char *name;
    int left, top, width;
    TAlignment alignment;
};
const LabelPlace Labels[] = {
    {"RpLabel1", 38, 23, 280, TAlignment::taCenter},
    {"RpLabel4", 38, 51, 0, TAlignment::taLeftJustify},
    {"RpLabel7", 38, 66, 280, TAlignment::taRightJustify},
    {"RpLabel5", 38, 91, 0, TAlignment::taLeftJustify},
    {"RpLabel8", 38, 105, 280, TAlignment::taRightJustify},
    {"RpLabel6", 38, 131, 0, TAlignment::taLeftJustify},
    {"RpLabel9", 38, 145, 280, TAlignment::taRightJustify},
    {"RpLabel3", 38, 175, 0, TAlignment::taLeftJustify},
    {"RpLabel2", 222, 175, 97, TAlignment::taRightJustify},
};

// The outline is 353 x 220 design pixels.
constexpr int OutlineWidth = 353;
constexpr int OutlineHeight = 220;

// A design pixel at 96 dpi as a page position: the band starts 10 mm from the paper's edges.
long double PagePosition(long double pixels) {
    return 100 + pixels * 254.0L / 96;
}

// Ink may stand a little outside a line's advance; the cell is searched this much wider.
int Overhang(int dpi) {
    return dpi / 50;
}

QRect SearchRegion(const QRect &cell, int dpi) {
    return cell.adjusted(-Overhang(dpi), 0, Overhang(dpi), 0);
}

// Places a fresh plate report on the position with the texts, as the print job does.
void PlaceReport(TfDrukTabliczka &plate, const Position &position, const PlateTexts &texts) {
    std::array<platform::TColor, 10> fills;
    fills.fill(platform::clWhite);
    fills[position.marker - 1] = platform::SelectionColour;
    FillPlate(plate, ChosenPlateOrigin(position.sheet == 8 ? 0 : 1, fills),
              {texts.make, texts.model, texts.body, texts.station});
}

// The page position, in tenths of a millimetre, a label's alignment anchors its line at.
long double AnchorTenths(const Position &position, const LabelPlace &place) {
    const long double left = PagePosition(position.L + place.left);
    const long double width = place.width * 254.0L / 96;
    switch (place.alignment) {
    case TAlignment::taRightJustify:
        return left + width;
    case TAlignment::taCenter:
        return left + width / 2;
    case TAlignment::taLeftJustify:
        break;
    }
    return left;
}

} // namespace

std::vector<DesignedLine> Designed(const Position &position) {
    std::vector<DesignedLine> lines;
    for (const LabelPlace &place : Labels)
        lines.push_back({double(AnchorTenths(position, place) / 10),
                         double(PagePosition(position.T + place.top) / 10)});
    return lines;
}

Queues QueuesFromEnvironment() {
    return {qEnvironmentVariable("MEROVAN_PDF_QUEUE"),
            qEnvironmentVariable("MEROVAN_PDF_MARGIN_QUEUE"),
            qEnvironmentVariable("MEROVAN_PDF_OUTDIR")};
}

const std::vector<Position> &AllPositions() {
    static const std::vector<Position> positions{
        {8, 1, 13, 77},    {8, 2, 13, 303},    {8, 3, 13, 530},   {8, 4, 13, 756},
        {8, 6, 353, 77},   {8, 7, 353, 303},   {8, 8, 353, 530},  {8, 9, 353, 756},
        {10, 1, 26, 0},    {10, 2, 26, 208},   {10, 3, 26, 416},  {10, 4, 26, 624},
        {10, 5, 26, 831},  {10, 6, 363, 0},    {10, 7, 363, 208}, {10, 8, 363, 416},
        {10, 9, 363, 624}, {10, 10, 363, 831},
    };
    return positions;
}

const Position &PositionOf(int sheet, int marker) {
    for (const Position &p : AllPositions())
        if (p.sheet == sheet && p.marker == marker)
            return p;
    throw std::invalid_argument("no such sheet position");
}

std::string PositionName(const Position &p) {
    return std::to_string(p.sheet) + "-position sheet, marker " + std::to_string(p.marker);
}

ExpectedPlate Expect(const Position &position, const PlateTexts &texts, int dpi) {
    ExpectedPlate expected;
    expected.position = position;
    expected.dpi = dpi;
    const TRpDeviceMapping mapping = TRpDeviceMapping::ForResolution(dpi);
    TfDrukTabliczka plate;
    PlaceReport(plate, position, texts);

    for (const LabelPlace &place : Labels) {
        const auto *label = plate.RpReport1->Find<TRpLabel>(QLatin1String(place.name));
        ExpectedLine line;
        line.label = QLatin1String(place.name);
        line.text = label->FormattedLines().value(0);
        line.alignment = place.alignment;
        const QFont font = platform::RealiseFont(label->Font(), dpi);
        const QFontMetricsF metrics(font);
        const double advance = metrics.horizontalAdvance(line.text);
        const QString visible = line.text.trimmed();
        const qsizetype trailing = line.text.size() - line.text.indexOf(visible) - visible.size();
        const double trailingAdvance = metrics.horizontalAdvance(line.text.right(trailing));

        line.anchor = mapping.DeviceX(AnchorTenths(position, place));
        double start = line.anchor;
        if (place.alignment == TAlignment::taRightJustify) {
            line.visibleEnd = line.anchor - trailingAdvance;
            start = line.anchor - advance;
        } else if (place.alignment == TAlignment::taCenter) {
            start = line.anchor - advance / 2;
        }
        const QFontMetrics cellMetrics(font);
        line.cell =
            QRect(int(std::floor(start)), mapping.DeviceY(PagePosition(position.T + place.top)),
                  int(std::ceil(advance)) + 1, cellMetrics.ascent() + cellMetrics.descent());
        // The baseline lies the font's ascent below the cell's top.
        line.inkTop =
            line.cell.top() + cellMetrics.ascent() + metrics.tightBoundingRect(line.text).top();
        expected.lines.push_back(line);
    }

    const int left = mapping.DeviceX(PagePosition(position.L));
    const int top = mapping.DeviceY(PagePosition(position.T));
    const int margin = dpi / 10;
    expected.area =
        QRect(QPoint(left - margin, top - margin),
              QPoint(mapping.DeviceX(PagePosition(position.L + OutlineWidth)) + margin,
                     mapping.DeviceY(PagePosition(position.T + OutlineHeight)) + margin));

    // The engine draws the band onto an image of that part of the page, on the same device
    // pixels as the printer's page.
    expected.reference = QImage(expected.area.size(), QImage::Format_Grayscale8);
    expected.reference.fill(Qt::white);
    {
        QPainter painter(&expected.reference);
        painter.translate(-expected.area.topLeft());
        platform::PainterCanvas canvas(painter, dpi, dpi);
        TestDevice device(canvas, mapping);
        TRpReport &report = *plate.RpReport1;
        const TRpUnit units = report.Units();
        report.SetUnits(TRpUnit::Native);
        report.SetDevice(&device);
        report.PrintablesBeginRun();
        // The band prints at the page's margins, as in a run.
        plate.RpBand1->Render(int(RoundHalfEven(report.Page().LeftMargin())),
                              int(RoundHalfEven(report.Page().TopMargin())));
        report.PrintablesEndRun();
        report.SetDevice(nullptr);
        report.SetUnits(units);
    }
    return expected;
}

QRect LineInk(const QImage &image, const QPoint &origin, const std::vector<ExpectedLine> &lines,
              std::size_t line, int dpi) {
    const QRect area =
        SearchRegion(lines[line].cell, dpi).translated(-origin).intersected(image.rect());
    std::vector<QRect> others;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (i != line)
            others.push_back(lines[i].cell.translated(-origin));
    const auto elsewhere = [&](int x, int y) {
        return std::any_of(others.begin(), others.end(),
                           [&](const QRect &cell) { return cell.contains(x, y); });
    };
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar *row = image.constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x)
            if (row[x] < 128 && !elsewhere(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    if (left == INT_MAX)
        return {};
    return QRect(QPoint(left, top), QPoint(right, bottom)).translated(origin);
}

namespace {

// Words pdftotext splits at a character whose Unicode name the queue's conversion lost
// (cups-pdf's PostScript round trip keeps none for "ę"): the pieces touch, so a piece that
// starts where the last ended continues its word.
std::vector<PdfWord> JoinTouching(const std::vector<PdfWord> &words) {
    std::vector<PdfWord> joined;
    for (const PdfWord &word : words) {
        if (!joined.empty() && word.xMin - joined.back().xMax < 0.5) {
            joined.back().text += word.text;
            joined.back().xMax = word.xMax;
        } else {
            joined.push_back(word);
        }
    }
    return joined;
}

// A character pdftotext could not name comes out as a control character; it stands for any
// one character beyond ASCII.
bool SameWord(const QString &expected, const QString &printed) {
    if (expected.size() != printed.size())
        return false;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const bool unnamed = printed[i].unicode() < 0x20 && expected[i].unicode() > 0x7F;
        if (printed[i] != expected[i] && !unnamed)
            return false;
    }
    return true;
}

} // namespace

PlateMeasure Measure(const QString &pdf, const ExpectedPlate &expected) {
    PlateMeasure measured;
    const double scale = expected.dpi / 72.0;
    std::vector<std::vector<PdfWord>> assigned(expected.lines.size());
    for (const PdfWord &word : testing_support::PdfWords(pdf)) {
        const QPointF centre((word.xMin + word.xMax) / 2 * scale,
                             (word.yMin + word.yMax) / 2 * scale);
        const auto line =
            std::find_if(expected.lines.begin(), expected.lines.end(), [&](const auto &l) {
                return QRectF(SearchRegion(l.cell, expected.dpi)).contains(centre);
            });
        if (line == expected.lines.end())
            measured.stray << word.text;
        else
            assigned[std::size_t(line - expected.lines.begin())].push_back(word);
    }

    const QImage page = testing_support::RenderPdfPage(pdf, expected.dpi, expected.area);
    for (std::size_t i = 0; i < expected.lines.size(); ++i) {
        const ExpectedLine &line = expected.lines[i];
        std::vector<PdfWord> &words = assigned[i];
        std::sort(words.begin(), words.end(),
                  [](const PdfWord &a, const PdfWord &b) { return a.xMin < b.xMin; });
        words = JoinTouching(words);
        LabelMeasure label;
        label.label = line.label;
        for (const PdfWord &word : words)
            label.words << word.text;
        if (!words.empty()) {
            const double start = words.front().xMin * scale;
            const double end = words.back().xMax * scale;
            label.anchor = line.alignment == TAlignment::taLeftJustify    ? start
                           : line.alignment == TAlignment::taRightJustify ? end
                                                                          : (start + end) / 2;
        }
        if (!page.isNull())
            label.ink = LineInk(page, expected.area.topLeft(), expected.lines, i, expected.dpi);
        measured.labels.push_back(label);
    }
    return measured;
}

Deviation ExpectAsGeometrySays(const ExpectedPlate &expected, const PlateMeasure &measured,
                               double endTolerance) {
    Deviation deviation;
    EXPECT_TRUE(measured.stray.isEmpty())
        << "words outside every label: " << measured.stray.join(' ').toStdString();
    EXPECT_EQ(measured.labels.size(), expected.lines.size());
    for (std::size_t i = 0; i < expected.lines.size() && i < measured.labels.size(); ++i) {
        const ExpectedLine &line = expected.lines[i];
        const LabelMeasure &label = measured.labels[i];
        SCOPED_TRACE(line.label.toStdString() + " \"" + line.text.toStdString() + "\"");
        const QStringList words = line.text.split(' ', Qt::SkipEmptyParts);
        EXPECT_TRUE(label.words.size() == words.size() &&
                    std::equal(words.begin(), words.end(), label.words.begin(), SameWord))
            << "printed: " << label.words.join('|').toStdString();
        if (label.words.isEmpty())
            continue;

        const bool left = line.alignment == TAlignment::taLeftJustify;
        const double anchor =
            line.alignment == TAlignment::taRightJustify ? line.visibleEnd : line.anchor;
        const double dx = std::abs(label.anchor - anchor);
        EXPECT_LE(dx, left ? 0.5 : endTolerance)
            << "anchored at " << label.anchor << ", the geometry says " << anchor;
        (left ? deviation.start : deviation.end) =
            std::max(left ? deviation.start : deviation.end, dx);

        const QRect reference =
            LineInk(expected.reference, expected.area.topLeft(), expected.lines, i, expected.dpi);
        if (reference.isNull()) {
            ADD_FAILURE() << "the engine drew no ink for the line";
            continue;
        }
        if (label.ink.isNull()) {
            ADD_FAILURE() << "no ink on the page in " << line.cell.x() << "," << line.cell.y();
            continue;
        }
        const int edges[] = {label.ink.top() - reference.top(), label.ink.left() - reference.left(),
                             label.ink.right() - reference.right(),
                             label.ink.bottom() - reference.bottom()};
        for (const int edge : edges) {
            EXPECT_LE(std::abs(edge), 1)
                << "ink on the page at (" << label.ink.left() << "," << label.ink.top() << ")-("
                << label.ink.right() << "," << label.ink.bottom() << "), the engine's at ("
                << reference.left() << "," << reference.top() << ")-(" << reference.right() << ","
                << reference.bottom() << ")";
            deviation.ink = std::max(deviation.ink, std::abs(edge));
        }
        // The ink stands in the line's character cell, its top where the glyphs' tops are.
        const double dy = std::abs(label.ink.top() - line.inkTop);
        EXPECT_LE(dy, 1.0) << "ink from row " << label.ink.top() << ", the glyphs' tops at "
                           << line.inkTop;
        deviation.top = std::max(deviation.top, dy);
        EXPECT_GE(label.ink.top(), line.cell.top());
        EXPECT_LE(label.ink.bottom(), line.cell.bottom());
    }
    return deviation;
}

PlatePdfs::PlatePdfs(const QString &outputDir) : outputDir_(outputDir) {
    const QStringList existing = Candidates();
    before_ = QSet<QString>(existing.begin(), existing.end());
}

QStringList PlatePdfs::Candidates() const {
    return QDir(outputDir_).entryList({QStringLiteral("Quendrel*-job_*.pdf")}, QDir::Files);
}

std::map<QString, QString> PlatePdfs::Wait(const QStringList &stations, int timeoutMs) {
    std::map<QString, QString> found;
    QSet<QString> examined;
    std::map<QString, qint64> sizes;
    QElapsedTimer clock;
    clock.start();
    while (found.size() < std::size_t(stations.size()) && clock.elapsed() < timeoutMs) {
        for (const QString &name : Candidates()) {
            if (before_.contains(name) || examined.contains(name))
                continue;
            const QString path = QDir(outputDir_).filePath(name);
            const qint64 size = QFileInfo(path).size();
            const bool settled = sizes.count(name) && sizes[name] == size;
            sizes[name] = size;
            if (!settled || !testing_support::PdfComplete(path))
                continue;
            examined.insert(name);
            for (const PdfWord &word : testing_support::PdfWords(path))
                if (stations.contains(word.text) && !found.count(word.text)) {
                    found[word.text] = path;
                    break;
                }
        }
        QThread::msleep(100);
    }
    return found;
}

PlateWindow::PlateWindow() {
    printers.reset(); // the platform's own printers
}

void PlateWindow::Fill(const Position &position, const PlateTexts &texts) {
    const QString values[] = {texts.make, texts.model, texts.body, texts.station};
    for (int n = 1; n <= TfMain::FieldCount; ++n) {
        window->Edit(n)->setFocus();
        window->Edit(n)->selectAll();
        QTest::keyClick(window->Edit(n), Qt::Key_Delete);
        TypeText(window->Edit(n), values[n - 1]);
        ASSERT_EQ(window->EditText(n), values[n - 1]) << "field " << n;
    }
    auto *sheets = Child<QWidget>("RadioGroup1");
    QTest::mouseClick(sheets->findChildren<QRadioButton *>().at(position.sheet == 8 ? 0 : 1),
                      Qt::LeftButton);
    ASSERT_EQ(window->RadioGroup1ItemIndex(), position.sheet == 8 ? 0 : 1);
    QTest::mousePress(window->Shape(position.marker), Qt::LeftButton, {}, {20, 20});
    QTest::mouseRelease(window->Shape(position.marker), Qt::LeftButton, {}, {20, 20});
    ASSERT_EQ(window->ShapeColor(position.marker), platform::SelectionColour);
    // These tests print on any position again and again: the position is a fresh one.
    if (window->Sheet().Used(window->ChosenPosition()))
        window->OznaczPozycje(false);
}

void PlateWindow::ChooseQueue(const QString &queue) {
    auto *list = Child<QComboBox>("cbDrukarka");
    const int index = list->findText(queue);
    ASSERT_GE(index, 0) << queue.toStdString() << " is not in the printer list";
    list->setCurrentIndex(index);
}

void PlateWindow::Print() {
    messages.shown.clear();
    window->SetCheckBox1Checked(false);
    QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
    // Sheets used up and plates printed again are said and asked about; the print goes on.
    for (const auto &shown : messages.shown)
        if (!shown.text.startsWith(QStringLiteral("Arkusz jest wykorzystany.")) &&
            !shown.text.startsWith(QStringLiteral("Tabliczkę z numerem nadwozia")))
            ADD_FAILURE() << "message: " << shown.text.toStdString();
    EXPECT_TRUE(window->CheckBox1Checked());
    EXPECT_TRUE(window->Sheet().Used(window->ChosenPosition()));
}

std::vector<QString>
PlateWindow::PrintAll(const QString &queue,
                      const std::vector<std::pair<Position, PlateTexts>> &plates) {
    std::vector<QString> pdfs(plates.size());
    // The positions' pixel offsets are those of a screen of 96 pixels per inch.
    EXPECT_EQ(platform::ScreenDpi(), 96);
    ShowMain();
    ChooseQueue(queue);
    if (HasFatalFailure())
        return pdfs;
    PlatePdfs watch(QueuesFromEnvironment().outputDir);
    QStringList stations;
    for (const auto &[position, texts] : plates) {
        Fill(position, texts);
        if (HasFatalFailure())
            return pdfs;
        Print();
        stations << texts.station;
    }
    const std::map<QString, QString> printed = watch.Wait(stations);
    for (std::size_t i = 0; i < plates.size(); ++i) {
        const auto pdf = printed.find(stations[qsizetype(i)]);
        if (pdf != printed.end())
            pdfs[i] = pdf->second;
        else
            ADD_FAILURE() << "no PDF of " << PositionName(plates[i].first) << " ("
                          << stations[qsizetype(i)].toStdString() << ") from "
                          << queue.toStdString();
    }
    return pdfs;
}

int PlateWindow::QueueDpi(const QString &queue) {
    const std::optional<platform::DeviceCaps> caps =
        platform::PrinterSystem::real().deviceCaps(queue);
    if (!caps || caps->logPixelsX != caps->logPixelsY)
        return 0;
    return caps->logPixelsX;
}

} // namespace plate_print
