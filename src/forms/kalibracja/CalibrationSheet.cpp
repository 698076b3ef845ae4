#include "forms/kalibracja/CalibrationSheet.h"

#include "forms/uDrukTabliczka.h"
#include "report/RpBand.h"
#include "report/RpCtrls.h"
#include "report/RpReport.h"

namespace {

// The band starts at the page's 10-mm margins; the report's units are millimetres.
constexpr double Margin = 10;
constexpr double LineWidth = 0.2;
constexpr double VernierPitch = 0.9; // ten divisions over 9 mm of the ruler
constexpr int VernierTicks = 11;

constexpr int EastEurope = 238;

class Sheet {
public:
    explicit Sheet(TRpBand &band) : band_(band) {}

    // A black bar, its box in millimetres from the paper's corner.
    void Bar(double left, double top, double width, double height) {
        TRpShape &shape = band_.Add(std::make_unique<TRpShape>());
        shape.Brush = {platform::clBlack, platform::BrushStyle::Solid};
        shape.Pen = {platform::clBlack, 0, platform::PenStyle::Clear, platform::PenMode::Copy};
        Place(shape, left, top, width, height);
    }

    void Text(const QString &text, double left, double top, double width, double height, int points,
              bool bold = false, TAlignment alignment = TAlignment::taLeftJustify) {
        TRpLabel &label = band_.Add(std::make_unique<TRpLabel>());
        label.Transparent = true;
        label.AutoSize = false;
        label.WordWrap = true;
        label.SetAlignment(alignment);
        label.SetFont({QStringLiteral("Arial"), points, {bold}, platform::clBlack, EastEurope});
        label.SetCaption(text);
        Place(label, left, top, width, height);
    }

    // A mark across the page (A, B) at x, its vernier's ticks to the right.
    void MarkAcross(const char *name, double x, double top, double length) {
        Bar(x - LineWidth / 2, top, LineWidth, length);
        const double vernierTop = top + length / 2 - 4;
        for (int i = 0; i < VernierTicks; ++i) {
            const double tick = x + i * VernierPitch;
            const double height = i % 5 == 0 ? 5 : 3.5;
            Bar(tick - LineWidth / 2, vernierTop + 5 - height, LineWidth, height);
            // The 0 stands beside the mark's line, not struck through by it.
            if (i % 5 == 0)
                Text(QString::number(i), i == 0 ? tick - 3.4 : tick - 1.5, vernierTop - 3.5, 3, 3.5,
                     6, false, i == 0 ? TAlignment::taRightJustify : TAlignment::taCenter);
        }
        Text(QLatin1String(name), x - 12, top - 12, 24, 10, 24, true, TAlignment::taCenter);
    }

    // A mark down the page (C, D) at y, its vernier's ticks below it.
    void MarkDown(const char *name, double y, double left, double length) {
        Bar(left, y - LineWidth / 2, length, LineWidth);
        const double vernierLeft = left + length / 2 - 4;
        for (int i = 0; i < VernierTicks; ++i) {
            const double tick = y + i * VernierPitch;
            const double width = i % 5 == 0 ? 5 : 3.5;
            Bar(vernierLeft + 5 - width, tick - LineWidth / 2, width, LineWidth);
            // The 0 stands above the mark's line.
            if (i % 5 == 0)
                Text(QString::number(i), vernierLeft - 4.5, i == 0 ? tick - 3.5 : tick - 1.6, 4,
                     3.5, 6, false, TAlignment::taRightJustify);
        }
        Text(QLatin1String(name), left - 14, y - 5, 12, 10, 24, true, TAlignment::taRightJustify);
    }

private:
    static void Place(TRpPrintable &item, double left, double top, double width, double height) {
        item.Size().SetLeft(left - Margin);
        item.Size().SetTop(top - Margin);
        item.Size().SetWidth(width);
        item.Size().SetHeight(height);
    }

