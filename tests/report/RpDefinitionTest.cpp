// Reading report definitions: the stored values, the loading rules and the messages for
// definitions that cannot be read.
#include "PlateFixture.h"

#include "report/RpCtrls.h"
#include "report/RpDefinition.h"
#include "report/RpPrinterSettings.h"
#include "report/rpSwRect.h"

#include "platform/Application.h"
#include "support/Doubles.h"

#include <gtest/gtest.h>

namespace {

using testing_support::FixedScreen;

// A definition with one title band holding the given items.
QByteArray WithItems(const QByteArray &items) {
    return R"({"Units": "MM", "Bands": [{"Name": "RpBand1", "BandType": "rbTitle",
               "Size": {"Values": [2770.1875, 1899.7083333333333]}, "Items": [)" +
           items + "]}]}";
}

TEST(ReportDefinition, PlateLikeReportLoadsItsStoredValues) {
    FixedScreen screen(96);
    const auto report = ReadReportDefinition(PlateLikeDefinition());
    EXPECT_EQ(report->Name, "RpReport1");
    EXPECT_EQ(report->Units(), TRpUnit::MM);
    EXPECT_EQ(report->ReportTitle, "Quendrel");
    EXPECT_EQ(report->Options, (TRpReportOptions{true, true, false}));
    EXPECT_TRUE(report->PrintIfEmpty);
    EXPECT_EQ(report->PrevInitialZoom, TRpZoomState::rpZoomToFit);
    EXPECT_EQ(report->PrinterSettings().OutputBin, TRpBin::Auto);
    EXPECT_EQ(report->PrinterSettings().Copies, 1);
    EXPECT_EQ(report->Font().face, "Arial");
    EXPECT_EQ(report->Font().size, 10); // 13 pixels at 96 dpi: 9.75 points
    EXPECT_EQ(report->Font().charset, platform::EASTEUROPE_CHARSET);
    EXPECT_EQ(report->Page().PaperSize(), TRpPaperSize::A4);
    EXPECT_EQ(report->Page().Values(),
              (std::vector<long double>{100, 2970, 100, 2100, 100, 100, 0}));

    ASSERT_EQ(report->Bands().size(), 1u);
    const TRpBand &band = *report->Bands().front();
    EXPECT_EQ(band.BandType, TRpBandType::rbTitle);
    EXPECT_EQ(band.PixelHeight(), 1047);
    EXPECT_EQ(band.PixelWidth(), 718);

    const char *order[] = {"RpShape1",      "RpShadowRect1", "RpLabel1",      "RpShadowRect2",
                           "RpShadowRect3", "RpShadowRect4", "RpShadowRect5", "RpLabel2",
                           "RpLabel3",      "RpLabel4",      "RpLabel5",      "RpLabel6",
                           "RpLabel7",      "RpLabel8",      "RpLabel9"};
    ASSERT_EQ(band.Items().size(), std::size(order));
    for (std::size_t i = 0; i < std::size(order); ++i)
        EXPECT_EQ(band.Items()[i]->Name(), order[i]);

    const auto *shape = report->Find<TRpShape>("RpShape1");
    ASSERT_TRUE(shape);
    EXPECT_NEAR(double(shape->Size().NativeLeft()), 74.08333333333333, 1e-13);
    EXPECT_EQ(shape->Left(), 28);
    EXPECT_EQ(shape->Top(), 21);
    EXPECT_EQ(shape->Width(), 353);
    EXPECT_EQ(shape->Height(), 220);
    EXPECT_EQ(shape->Pen.colour, platform::clWhite);
    EXPECT_EQ(shape->Brush, platform::Brush{});

    const auto *rect = report->Find<TRpShadowRect>("RpShadowRect3");
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->ShadowWidth(), 0);
    EXPECT_EQ(rect->Curve(), 30);
    EXPECT_FALSE(rect->Rounded());
    EXPECT_EQ(rect->ShadowBrush().colour, platform::clGray);
    EXPECT_EQ(rect->Pen().colour, platform::clWhite);
    EXPECT_EQ(rect->Brush().colour, platform::clWhite);
    EXPECT_EQ(rect->Top(), 110);
}

