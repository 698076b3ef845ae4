// Units, the geometry holders and how stored geometry and pixel bounds stay in step.
#include "report/RpCtrls.h"
#include "report/RpReport.h"

#include "support/Doubles.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using testing_support::FixedScreen;

constexpr long double PlateShapeValues[] = {582.0833333333334, 74.08333333333333, 55.5625,
                                            933.9791666666666};
constexpr long double TenthsPerPixel96 = 254.0L / 96;

// A report in millimetres with one band, as the plate's.
struct Plate {
    std::unique_ptr<TRpReport> report = std::make_unique<TRpReport>();
    TRpBand *band = nullptr;

    Plate() {
        report->SetUnits(TRpUnit::MM);
        band = &report->AddBand(std::make_unique<TRpBand>());
    }
    // A shape loaded with stored values, as a definition loads it.
    TRpShape &LoadedShape(std::vector<long double> values) {
        auto shape = std::make_unique<TRpShape>();
        shape->BeginLoading();
        TRpShape &placed = band->Add(std::move(shape));
        placed.Size().ReadValues(values);
        placed.Loaded();
        return placed;
    }
    TRpShape &PlateShape() {
        return LoadedShape({std::begin(PlateShapeValues), std::end(PlateShapeValues)});
    }
};

struct ConversionCase {
    TRpUnit unit;
    TRpDirection direction;
    TRpUnitScale scale;
    long double native;
    long double inUnit;
};

TEST(UnitConversion, TableFormulasBothWays) {
    const TRpUnitScale plain{96, 100, 10};
    const ConversionCase cases[] = {
        {TRpUnit::MM, TRpDirection::Across, plain, 35, 3.5L},
        {TRpUnit::Inches, TRpDirection::Down, plain, 127, 0.5L},
        {TRpUnit::Pixels, TRpDirection::Across, plain, 79.375L, 30},
        {TRpUnit::Pixels, TRpDirection::Across, {120, 100, 10}, 63.5L, 30},
        {TRpUnit::Pixels, TRpDirection::Down, {96, 200, 10}, 254, 192},
        {TRpUnit::Pixels, TRpDirection::Down, {96, 50, 10}, 254, 48},
        // One character cell of a 10-point font: 80/10/2.54 tenths across, 145.3/10/2.54 down.
        {TRpUnit::Characters, TRpDirection::Across, plain, 80.0L / 10 / 2.54L * 10, 1},
        {TRpUnit::Characters, TRpDirection::Down, plain, 145.3L / 10 / 2.54L * 10, 1},
        {TRpUnit::Characters, TRpDirection::Down, {96, 100, -20}, 145.3L / 20 / 2.54L * 30, 3},
        {TRpUnit::Native, TRpDirection::Across, plain, 123.456L, 123.456L},
    };
    for (const ConversionCase &c : cases) {
        SCOPED_TRACE(int(c.unit));
        EXPECT_NEAR(double(NativeToUnit(c.unit, c.direction, c.native, c.scale)), double(c.inUnit),
                    1e-12);
        EXPECT_NEAR(double(UnitToNative(c.unit, c.direction, c.inUnit, c.scale)), double(c.native),
                    1e-12);
    }
}

TEST(Rounding, NearestWithHalvesToEven) {
    const std::pair<long double, std::int64_t> cases[] = {
        {12.5L, 12},   {13.5L, 14},  {0.5L, 0},         {1.5L, 2},       {-2.5L, -2},
        {-3.5L, -4},   {2.4999L, 2}, {2.5001L, 3},      {219.685L, 220}, {441.25L, 441},
        {275.0L, 275}, {-0.4L, 0},   {1122.5196L, 1123}};
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(RoundHalfEven(value), expected) << double(value);
}

TEST(PrintableSize, StoredValuesReadInMillimetresAndGivePixelBounds) {
    FixedScreen screen(96);
    Plate plate;
    TRpShape &shape = plate.PlateShape();
    EXPECT_NEAR(double(shape.Size().Height()), 58.20833333333334, 1e-12);
    EXPECT_NEAR(double(shape.Size().Left()), 7.408333333333333, 1e-12);
    EXPECT_NEAR(double(shape.Size().Top()), 5.55625, 1e-12);
    EXPECT_NEAR(double(shape.Size().Width()), 93.39791666666666, 1e-12);
    EXPECT_EQ(shape.Left(), 28);
    EXPECT_EQ(shape.Top(), 21);
    EXPECT_EQ(shape.Width(), 353);
    EXPECT_EQ(shape.Height(), 220);
}