    TRpBand &band_;
};

QString Millimetres(double value) {
    return QString::number(value, 'f', 1).replace(u'.', u',');
}

// The paper's top: an arrow with "GÓRA" beside it, and the top-left corner marked, so a sheet
// turned round shows it at once.
void Orientation(Sheet &draw) {
    constexpr double ArrowX = 160;
    draw.Bar(ArrowX - 0.4, 10, 0.8, 9);
    for (int step = 0; step < 6; ++step) // the head, widening downwards
        draw.Bar(ArrowX - 0.5 * (step + 1), 7 + 0.5 * step, step + 1, 0.5);
    draw.Text(QStringLiteral("GÓRA"), ArrowX + 3, 8, 20, 7, 14, true);
    draw.Bar(8, 8, 14, 0.8);
    draw.Bar(8, 8, 0.8, 14);
    draw.Text(QStringLiteral("lewy górny róg kartki"), 11, 10, 40, 5, 8);
}

} // namespace

std::unique_ptr<TfDrukTabliczka> MakeCalibrationSheet(const QString &printer,
                                                      TCalibrationSheet kind,
                                                      const TCalibrationValues &printedWith) {
    auto sheet = std::make_unique<TfDrukTabliczka>();
    for (const auto &item : sheet->RpBand1->Items())
        item->SetEnabled(false);
    sheet->RpReport1->ReportTitle = QStringLiteral("Kalibracja");
    Sheet draw(*sheet->RpBand1);
    const auto [a, b, c, d] = MarksOf(kind);
    draw.MarkAcross("A", a, 110, 90);
    draw.MarkAcross("B", b, 110, 90);
    draw.MarkDown("C", c, 70, 70);
    draw.MarkDown("D", d, 70, 70);
    Orientation(draw);

    const bool check = kind == TCalibrationSheet::Check;
    draw.Text(check ? QStringLiteral("Arkusz kontrolny — wydruk z zapisaną korekcją")
                    : QStringLiteral("Arkusz kalibracyjny — wydruk bez korekcji"),
              45, 40, 115, 9, 14, true, TAlignment::taCenter);
    draw.Text(QStringLiteral("Drukarka: ") + printer, 45, 48, 115, 5, 10, false,
              TAlignment::taCenter);
    const QString part = check ? QStringLiteral("„Sprawdzenie”") : QStringLiteral("„Kalibracja”");
    const QStringList steps{
        QStringLiteral("1. Połóż kartkę strzałką „GÓRA” do góry. Przyłóż 30-centymetrową linijkę "
                       "zerem dokładnie do LEWEJ krawędzi kartki i zmierz odległość do środka "
                       "linii A i linii B; potem zerem do GÓRNEJ krawędzi: do linii C i D."),
        QStringLiteral("2. Dziesiąte części milimetra odczytaj z noniusza przy linii: pełne "
                       "milimetry to kreska linijki tuż przed kreską 0 noniusza, dziesiąte to "
                       "numer kreski noniusza, która najdokładniej pokrywa się z kreską linijki."),
        QStringLiteral("3. Wpisz odczyty A, B, C, D w części %1 okna kalibracji drukarki, przy "
                       "polach tego arkusza.")
            .arg(part),
        check ? QStringLiteral("4. Okno powie, czy kalibracja jest poprawna; jeśli nie, "
                               "naciśnij „Popraw korekcję”.")
              : QStringLiteral("4. Naciśnij „Zapisz korekcję”, a potem wydrukuj arkusz kontrolny "
                               "i sprawdź nim kalibrację."),
    };
    const double stepTops[] = {56, 69, 82, 91};
    for (qsizetype i = 0; i < steps.size(); ++i)
        draw.Text(steps[i], 45, stepTops[i], 115, 13, 9);
    draw.Text(QStringLiteral("Wzorcowo: A = %1 mm, B = %2 mm, C = %3 mm, D = %4 mm.")
                  .arg(Millimetres(a), Millimetres(b), Millimetres(c), Millimetres(d)),
              45, 215, 115, 6, 10);
    if (check) {
        draw.Text(QStringLiteral("Wydrukowano z zapisaną korekcją:"), 45, 223, 115, 5, 9, true);
        draw.Text(DescribeAxis(true, printedWith.ShiftXMicrometres, printedWith.StretchXPpm), 45,
                  228, 115, 9, 9);
        draw.Text(DescribeAxis(false, printedWith.ShiftYMicrometres, printedWith.StretchYPpm), 45,
                  237, 115, 9, 9);
    }
    return sheet;
}
