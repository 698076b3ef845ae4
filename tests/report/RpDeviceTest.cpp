// The device mapping from page positions to device pixels, and where bands land in a run.
#include "report/RpDevice.h"
#include "report/RpReport.h"
#include "report/RpRunGeometry.h"

#include "support/Doubles.h"

#include <gtest/gtest.h>

namespace {

TRpDeviceMapping Printer600WithOffset100() {
    TRpDeviceMapping mapping;
    mapping.PixelsPerTenthX = TRpDeviceMapping::PixelsPerTenth(600);
    mapping.PixelsPerTenthY = TRpDeviceMapping::PixelsPerTenth(600);
    mapping.LeftUnprintable = TRpDeviceMapping::PixelsToTenths(100, 600);
    mapping.TopUnprintable = 0;
    return mapping;
}

TEST(DeviceMapping, PrinterSubtractsItsUnprintableMargin) {
    const TRpDeviceMapping mapping = Printer600WithOffset100();
    EXPECT_EQ(mapping.LeftUnprintable, 42); // 42.33...
    EXPECT_EQ(mapping.DeviceX(135), 220);   // round(93 x 600 / 254) = round(219.685...)
    EXPECT_EQ(mapping.DeviceY(305), 720);   // round(720.47...)
}

// A corrected printer gets (p - a) / b for positions and l / b for lengths, after its
// unprintable margin is taken off; a printer the same but uncorrected is unchanged.
TEST(DeviceMapping, CorrectionSendsWhereTheStretchedShiftedPrinterPutsTheDesign) {
    const struct {
        TRpCalibration correction;
        int x, y, length;
    } cases[] = {
        {{}, 220, 720, 236},
        // a = +2 mm, b = 1.005 across; a = -1.5 mm, b = 0.996 down.
        {{{2000, 5000}, {-1500, -4000}}, 171, 759, 235},
    };
    for (const auto &c : cases) {
        TRpDeviceMapping mapping = Printer600WithOffset100();
        mapping.Correction = c.correction;
        // round(((135 - 20) / 1.005 - 42) x 600 / 254), round((305 + 15) / 0.996 x 600 / 254)
        EXPECT_EQ(mapping.DeviceX(135), c.x);
        EXPECT_EQ(mapping.DeviceY(305), c.y);
        EXPECT_EQ(mapping.LengthX(100), c.length);
    }
}

TEST(DeviceMapping, PageImageAtScreenResolution) {
    const TRpDeviceMapping mapping = TRpDeviceMapping::ForResolution(96);
    EXPECT_EQ(mapping.DeviceX(135), 51);
    EXPECT_EQ(mapping.DeviceY(305), 115);
    // An A4 page image.
    EXPECT_EQ(mapping.LengthX(2100), 794);
    EXPECT_EQ(mapping.LengthY(2970), 1123);
}

TEST(DeviceMapping, RectanglesMapCornerByCorner) {
    const TRpDeviceMapping mapping = TRpDeviceMapping::ForResolution(96);
    // Each corner rounds on its own, so a box's device width is the difference of two
    // rounded corners and not its rounded width.
    const long double left = 101;                                        // 38.17 -> 38
    const long double width = 1;                                         // 0.38 -> 0
    EXPECT_EQ(mapping.DeviceX(left + width) - mapping.DeviceX(left), 1); // 38.55 -> 39
    EXPECT_EQ(mapping.LengthX(width), 0);
}

TEST(DeviceMapping, PixelsToTenthsRoundsHalvesToEven) {
    const std::tuple<int, int, int> cases[] = {
        {0, 600, 0}, {100, 600, 42}, {118, 600, 50}, {4961, 600, 2100}, {12, 1200, 3}};
    for (const auto &[pixels, dpi, tenths] : cases)
        EXPECT_EQ(TRpDeviceMapping::PixelsToTenths(pixels, dpi), tenths) << pixels << "@" << dpi;
}

TEST(RunGeometry, FirstBandAtTheMarginsAndBelowItTheNextPosition) {
    testing_support::FixedScreen screen(96);
    TRpReport report;
    report.Page().ReadValues({100, 2970, 100, 2100, 100.5L, 100, 0});
    EXPECT_EQ(MarginX(report.Page()), 100); // 100.5 -> 100
    EXPECT_EQ(MarginY(report.Page()), 100);
    EXPECT_EQ(BelowBand(100, 2770.1875L), 2870);
    EXPECT_EQ(BelowBand(100, 2770.5L), 2870);
    EXPECT_EQ(BelowBand(100, 2771.5L), 2872);
    EXPECT_EQ(FooterY(report.Page(), 150), 2720);
}

TEST(RunGeometry, BandFitsByRoundedHeights) {
    testing_support::FixedScreen screen(96);
    TRpReport report;
    report.Page().ReadValues({100, 2970, 100, 2100, 100, 100, 0});
    const TRpPage &page = report.Page();
    // Room below 2000 on A4 with a 10 mm bottom margin: 2970 - 100 - 2000 = 870.
    EXPECT_TRUE(BandFits(870.4L, page, 2970, 0, 2000));
    EXPECT_TRUE(BandFits(870.5L, page, 2970, 0, 2000)); // rounds to 870
    EXPECT_FALSE(BandFits(871.5L, page, 2970, 0, 2000));
    EXPECT_FALSE(BandFits(800, page, 2970, 100, 2000)); // a page footer takes 100
    // The plate's band is taller than anything but the page's printable length.
    EXPECT_FALSE(BandTallerThanPage(2770.1875L, page));
    EXPECT_TRUE(BandTallerThanPage(2771, page));
}

} // namespace