TEST(PrintableSize, StoredSizesDecideOnAnyScreen) {
    FixedScreen screen(120);
    Plate plate;
    TRpShape &shape = plate.PlateShape();
    EXPECT_EQ(shape.Width(), 441); // 441.25
    EXPECT_EQ(shape.Height(), 275);
    EXPECT_EQ(shape.Size().Values(),
              std::vector<long double>(std::begin(PlateShapeValues), std::end(PlateShapeValues)));
}

TEST(PrintableSize, MillimetreWriteStoresExactTenthsAndMovesToNearestPixel) {
    FixedScreen screen(96);
    Plate plate;
    TRpShape &shape = plate.PlateShape();
    shape.Size().SetLeft(3.5L);
    EXPECT_EQ(shape.Size().NativeLeft(), 35.0L);
    EXPECT_EQ(shape.Left(), 13); // 13.22...
    EXPECT_EQ(shape.Size().Left(), 3.5L);
    // The other values are left alone.
    EXPECT_EQ(shape.Size().NativeTop(), PlateShapeValues[2]);
}

TEST(PrintableSize, PixelMovePutsEveryValueOnThePixelGrid) {
    FixedScreen screen(96);
    Plate plate;
    TRpShape &shape = plate.LoadedShape({100, 100, 100, 100}); // 10 mm, off the grid
    ASSERT_EQ(shape.Left(), 38);                               // 37.795...
    shape.SetLeft(43);
    EXPECT_NEAR(double(shape.Size().NativeLeft()), 113.77083333333333, 1e-12);
    EXPECT_NEAR(double(shape.Size().NativeHeight()), double(38 * TenthsPerPixel96), 1e-12);
    EXPECT_NEAR(double(shape.Size().NativeWidth()), double(38 * TenthsPerPixel96), 1e-12);
    EXPECT_NEAR(double(shape.Size().NativeTop()), double(38 * TenthsPerPixel96), 1e-12);
    EXPECT_EQ(shape.Left(), 43);
    EXPECT_EQ(shape.Size().Units(), TRpUnit::MM);
}

TEST(PrintableSize, PixelMoveDependsOnScreenResolution) {
    const std::pair<int, double> cases[] = {{96, 79.375}, {120, 63.5}};
    for (const auto &[dpi, tenths] : cases) {
        FixedScreen screen(dpi);
        Plate plate;
        TRpShape &shape = plate.LoadedShape({0, 0, 0, 0});
        shape.SetPixelBounds(30, 0, 0, 0);
        EXPECT_NEAR(double(shape.Size().NativeLeft()), tenths, 1e-12) << dpi;
    }
}

TEST(PrintableSize, PixelValuesOfExactHalvesRoundToEven) {
    FixedScreen screen(96);
    Plate plate;
    // 12.5 and 13.5 pixels in tenths of a millimetre.
    TRpShape &shape = plate.LoadedShape(
        {13.5L * TenthsPerPixel96, 12.5L * TenthsPerPixel96, 13.5L * TenthsPerPixel96, 100});
    EXPECT_EQ(shape.Left(), 12);
    EXPECT_EQ(shape.Top(), 14);
    EXPECT_EQ(shape.Height(), 14);
}

TEST(PrintableSize, LoadingRemembersPixelsAndUsesThemOnlyWhereValuesGiveZero) {
    FixedScreen screen(96);
    Plate plate;
    auto shape = std::make_unique<TRpShape>();
    shape->BeginLoading();
    TRpShape &placed = plate.band->Add(std::move(shape));
    placed.SetPixelBounds(28, 21, 353, 220);
    placed.SetPixelBounds(0, 0, 0, 0); // zero arguments keep what was remembered
    EXPECT_EQ(placed.PendingBounds(), (std::array<int, 4>{28, 21, 353, 220}));
    placed.Size().ReadValues({582.0833333333334, 0, 1, 100});
    placed.Loaded();
    // Left 0 and Top 0.38 pixels (0) come from the remembered pixels; Width and Height
    // from Values.
    EXPECT_EQ(placed.Left(), 28);
    EXPECT_EQ(placed.Top(), 21);
    EXPECT_EQ(placed.Width(), 38);
    EXPECT_EQ(placed.Height(), 220);
    EXPECT_NEAR(double(placed.Size().NativeLeft()), double(28 * TenthsPerPixel96), 1e-12);
    EXPECT_NEAR(double(placed.Size().NativeWidth()), double(38 * TenthsPerPixel96), 1e-12);
}

