// The plate print job's placement: where on the foil sheet the chosen position lies, and
// how the plate report is moved there.
#pragma once

#include "platform/Colour.h"
#include "settings/SheetStore.h"

#include <QString>

#include <array>
#include <span>

class TfDrukTabliczka;

// Distance from the paper's left and top edges to the plate outline, in millimetres. The
// sheet offsets are accumulated in 32-bit floats as the foil layouts were measured, so 90.3
// is used as 90.30000305...
struct PlateOrigin {
    float x = 0;
    float y = 0;
};

// The markers of a sheet layout, in the order the job reads them: 1-4 and 6-9 on the
// 8-position sheet (layout 0), 1-10 on any other.
std::span<const int> LayoutMarkers(int sheetLayout);

// True when a marker of the current layout is not white.
bool AnyPositionChosen(int sheetLayout, const std::array<platform::TColor, 10> &fills);

// The origin of the chosen position: the offsets of the markers in the selection colour.
PlateOrigin ChosenPlateOrigin(int sheetLayout, const std::array<platform::TColor, 10> &fills);

// The sheet's pre-cut positions, shown in the preview only: the layout's outlines at their
// offsets, each kept within its own cell of the sheet's pitch, used positions hatched, the
// chosen one drawn more strongly, and the preview opening on it; the outlines of other
// layouts stay off.
void ShowSheet(TfDrukTabliczka &plate, int sheetLayout,
               const std::array<platform::TColor, 10> &fills, const TSheetState &sheet);

// Puts the plate outline at the origin and moves the other items by whole screen pixels
// from the outline's pixel position.
void PlacePlate(TfDrukTabliczka &plate, PlateOrigin origin);

// Places the plate and puts in the make, model, body number and station identifier exactly
// as typed.
void FillPlate(TfDrukTabliczka &plate, PlateOrigin origin, const std::array<QString, 4> &texts);