TEST(ReportDefinition, LabelsTakeFontSizeCaptionsAndFinalSizes) {
    FixedScreen screen(96);
    const auto report = ReadReportDefinition(PlateLikeDefinition());
    const std::tuple<const char *, int, const char *, TAlignment, bool> cases[] = {
        {"RpLabel1", 12, "Tabliczka znamionowa zastępcza", TAlignment::taCenter, false},
        {"RpLabel2", 12, "RpLabel2", TAlignment::taRightJustify, false},
        {"RpLabel4", 10, "Marka", TAlignment::taLeftJustify, true},
        {"RpLabel9", 14, "RpLabel9", TAlignment::taRightJustify, false},
    };
    for (const auto &[name, points, caption, alignment, autoSize] : cases) {
        SCOPED_TRACE(name);
        const auto *label = report->Find<TRpLabel>(name);
        ASSERT_TRUE(label);
        EXPECT_EQ(label->Font().size, points);
        EXPECT_EQ(label->Caption(), QString::fromUtf8(caption));
        EXPECT_EQ(label->Alignment(), alignment);
        EXPECT_EQ(label->AutoSize, autoSize);
        EXPECT_FALSE(label->ParentFont());
        EXPECT_EQ(label->FormattedLines(), QStringList{QString::fromUtf8(caption)});
    }
    // Fixed boxes keep their stored size; auto-sized captions take their text's width.
    const auto *heading = report->Find<TRpLabel>("RpLabel1");
    EXPECT_EQ(heading->Width(), 280);
    EXPECT_EQ(heading->Height(), 20);
    EXPECT_NEAR(double(heading->Size().NativeWidth()), 740.8333333333334, 1e-12);
    const auto *caption = report->Find<TRpLabel>("RpLabel4");
    EXPECT_EQ(caption->Width(), report->TextWidth(caption->Font(), "Marka"));
    EXPECT_EQ(caption->Left(), 66);
    EXPECT_EQ(caption->Height(), 18);
    EXPECT_EQ(report->Find<TRpLabel>("RpLabel9")->Height(), 23);
}

TEST(ReportDefinition, StoredSizesDecideOnAHigherResolutionScreen) {
    FixedScreen screen(120);
    const auto report = ReadReportDefinition(PlateLikeDefinition());
    const auto *shape = report->Find<TRpShape>("RpShape1");
    EXPECT_EQ(shape->Width(), 441);
    EXPECT_EQ(shape->Height(), 275);
    EXPECT_EQ(shape->Size().Values(),
              (std::vector<long double>{582.0833333333334, 74.08333333333333, 55.5625,
                                        933.9791666666666}));
}

