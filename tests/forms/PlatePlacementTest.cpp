#include "forms/uDrukTabliczka.h"
#include "forms/uDrukowanie.h"
#include "report/RpCtrls.h"
#include "report/RpReport.h"
#include "report/rpSwRect.h"
#include "support/Doubles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using platform::TColor;

std::array<TColor, 10> Chosen(int marker) {
    std::array<TColor, 10> fills;
    fills.fill(platform::clWhite);
    fills[marker - 1] = platform::SelectionColour;
    return fills;
}

struct Position {
    int layout;
    int marker;
    double x, y;             // millimetres, as the sheet is cut
    int L, T;                // outline's pixel position at 96 dpi
    double originX, originY; // origin of the other items on paper, millimetres
};

// Every position of both sheets, at 96 pixels per inch.
const Position Positions[] = {
    {0, 1, 13.5, 30.5, 13, 77, 13.440, 30.373},
    {0, 2, 13.5, 90.3, 13, 303, 13.440, 90.169},
    {0, 3, 13.5, 150.1, 13, 530, 13.440, 150.229},
    {0, 4, 13.5, 210.0, 13, 756, 13.440, 210.025},
    {0, 6, 103.5, 30.5, 353, 77, 103.398, 30.373},
    {0, 7, 103.5, 90.3, 353, 303, 103.398, 90.169},
    {0, 8, 103.5, 150.1, 353, 530, 103.398, 150.229},
    {0, 9, 103.5, 210.0, 353, 756, 103.398, 210.025},
    {1, 1, 17, 10, 26, 0, 16.879, 10.000},
    {1, 2, 17, 65, 26, 208, 16.879, 65.033},
    {1, 3, 17, 120, 26, 416, 16.879, 120.067},
    {1, 4, 17, 175, 26, 624, 16.879, 175.100},
    {1, 5, 17, 230, 26, 831, 16.879, 229.869},
    {1, 6, 106, 10, 363, 0, 106.044, 10.000},
    {1, 7, 106, 65, 363, 208, 106.044, 65.033},
    {1, 8, 106, 120, 363, 416, 106.044, 120.067},
    {1, 9, 106, 175, 363, 624, 106.044, 175.100},
    {1, 10, 106, 230, 363, 831, 106.044, 229.869},
};

constexpr long double TenthsPerPixel = 254.0L / 96.0L;

class PlatePlacement : public ::testing::TestWithParam<Position> {
protected:
    testing_support::FixedScreen screen{96};
};

