// The plate print job: checks the input, places the plate on the chosen position of the
// sheet, fills in the four texts and previews or prints it.
#include "forms/uDrukowanie.h"

#include "forms/controls/TEdit.h"
#include "forms/kalibracja/Calibration.h"
#include "forms/uDrukTabliczka.h"
#include "forms/uMain.h"
#include "platform/Finally.h"
#include "platform/Messages.h"
#include "platform/User.h"
#include "register/PlateRegister.h"
#include "report/RpCtrls.h"
#include "report/RpPrinterSettings.h"
#include "report/RpPrntr.h"
#include "report/RpReport.h"
#include "report/rpSwRect.h"

#include <QApplication>

namespace {

struct SheetColumn {
    float left;                // millimetres from the paper's left edge
    std::array<float, 5> rows; // row terms, millimetres
};

// The 8-position sheet starts at y 0, the 10-position sheet at y -2.
constexpr SheetColumn EightLeft{13.5f, {30.5f, 90.3f, 150.1f, 210.0f, 0}};
constexpr SheetColumn EightRight{103.5f, {30.5f, 90.3f, 150.1f, 210.0f, 0}};
constexpr SheetColumn TenLeft{17, {12, 67, 122, 177, 232}};
constexpr SheetColumn TenRight{106, {12, 67, 122, 177, 232}};

constexpr std::array<int, 8> EightMarkers{1, 2, 3, 4, 6, 7, 8, 9};
constexpr std::array<int, 10> TenMarkers{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

// Offsets in screen pixels from the outline's pixel position.
constexpr int BoxLeft = 30;
constexpr std::array<int, 5> BoxTops{21, 49, 89, 129, 169};
constexpr int TextLeft = 38;
constexpr int MakerLeft = 222;

// The chosen position among the sheet's faint outlines in the preview, used ones hatched,
// and the gap kept between neighbouring outlines, in millimetres.
constexpr platform::Pen ChosenOutline{platform::TColor(0xC07000), 2};
constexpr platform::Brush UsedFill{platform::TColor(0xA0A0A0), platform::BrushStyle::BDiagonal};
constexpr float CellGap = 1;

} // namespace

std::span<const int> LayoutMarkers(int sheetLayout) {
    if (sheetLayout == 0)
        return EightMarkers;
    return TenMarkers;
}

bool AnyPositionChosen(int sheetLayout, const std::array<platform::TColor, 10> &fills) {
    for (const int marker : LayoutMarkers(sheetLayout))
        if (fills[marker - 1] != platform::clWhite)
            return true;
    return false;
}

namespace {

PlateOrigin SheetStart(int sheetLayout) {
    return {0, sheetLayout == 0 ? 0.0f : -2.0f};
}

// Adds a marker's offsets to an origin, in the job's float arithmetic.
void AddMarkerOffsets(PlateOrigin &origin, int sheetLayout, int marker) {
    const bool left = marker <= 5;
    const SheetColumn &column =
        sheetLayout == 0 ? (left ? EightLeft : EightRight) : (left ? TenLeft : TenRight);
    origin.x += column.left;
    origin.y += column.rows[(marker - 1) % 5];
}

// Moves an item to an origin measured from the paper's edges: the band starts at the
// page's 10-mm margins and the report's units are millimetres.
void PutAt(TRpShape &item, PlateOrigin origin) {
    item.Size().SetLeft(static_cast<long double>(origin.x) - 10);
    item.Size().SetTop(static_cast<long double>(origin.y) - 10);
}

} // namespace

PlateOrigin ChosenPlateOrigin(int sheetLayout, const std::array<platform::TColor, 10> &fills) {
    PlateOrigin origin = SheetStart(sheetLayout);
    for (const int marker : LayoutMarkers(sheetLayout))
        if (fills[marker - 1] == platform::SelectionColour)
            AddMarkerOffsets(origin, sheetLayout, marker);
    return origin;
}

void ShowSheet(TfDrukTabliczka &plate, int sheetLayout,
               const std::array<platform::TColor, 10> &fills, const TSheetState &sheet) {
    // A cell is the sheet's pitch: from one column's left edge to the other's, from one row's
    // top to the next one's. The design's outline is larger than a cell; drawn at its size,
    // neighbours would overlap as no pre-cut plates do.
    const SheetColumn &left = sheetLayout == 0 ? EightLeft : TenLeft;
    const SheetColumn &right = sheetLayout == 0 ? EightRight : TenRight;
    float pitchDown = left.rows[1] - left.rows[0];
    for (std::size_t row = 2; row < std::size_t(TSheetState::PositionCount(sheetLayout) / 2); ++row)
        pitchDown = std::min(pitchDown, left.rows[row] - left.rows[row - 1]);
    const long double width =
        std::min(plate.RpShape1->Size().Width(), (long double)(right.left - left.left) - CellGap);
    const long double height =
        std::min(plate.RpShape1->Size().Height(), (long double)pitchDown - CellGap);
    const std::span<const int> markers = LayoutMarkers(sheetLayout);
    for (std::size_t i = 0; i < markers.size(); ++i) {
        const int marker = markers[i];
        TRpShape &outline = *plate.SheetOutlines[std::size_t(marker - 1)];
        PlateOrigin origin = SheetStart(sheetLayout);
        AddMarkerOffsets(origin, sheetLayout, marker);
        PutAt(outline, origin);
        outline.Size().SetWidth(width);
        outline.Size().SetHeight(height);
        outline.SetEnabled(true);
        if (sheet.Used(int(i) + 1))
            outline.Brush = UsedFill;
        if (fills[marker - 1] == platform::SelectionColour) {
            outline.Pen = ChosenOutline;
            plate.RpReport1->PreviewFocus = QRectF(double(origin.x) * 10, double(origin.y) * 10,
                                                   double(width) * 10, double(height) * 10);
        }
    }
}

void PlacePlate(TfDrukTabliczka &plate, PlateOrigin origin) {
    PutAt(*plate.RpShape1, origin);
    const int L = plate.RpShape1->Left();
    const int T = plate.RpShape1->Top();

    const std::array<TRpShadowRect *, 5> boxes{plate.RpShadowRect1, plate.RpShadowRect2,
                                               plate.RpShadowRect3, plate.RpShadowRect4,
                                               plate.RpShadowRect5};
    for (TRpShadowRect *box : boxes)
        box->SetLeft(L + BoxLeft);
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->SetTop(T + BoxTops[i]);

    // The make goes one pixel lower than its stored position.
    const std::array<std::pair<TRpLabel *, int>, 9> labelTops{{{plate.RpLabel1, 23},
                                                               {plate.RpLabel4, 51},
                                                               {plate.RpLabel7, 66},
                                                               {plate.RpLabel5, 91},
                                                               {plate.RpLabel8, 105},
                                                               {plate.RpLabel6, 131},
                                                               {plate.RpLabel9, 145},
                                                               {plate.RpLabel3, 175},
                                                               {plate.RpLabel2, 175}}};
    for (const auto &[label, top] : labelTops)
        label->SetTop(T + top);
    for (std::size_t i = 0; i + 1 < labelTops.size(); ++i)
        labelTops[i].first->SetLeft(L + TextLeft);
    plate.RpLabel2->SetLeft(L + MakerLeft);
}

void FillPlate(TfDrukTabliczka &plate, PlateOrigin origin, const std::array<QString, 4> &texts) {
    PlacePlate(plate, origin);
    plate.RpLabel7->SetCaption(texts[0]);
    plate.RpLabel8->SetCaption(texts[1]);
    plate.RpLabel9->SetCaption(texts[2]);
    plate.RpLabel2->SetCaption(texts[3]);
}

void TfMain::Drukowanie(int mode) {
    // A field is empty when nothing is left after trimming codes 0 to 32.
    const auto blank = [](const QString &text) {
        for (const QChar c : text)
            if (c.unicode() > 32)
                return false;
        return true;
    };
    static const char *const missing[FieldCount] = {"Brak marki pojazdu.", "Brak modelu pojazdu.",
                                                    "Nie wprowadzono nadawanego numeru ...",
                                                    "Nie podano wyróżnika stacji ..."};
    for (int n = 1; n <= FieldCount; ++n) {
        if (blank(EditText(n))) {
            platform::ShowMessage(platform::MessageKind::Information,
                                  QString::fromUtf8(missing[n - 1]));
            Edit(n)->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    std::array<platform::TColor, MarkerCount> fills{};
    for (int n = 1; n <= MarkerCount; ++n)
        fills[n - 1] = ShapeColor(n);
    const int sheetLayout = RadioGroup1ItemIndex();
    if (!AnyPositionChosen(sheetLayout, fills)) {
        platform::ShowMessage(platform::MessageKind::Information,
                              QStringLiteral("Nie zaznaczono pola do druku."));
        return;
    }

    const int position = ChosenPosition();
    if (mode != 0 && !MayPrint(position))
        return;

    const auto plate = std::make_unique<TfDrukTabliczka>();
    TRpReport &report = *plate->RpReport1;
    report.PrinterSettings().PrinterIndex = cbDrukarkaItemIndex();
    // The printer shown is the printer printed on, whatever has changed in the list since.
    report.PrinterSettings().PrinterName = cbDrukarkaChosen();
    FillPlate(*plate, ChosenPlateOrigin(sheetLayout, fills),
              {EditText(1), EditText(2), EditText(3), EditText(4)});
    ShowSheet(*plate, sheetLayout, fills, Sheet());
    report.PrinterCalibration = StoredCorrection;
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    if (mode == 0) {
        report.Preview();
        return;
    }
    printing_ = &report;
    const platform::Finally printed([this] {
        printing_ = nullptr;
        // A close asked for while the job was followed goes ahead now.
        if (std::exchange(closeAfterPrint_, false))
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    });
    try {
        report.Print();
    } catch (const ERpCancelled &cancelled) {
        if (!closeAfterPrint_)
            platform::ShowMessage(platform::MessageKind::Information,
                                  platform::ErrorDisplayText(cancelled.message()));
        return;
    }
    SetCheckBox1Checked(true);
    // Nothing installed prints nothing; only a plate that printed counts.
    if (!report.LastPrinted().Printer.isEmpty())
        PlatePrinted(report.LastPrinted(), position);
}

bool TfMain::MayPrint(int position) {
    if (printing_) {
        platform::ShowMessage(platform::MessageKind::Information,
                              QStringLiteral("Poprzednia tabliczka jeszcze się drukuje. Poczekaj, "
                                             "aż drukarka ją wydrukuje."));
        return false;
    }
    if (Sheet().Used(position) &&
        !platform::Ask(QStringLiteral("Pozycja %1 tego arkusza jest już wykorzystana. Drukować "
                                      "mimo to?")
                           .arg(position),
                       false))
        return false;
    // A plate issued before for the same vehicle: reprints are normal, the question is there
    // so a mistyped number is noticed. A register that cannot be read does not stop a print;
    // recording it afterwards says what is wrong.
    std::optional<TRegisterEntry> issued;
    try {
        issued = TRegisterReader().LastWithBody(EditText(3));
    } catch (const platform::Error &) {
    }
    return !issued ||
           platform::Ask(QStringLiteral("Tabliczkę z numerem nadwozia %1 wydrukowano już %2 "
                                        "(pozycja %3 arkusza %4 szt., drukarka „%5”). Drukować "
                                        "ponownie?")
                             .arg(issued->Texts[2].trimmed(),
                                  issued->PrintedAt.toString(QStringLiteral("dd.MM.yyyy")))
                             .arg(issued->Position)
                             .arg(issued->SheetPositions)
                             .arg(issued->Printer),
                         true);
}

void TfMain::PlatePrinted(const TRpPrinted &printed, int position) {
    // The register never undoes or hides a print: a plate it cannot take is printed still.
    TRegisterEntry entry;
    const QDateTime now = QDateTime::currentDateTime();
    entry.PrintedAt = now.toOffsetFromUtc(now.offsetFromUtc());
    entry.User = platform::UserName();
    entry.Printer = printed.Printer;
    if (!printed.Correction.IsIdentity())
        entry.Calibration = std::array<qint32, 4>{
            printed.Correction.X.ShiftMicrometres, printed.Correction.X.StretchPpm,
            printed.Correction.Y.ShiftMicrometres, printed.Correction.Y.StretchPpm};
    entry.SheetPositions = TSheetState::PositionCount(RadioGroup1ItemIndex());
    entry.Position = position;
    entry.Texts = {EditText(1), EditText(2), EditText(3), EditText(4)};
    entry.Job = printed.Job;
    try {
        RecordPlate(entry);
    } catch (const platform::Error &refused) {
        platform::ShowMessage(platform::MessageKind::Error,
                              platform::ErrorDisplayText(
                                  QStringLiteral("Tabliczkę wydrukowano, ale nie zapisano jej w "
                                                 "rejestrze: ") +
                                  refused.message()));
    }
    PositionPrinted(position);
}