TEST(ReportDefinition, StoredPixelsCountOnlyWhereValuesGiveZero) {
    FixedScreen screen(96);
    const auto report = ReadReportDefinition(WithItems(R"(
        {"Class": "TRpShape", "Name": "Decided", "Left": 999, "Top": 999, "Width": 5, "Height": 5,
         "Size": {"Values": [582.0833333333334, 74.08333333333333, 55.5625, 933.9791666666666]}},
        {"Class": "TRpShape", "Name": "Zeros", "Left": 30, "Top": 12, "Width": 40, "Height": 50,
         "Size": {"Values": [0, 0, 1, 100]}},
        {"Class": "TRpShape", "Name": "NoValues", "Left": 7, "Width": 9})"));
    const auto *decided = report->Find<TRpShape>("Decided");
    EXPECT_EQ(decided->Left(), 28);
    EXPECT_EQ(decided->Width(), 353);
    const auto *zeros = report->Find<TRpShape>("Zeros");
    EXPECT_EQ(zeros->Left(), 30);
    EXPECT_EQ(zeros->Top(), 12);
    EXPECT_EQ(zeros->Width(), 38); // from Values
    EXPECT_EQ(zeros->Height(), 50);
    EXPECT_NEAR(double(zeros->Size().NativeLeft()), 30 * 254.0 / 96, 1e-12);
    EXPECT_NEAR(double(zeros->Size().NativeHeight()), 50 * 254.0 / 96, 1e-12);
    // A shape without Values keeps its new-item size: 65 x 65 pixels.
    const auto *noValues = report->Find<TRpShape>("NoValues");
    EXPECT_EQ(noValues->Left(), 7);
    EXPECT_EQ(noValues->Width(), 65);
    EXPECT_EQ(noValues->Height(), 65);
}

TEST(ReportDefinition, FontSizeAppliesAfterLoadingWhateverTheHeight) {
    FixedScreen screen(96);
    const auto report = ReadReportDefinition(WithItems(R"(
        {"Class": "TRpLabel", "Name": "Sized", "FontSize": 20, "ParentFont": false,
         "Font": {"Name": "Times New Roman", "Height": -16}},
        {"Class": "TRpLabel", "Name": "Unsized", "FontSize": 0, "ParentFont": false,
         "Font": {"Name": "Times New Roman", "Height": -19}},
        {"Class": "TRpLabel", "Name": "Parent"})"));
    EXPECT_EQ(report->Find<TRpLabel>("Sized")->Font().size, 20);
    EXPECT_EQ(report->Find<TRpLabel>("Unsized")->Font().size, 14); // 14.25 points
    EXPECT_TRUE(report->Find<TRpLabel>("Parent")->ParentFont());
    EXPECT_EQ(report->Find<TRpLabel>("Parent")->Caption(), "Parent");
}

TEST(ReportDefinition, ShadowRectangleDefaultsVisibleAndGreyShadow) {
    FixedScreen screen(96);
    const auto report = ReadReportDefinition(WithItems(R"(
        {"Class": "TRpShadowRect", "Name": "Fresh"},
        {"Class": "TRpShadowRect", "Name": "Hidden", "Visible": false},
        {"Class": "TRpShadowRect", "Name": "Shown", "Enabled": false, "Visible": true},
        {"Class": "TRpShadowRect", "Name": "StyledShadow", "ShadowBrush": {"Style": "bsClear"}},
        {"Class": "TRpShadowRect", "Name": "Disabled", "Enabled": false})"));
    const auto *fresh = report->Find<TRpShadowRect>("Fresh");
    EXPECT_EQ(fresh->Curve(), 10);
    EXPECT_EQ(fresh->ShadowWidth(), 4);
    EXPECT_TRUE(fresh->Rounded());
    EXPECT_EQ(fresh->ShadowBrush(),
              (platform::Brush{platform::clGray, platform::BrushStyle::Solid}));
    EXPECT_EQ(fresh->Brush(), (platform::Brush{platform::clWhite, platform::BrushStyle::Solid}));
    EXPECT_EQ(fresh->Pen(), platform::Pen{});
    EXPECT_EQ(fresh->Width(), 100);
    EXPECT_EQ(fresh->Height(), 50);
    EXPECT_FALSE(report->Find<TRpShadowRect>("Hidden")->Enabled());
    EXPECT_TRUE(report->Find<TRpShadowRect>("Shown")->Enabled());
    EXPECT_FALSE(report->Find<TRpShadowRect>("Disabled")->Enabled());
    const auto *styled = report->Find<TRpShadowRect>("StyledShadow");
    EXPECT_EQ(styled->ShadowBrush(),
              (platform::Brush{platform::clGray, platform::BrushStyle::Clear}));
}

TEST(ReportDefinition, AnyPrintableMayBeMarkedShownInPageImagesOnly) {
    FixedScreen screen(96);
    const auto report = ReadReportDefinition(WithItems(R"(
        {"Class": "TRpShape", "Name": "Sheet", "PreviewOnly": true},
        {"Class": "TRpLabel", "Name": "Note", "PreviewOnly": true},
        {"Class": "TRpShadowRect", "Name": "Box", "PreviewOnly": false},
        {"Class": "TRpShape", "Name": "Plate"})"));
    EXPECT_TRUE(report->Find<TRpShape>("Sheet")->PreviewOnly());
    EXPECT_TRUE(report->Find<TRpLabel>("Note")->PreviewOnly());
    EXPECT_FALSE(report->Find<TRpShadowRect>("Box")->PreviewOnly());
    EXPECT_FALSE(report->Find<TRpShape>("Plate")->PreviewOnly());
    EXPECT_THROW(ReadReportDefinition(WithItems(R"({"Class": "TRpShape", "PreviewOnly": 1})")),
                 platform::Error);
}

TEST(ReportDefinition, DefinitionsThatCannotBeReadNameThePlaceAndTheFault) {
    FixedScreen screen(96);
    const std::pair<QByteArray, QString> cases[] = {
        {"{\"Units\": ", "offset"},
        {"[1, 2]", "top level: an object expected"},
        {R"({"Unit": "MM"})", "report: unknown property \"Unit\""},
        {R"({"Units": "Furlongs"})", "report.Units: \"Furlongs\" is not one of MM, Inches"},
        {R"({"Zoom": 1.5})", "report.Zoom: a whole number expected"},
        {R"({"Page": {"Values": [1, 2]}})", "report.Page.Values: Values holds 2 numbers where 7"},
        {WithItems(R"({"Class": "TRpLine", "Name": "L1"})"), "L1: unknown class \"TRpLine\""},
        {WithItems(R"({"Name": "L1"})"), "L1.Class: a text expected"},
        {WithItems(R"({"Class": "TRpLabel", "Name": "L1", "Alignment": "center"})"),
         "L1.Alignment: \"center\" is not one of taLeftJustify"},
        {WithItems(R"({"Class": "TRpLabel", "Name": "L1", "Font": {"Style": ["bold"]}})"),
         "L1.Font.Style[0]: \"bold\" is not one of fsBold"},
        {WithItems(R"({"Class": "TRpShape", "Name": "S1", "Size": {"Values": [1, 2, "3", 4]}})"),
         "S1.Size.Values[2]: a number expected"},
        {WithItems(R"({"Class": "TRpShape", "Name": "S1", "Pen": {"Color": -1}})"),
         "S1.Pen.Color: a colour value expected"},
        {WithItems(R"({"Class": "TRpShape", "Name": "S1", "Caption": "x"})"),
         "S1: unknown property \"Caption\""},
        {WithItems(R"({"Class": "TRpShape", "Name": "S1"}, {"Class": "TRpLabel", "Name": "S1"})"),
         "S1: a second item named \"S1\""},
        {R"({"Bands": [{"Class": "TRpShape"}]})", "Bands[0]: a band must be of class TRpBand"},
    };
    for (const auto &[json, message] : cases) {
        SCOPED_TRACE(json.toStdString());
        try {
            ReadReportDefinition(json);
            ADD_FAILURE() << "read without an error";
        } catch (const platform::Error &e) {
            EXPECT_TRUE(e.message().startsWith("Report definition, ")) << e.what();
            EXPECT_TRUE(e.message().contains(message)) << e.what();
        }
    }
}

TEST(ReportDefinition, MissingFileIsReported) {
    EXPECT_THROW(ReadReportDefinitionFile("/nonexistent/plate.json"), platform::Error);
}

} // namespace