TEST_P(PlatePlacement, OutlineAtSheetOffsetAndItemsByWholePixels) {
    const Position p = GetParam();
    const PlateOrigin origin = ChosenPlateOrigin(p.layout, Chosen(p.marker));
    EXPECT_FLOAT_EQ(origin.x, float(p.x));
    EXPECT_FLOAT_EQ(origin.y, float(p.y));

    TfDrukTabliczka plate;
    PlacePlate(plate, origin);
    const TRpShape &outline = *plate.RpShape1;
    // Stored exactly as the 32-bit offsets give them: 90.3 is 803.00003 tenths.
    EXPECT_EQ(outline.Size().NativeLeft(), (static_cast<long double>(float(p.x)) - 10) * 10);
    EXPECT_EQ(outline.Size().NativeTop(), (static_cast<long double>(float(p.y)) - 10) * 10);
    EXPECT_NEAR(double(outline.Size().NativeLeft()), (p.x - 10) * 10, 1e-4);
    EXPECT_NEAR(double(outline.Size().NativeTop()), (p.y - 10) * 10, 1e-4);
    EXPECT_EQ(outline.Left(), p.L);
    EXPECT_EQ(outline.Top(), p.T);
    EXPECT_NEAR(double((100 + p.L * TenthsPerPixel) / 10), p.originX, 0.0005);
    EXPECT_NEAR(double((100 + p.T * TenthsPerPixel) / 10), p.originY, 0.0005);

    const struct {
        const TRpPrintable *item;
        int left, top;
    } offsets[] = {
        {plate.RpShadowRect1, 30, 21},  {plate.RpShadowRect2, 30, 49},
        {plate.RpShadowRect3, 30, 89},  {plate.RpShadowRect4, 30, 129},
        {plate.RpShadowRect5, 30, 169}, {plate.RpLabel1, 38, 23},
        {plate.RpLabel4, 38, 51},       {plate.RpLabel7, 38, 66},
        {plate.RpLabel5, 38, 91},       {plate.RpLabel8, 38, 105},
        {plate.RpLabel6, 38, 131},      {plate.RpLabel9, 38, 145},
        {plate.RpLabel3, 38, 175},      {plate.RpLabel2, 222, 175},
    };
    for (const auto &o : offsets) {
        SCOPED_TRACE(o.item->Name().toStdString());
        EXPECT_EQ(o.item->Left(), p.L + o.left);
        EXPECT_EQ(o.item->Top(), p.T + o.top);
        EXPECT_NEAR(double(o.item->Size().NativeLeft()), (p.L + o.left) * double(TenthsPerPixel),
                    1e-9);
        EXPECT_NEAR(double(o.item->Size().NativeTop()), (p.T + o.top) * double(TenthsPerPixel),
                    1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(AllSheetPositions, PlatePlacement, ::testing::ValuesIn(Positions),
                         [](const auto &info) {
                             return (info.param.layout == 0 ? std::string("Eight") : "Ten") +
                                    "Marker" + std::to_string(info.param.marker);
                         });

TEST(PlatePosition, OnlyMarkersOfTheLayoutCount) {
    // Marker 5 chosen on the 10-position sheet is no choice on the 8-position sheet.
    EXPECT_TRUE(AnyPositionChosen(1, Chosen(5)));
    EXPECT_FALSE(AnyPositionChosen(0, Chosen(5)));
    EXPECT_FALSE(AnyPositionChosen(0, Chosen(10)));
    std::array<TColor, 10> white;
    white.fill(platform::clWhite);
    EXPECT_FALSE(AnyPositionChosen(1, white));
    // Any colour but white counts as chosen; only the selection colour places the plate.
    std::array<TColor, 10> odd = white;
    odd[2] = 0x00FF00;
    EXPECT_TRUE(AnyPositionChosen(0, odd));
    const PlateOrigin none = ChosenPlateOrigin(0, odd);
    EXPECT_EQ(none.x, 0.0f);
    EXPECT_EQ(none.y, 0.0f);
}

TEST(PlateReport, FreshInstanceHasTheStoredDefinition) {
    testing_support::FixedScreen screen{96};
    TfDrukTabliczka plate;
    const TRpReport &report = *plate.RpReport1;
    EXPECT_EQ(report.ReportTitle, "Quendrel");
    EXPECT_EQ(report.Units(), TRpUnit::MM);
    EXPECT_EQ(report.Page().PaperSize(), TRpPaperSize::A4);
    EXPECT_DOUBLE_EQ(double(plate.RpShape1->Size().NativeLeft()), 74.08333333333333);
    EXPECT_DOUBLE_EQ(double(plate.RpShape1->Size().NativeTop()), 55.5625);
    EXPECT_EQ(plate.RpShape1->Left(), 28);
    EXPECT_EQ(plate.RpShape1->Top(), 21);
    EXPECT_EQ(plate.RpShape1->Width(), 353);
    EXPECT_EQ(plate.RpShape1->Height(), 220);
    const struct {
        const TRpLabel *label;
        const char *caption;
        int points;
    } labels[] = {
        {plate.RpLabel1, "Tabliczka znamionowa zastępcza", 12},
        {plate.RpLabel2, "RpLabel2", 12},
        {plate.RpLabel3, "Tabliczka wykonana przez :", 10},
        {plate.RpLabel4, "Marka", 10},
        {plate.RpLabel5, "Typ/Model", 10},
        {plate.RpLabel6, "Nr nadwozia (podwozia lub ramy)", 10},
        {plate.RpLabel7, "RpLabel7", 12},
        {plate.RpLabel8, "RpLabel8", 12},
        {plate.RpLabel9, "RpLabel9", 14},
    };
    for (const auto &l : labels) {
        EXPECT_EQ(l.label->Caption(), QString::fromUtf8(l.caption));
        EXPECT_EQ(l.label->FontSize(), l.points) << l.caption;
    }
}

TEST(PlateReport, StoredSizesDecideOnAnyScreen) {
    testing_support::FixedScreen screen{120};
    TfDrukTabliczka plate;
    EXPECT_EQ(plate.RpShape1->Width(), 441);
    EXPECT_EQ(plate.RpShape1->Height(), 275);
    EXPECT_DOUBLE_EQ(double(plate.RpShape1->Size().NativeWidth()), 933.9791666666666);
}

} // namespace