TEST(PrintableSize, TakesItsBandsUnitsAndTheReportsUnitsAndZoom) {
    FixedScreen screen(96);
    Plate plate;
    TRpShape &shape = plate.PlateShape();
    EXPECT_EQ(shape.Size().Units(), TRpUnit::MM);
    plate.report->SetUnits(TRpUnit::Inches);
    EXPECT_EQ(shape.Size().Units(), TRpUnit::Inches);
    EXPECT_EQ(plate.band->Size().Units(), TRpUnit::Inches);
    EXPECT_EQ(plate.report->Page().Units(), TRpUnit::Inches);
    EXPECT_NEAR(double(shape.Size().Left()), double(PlateShapeValues[1] / 254), 1e-15);

    plate.report->SetZoom(200);
    EXPECT_EQ(shape.Size().Zoom(), 200);
    EXPECT_EQ(plate.band->Size().Zoom(), 200);
    EXPECT_EQ(plate.report->Page().Zoom(), 200);
    for (int ignored : {0, 301, -5}) {
        plate.report->SetZoom(ignored);
        EXPECT_EQ(plate.report->Zoom(), 200);
        EXPECT_EQ(shape.Size().Zoom(), 200);
    }
}

TEST(AlignWithinBand, KeepsTheItemAtTheBandsEdgeOrCentre) {
    const std::tuple<TAlignment, int, int> cases[] = {
        // alignment, left at width 100, left at width 121 on a 718-pixel band
        {TAlignment::taLeftJustify, 0, 0},
        {TAlignment::taRightJustify, 618, 597},
        {TAlignment::taCenter, 309, 298}, // 298.5: the division rounds toward zero
    };
    for (const auto &[alignment, left100, left121] : cases) {
        SCOPED_TRACE(int(alignment));
        FixedScreen screen(96);
        Plate plate;
        plate.band->Size().ReadValues({2770.1875, 1899.7083333333333});
        plate.band->Loaded();
        TRpShape &shape = plate.LoadedShape({100, 100, 100, 100});
        shape.SetWidth(100);
        shape.SetAlignment(alignment);
        EXPECT_EQ(shape.Left(), 38) << "not aligned without AlignToBand";
        shape.SetAlignToBand(true);
        EXPECT_EQ(shape.Left(), left100);
        // Every later change of the bounds aligns the item again.
        shape.SetLeft(5);
        EXPECT_EQ(shape.Left(), left100);
        shape.SetWidth(121);
        EXPECT_EQ(shape.Left(), left121);
        EXPECT_EQ(shape.Width(), 121);
    }
}

TEST(BandSize, PushesPixelSizeAndKeepsValuesAsStored) {
    FixedScreen screen(96);
    Plate plate;
    plate.band->Size().ReadValues({2770.1875, 1899.7083333333333});
    plate.band->Loaded();
    EXPECT_EQ(plate.band->PixelHeight(), 1047);
    EXPECT_EQ(plate.band->PixelWidth(), 718);
    EXPECT_NEAR(double(plate.band->Size().Height()), 277.01875, 1e-12);
}

TEST(Page, StoredValuesReadInMillimetres) {
    FixedScreen screen(96);
    TRpReport report;
    report.SetUnits(TRpUnit::MM);
    TRpPage &page = report.Page();
    page.ReadValues({100, 2970, 100, 2100, 100, 100, 0});
    EXPECT_EQ(page.BottomMargin(), 10);
    EXPECT_EQ(page.Length(), 297);
    EXPECT_EQ(page.TopMargin(), 10);
    EXPECT_EQ(page.Width(), 210);
    EXPECT_EQ(page.LeftMargin(), 10);
    EXPECT_EQ(page.RightMargin(), 10);
    EXPECT_EQ(page.ColumnSpace(), 0);
    // Read values push the report's pixel size at once.
    EXPECT_EQ(report.PixelWidth(), 794);
    EXPECT_EQ(report.PixelHeight(), 1123);
}

TEST(Page, LengthAndWidthAreWrittenOnlyForCustomPaper) {
    FixedScreen screen(96);
    TRpReport report;
    report.SetUnits(TRpUnit::MM);
    TRpPage &page = report.Page();
    page.SetLength(100);
    page.SetWidth(100);
    EXPECT_EQ(page.Native(TRpPage::LengthIndex), 2970);
    EXPECT_EQ(page.Native(TRpPage::WidthIndex), 2100);
    page.SetPaperSize(TRpPaperSize::Custom);
    page.SetLength(100);
    page.SetWidth(50);
    EXPECT_EQ(page.Native(TRpPage::LengthIndex), 1000);
    EXPECT_EQ(page.Native(TRpPage::WidthIndex), 500);
    EXPECT_EQ(report.PixelWidth(), 189);
    EXPECT_EQ(report.PixelHeight(), 378);
    // A custom paper turned on its side swaps its sides.
    page.SetOrientation(TRpOrientation::Landscape);
    EXPECT_EQ(page.Native(TRpPage::LengthIndex), 500);
    EXPECT_EQ(page.Native(TRpPage::WidthIndex), 1000);
}

TEST(Page, NamedPaperTakesTheTableInMillimetresWhateverTheUnits) {
    FixedScreen screen(96);
    TRpReport report;
    report.SetUnits(TRpUnit::Inches);
    TRpPage &page = report.Page();
    page.SetPaperSize(TRpPaperSize::Letter);
    EXPECT_NEAR(double(page.Native(TRpPage::WidthIndex)), 2159, 1e-9);
    EXPECT_NEAR(double(page.Native(TRpPage::LengthIndex)), 2794, 1e-9);
    EXPECT_EQ(page.Units(), TRpUnit::Inches);
    page.SetOrientation(TRpOrientation::Landscape);
    EXPECT_NEAR(double(page.Native(TRpPage::WidthIndex)), 2794, 1e-9);
    EXPECT_NEAR(double(page.Native(TRpPage::LengthIndex)), 2159, 1e-9);
    page.SetPaperSize(TRpPaperSize::A4);
    EXPECT_EQ(page.Native(TRpPage::WidthIndex), 2970);
    EXPECT_EQ(page.Native(TRpPage::LengthIndex), 2100);
    // Default keeps the sides it has.
    page.SetPaperSize(TRpPaperSize::Default);
    EXPECT_EQ(page.Native(TRpPage::WidthIndex), 2970);
    EXPECT_EQ(page.PaperSize(), TRpPaperSize::Default);
}

TEST(Page, ColumnsIgnoreZeroAndLess) {
    FixedScreen screen(96);
    TRpReport report;
    for (const auto &[write, expected] : {std::pair{0, 1}, {-2, 1}, {3, 3}, {0, 3}}) {
        report.Page().SetColumns(write);
        EXPECT_EQ(report.Page().Columns(), expected);
    }
}

TEST(PaperTable, StandardPortraitSizes) {
    const std::tuple<TRpPaperSize, double, double> cases[] = {
        {TRpPaperSize::A4, 210, 297},         {TRpPaperSize::Letter, 215.9, 279.4},
        {TRpPaperSize::Ledger, 431.8, 279.4}, {TRpPaperSize::A3, 297, 420},
        {TRpPaperSize::EnvDL, 110, 220},      {TRpPaperSize::A4Extra, 235.5, 322.3},
        {TRpPaperSize::A2, 420, 594},         {TRpPaperSize::A3ExtraTrans, 322, 445}};
    for (const auto &[size, width, length] : cases) {
        EXPECT_EQ(PaperOf(size).width, width) << int(size);
        EXPECT_EQ(PaperOf(size).length, length) << int(size);
    }
    EXPECT_EQ(int(TRpPaperSize::A3ExtraTrans), 68);
    EXPECT_EQ(PaperCode(TRpPaperSize::Custom), 256);
}

} // namespace
