// The printer choice and the device mode: applying a report's settings to a job's live
// settings, reading a printer, and writing its device mode, through the printer double.
#include "PrintTestReports.h"

#include "report/RpPrntr.h"

#include "support/FakePrinter.h"

#include <gtest/gtest.h>

using namespace print_test;
using platform::DeviceMode;
using testing_support::AllDeviceModeFields;
using testing_support::FakePrinter;
using testing_support::FakePrinterSystem;

namespace {

FakePrinterSystem ThreePrinters() {
    return FakePrinterSystem({FakePrinter{"P1"}, FakePrinter{"P2"}, FakePrinter{"P3"}});
}

// Applies the report's settings the way a run does and returns the printer now current.
QString ApplyFor(TRpReport &report, int index) {
    report.PrinterSettings().PrinterIndex = index;
    TRpPrinter job(report);
    ::ApplyPrinterSettings(report.PrinterSettings(), report.Page(), job.Settings());
    return job.Settings().Device;
}

// The device mode WriteDeviceMode hands to the printer for a report on one printer.
DeviceMode WrittenFor(const FakePrinter &printer, TRpReport &report) {
    FakePrinterSystem printers({printer});
    TRpPrinter job(report);
    ::ApplyPrinterSettings(report.PrinterSettings(), report.Page(), job.Settings());
    job.Settings().WriteDeviceMode();
    EXPECT_EQ(printers.written.size(), 1u);
    return printers.written.empty() ? DeviceMode{} : printers.written.back();
}

} // namespace

TEST(PrinterChoice, MinusOneKeepsTheDefaultUntilAnotherIsChosenThenThatOne) {
    FakePrinterSystem printers = ThreePrinters();
    printers.standard = "P2";
    auto report = PagesReport(1);
    EXPECT_EQ(ApplyFor(*report, -1), "P2");
    EXPECT_EQ(ApplyFor(*report, 2), "P3");
    // The choice is the platform's: it holds for later jobs of any report.
    auto other = PagesReport(1);
    EXPECT_EQ(ApplyFor(*other, -1), "P3");
    EXPECT_EQ(printers.printerIndex(), 2);
    EXPECT_EQ(ApplyFor(*other, 0), "P1");
    EXPECT_EQ(ApplyFor(*report, -1), "P1");
}

TEST(PrinterChoice, TheCurrentPositionIsNotReadAgain) {
    FakePrinterSystem printers = ThreePrinters();
    auto report = PagesReport(1);
    ApplyFor(*report, 1);
    printers.calls.clear();
    report->PrinterSettings().PrinterIndex = 1;
    TRpPrinter job(*report); // reads the current printer once
    const qsizetype reads = printers.calls.count("deviceMode P2");
    ::ApplyPrinterSettings(report->PrinterSettings(), report->Page(), job.Settings());
    EXPECT_EQ(printers.calls.count("deviceMode P2"), reads);
}

TEST(PrinterChoice, PositionPastTheEndIsThePlatformsError) {
    FakePrinterSystem printers = ThreePrinters();
    auto report = PagesReport(1);
    for (const int index : {3, 17, -2}) {
        try {
            ApplyFor(*report, index);
            ADD_FAILURE() << index << " was taken";
        } catch (const platform::Error &e) {
            EXPECT_EQ(e.message(), "Printer index out of range") << index;
        }
    }
    EXPECT_EQ(printers.currentPrinter(), "P1");
}

TEST(PrinterChoice, ListReadAfreshFindsAPrinterAddedSinceStart) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(1);
    EXPECT_THROW(ApplyFor(*report, 1), platform::Error);
    printers.printers.push_back(FakePrinter{"Late"});
    EXPECT_EQ(ApplyFor(*report, 1), "Late");
}

TEST(PrinterSettings, NoPrinterInstalledKeepsCreationValuesAndTakesTheRest) {
    FakePrinterSystem printers;
    auto report = PagesReport(1);
    report->Page().SetOrientation(TRpOrientation::Landscape);
    TRpReportPrinterSettings &asked = report->PrinterSettings();
    asked.PrinterIndex = 1;
    asked.Copies = 4;
    asked.OutputBin = TRpBin::Manual;
    asked.Duplex = true;
    asked.FirstPage = 2;
    asked.Collate = true;
    asked.ColorOption = 2;
    TRpPrinter job(*report);
    EXPECT_FALSE(job.PrintersInstalled());
    EXPECT_TRUE(job.Settings().UseStandardPrinter);
    ::ApplyPrinterSettings(asked, report->Page(), job.Settings());
    const TPrinterSettings &live = job.Settings();
    EXPECT_EQ(printers.calls, QStringList({"printerNames", "printerNames"}));
    EXPECT_EQ(live.PaperSize, TRpPaperSize::A4);
    EXPECT_EQ(live.Orientation, TRpOrientation::Portrait);
    EXPECT_EQ(live.Copies, 1);
    EXPECT_EQ(live.OutputBin, TRpBin::First);
    EXPECT_FALSE(live.Duplex);
    EXPECT_EQ(live.FirstPage, 2);
    EXPECT_TRUE(live.Collate);
    EXPECT_EQ(live.ColorOption, 2);
    EXPECT_FALSE(live.UseStandardPrinter); // the report's, taken after the printer step
}

TEST(PrinterSettings, ReadingAPrinterTakesWhatItsDriverDeclares) {
    FakePrinter printer{"P1"};
    printer.dpiX = 600;
    printer.dpiY = 300;
    printer.offsetX = 100;
    printer.offsetY = 30;
    printer.mode.dmCopies = 2;
    printer.mode.dmDefaultSource = 14;
    printer.mode.dmDuplex = platform::DMDUP_VERTICAL;
    printer.mode.dmPaperSize = 11; // A5
    printer.mode.dmPaperWidth = 1480;
    printer.mode.dmPaperLength = 2100;
    printer.mode.dmCollate = 1;
    printer.papers = {9, 11, 256};
    FakePrinterSystem printers({printer});
    auto report = PagesReport(1);
    TRpPrinter job(*report);
    const TPrinterSettings &live = job.Settings();
    EXPECT_EQ(live.Device, "P1");
    EXPECT_EQ(live.DpiX, 600);
    EXPECT_EQ(live.DpiY, 300);
    EXPECT_EQ(live.LeftUnprintable, 42); // round(100 / 600 x 254)
    EXPECT_EQ(live.TopUnprintable, 25);  // round(30 / 300 x 254) = round(25.4)
    EXPECT_EQ(live.Copies, 2);
    EXPECT_EQ(live.OutputBin, TRpBin::Cassette);
    EXPECT_TRUE(live.Duplex);
    EXPECT_EQ(live.ExtendedDuplex, 2);
    EXPECT_EQ(live.PaperSize, TRpPaperSize::A5);
    EXPECT_EQ(live.PaperWidth, 1480);
    EXPECT_EQ(live.PaperLength, 2100);
    EXPECT_TRUE(live.Collate);
    EXPECT_EQ(live.PrinterIndex, 0);
    for (int i = 1; i <= SupportedPaperCount; ++i) {
        const auto size = TRpPaperSize(i);
        const bool listed =
            size == TRpPaperSize::A4 || size == TRpPaperSize::A5 || size == TRpPaperSize::Custom;
        EXPECT_EQ(live.IsSupported(size), listed) << i;
    }
    EXPECT_EQ(job.Mapping().LeftUnprintable, 42);
}

TEST(PrinterSettings, UndeclaredFieldsReadAsTheirDefaults) {
    FakePrinter printer{"P1"};
    printer.mode.dmFields = 0;
    printer.mode.dmCopies = 5;
    printer.mode.dmDefaultSource = 4;
    printer.mode.dmPaperSize = 9;
    FakePrinterSystem printers({printer});
    auto report = PagesReport(1);
    TRpPrinter job(*report);
    EXPECT_EQ(job.Settings().Copies, 1);
    EXPECT_EQ(job.Settings().OutputBin, TRpBin::First);
    EXPECT_EQ(job.Settings().PaperSize, TRpPaperSize::Default);
}

TEST(PrinterSettings, FailedReadsLeaveNoDeviceModeOrNoPrinter) {
    FakePrinter noMode{"P1"};
    noMode.modeReadable = false;
    FakePrinter noCaps{"P2"};
    noCaps.capsReadable = false;
    FakePrinterSystem printers({noMode, noCaps});
    auto report = PagesReport(1);
    {
        TRpPrinter job(*report);
        EXPECT_FALSE(job.Settings().DevMode.has_value());
        EXPECT_TRUE(job.Settings().HasPrinter);
        // Without a device mode nothing counts as declared.
        report->Page().SetOrientation(TRpOrientation::Landscape);
        ::ApplyPrinterSettings(report->PrinterSettings(), report->Page(), job.Settings());
        EXPECT_EQ(job.Settings().Orientation, TRpOrientation::Portrait);
    }
    printers.setPrinterIndex(1);
    TRpPrinter job(*report);
    EXPECT_FALSE(job.Settings().HasPrinter);
    EXPECT_EQ(job.Settings().LeftUnprintable, 0);
}

TEST(DeviceMode, PlateSettingsOnAPrinterThatDeclaresEverything) {
    auto report = PagesReport(1);
    const DeviceMode mode = WrittenFor(FakePrinter{"P1"}, *report);
    EXPECT_EQ(mode.dmOrientation, 1);
    EXPECT_EQ(mode.dmCopies, 1);
    EXPECT_EQ(mode.dmPaperSize, 9);
    EXPECT_EQ(mode.dmPaperLength, 2970);
    EXPECT_EQ(mode.dmPaperWidth, 2100);
    EXPECT_EQ(mode.dmDefaultSource, 7);
    EXPECT_EQ(mode.dmDuplex, 1);
    EXPECT_EQ(mode.dmCollate, 0);
    EXPECT_EQ(mode.dmFields, AllDeviceModeFields);
}

TEST(DeviceMode, UndeclaredFieldsAreWrittenOnlyWhereTheyAlwaysAre) {
    // Each case: the one field the driver does not declare, and what then reaches it.
    const struct {
        std::uint32_t missing;
        const char *name;
    } cases[] = {{platform::DM_ORIENTATION, "orientation"},
                 {platform::DM_COPIES, "copies"},
                 {platform::DM_DEFAULTSOURCE, "source"},
                 {platform::DM_PAPERSIZE, "paper"},
                 {platform::DM_DUPLEX, "duplex"},
                 {platform::DM_COLLATE, "collate"},
                 {platform::DM_COLOR, "colour"}};
    for (const auto &c : cases) {
        FakePrinter printer{"P1"};
        printer.mode.dmFields &= ~c.missing;
        printer.mode.dmOrientation = 7; // values no run would write
        printer.mode.dmCopies = 7;
        printer.mode.dmDefaultSource = 8;
        printer.mode.dmPaperSize = 70;
        printer.mode.dmDuplex = 7;
        printer.mode.dmCollate = 7;
        printer.mode.dmColor = 7;
        auto report = PagesReport(1);
        report->Page().SetOrientation(TRpOrientation::Landscape);
        report->PrinterSettings().Copies = 3;
        report->PrinterSettings().OutputBin = TRpBin::Lower;
        const DeviceMode mode = WrittenFor(printer, *report);
        // Orientation, copies and source are always written, with the value held when the
        // driver did not declare them: portrait, 1 copy, the first source.
        EXPECT_EQ(mode.dmOrientation, c.missing == platform::DM_ORIENTATION ? 1 : 2) << c.name;
        EXPECT_EQ(mode.dmCopies, c.missing == platform::DM_COPIES ? 1 : 3) << c.name;
        EXPECT_EQ(mode.dmDefaultSource, c.missing == platform::DM_DEFAULTSOURCE ? 1 : 2) << c.name;
        // The others keep the printer's own values when not declared.
        EXPECT_EQ(mode.dmPaperSize, c.missing == platform::DM_PAPERSIZE ? 70 : 9) << c.name;
        EXPECT_EQ(mode.dmDuplex, c.missing == platform::DM_DUPLEX ? 7 : 1) << c.name;
        EXPECT_EQ(mode.dmCollate, c.missing == platform::DM_COLLATE ? 7 : 0) << c.name;
        EXPECT_EQ(mode.dmColor, c.missing == platform::DM_COLOR ? 7 : 0) << c.name;
        // Paper length and width always go.
        EXPECT_EQ(mode.dmPaperWidth, 2100) << c.name;
        EXPECT_EQ(mode.dmPaperLength, 2970) << c.name;
    }
}

TEST(DeviceMode, PrinterWithoutA4KeepsItsPaperAndItsSize) {
    FakePrinter printer{"P1"};
    printer.papers = {1, 5};
    printer.mode.dmPaperSize = 1;
    printer.mode.dmPaperWidth = 2159;
    printer.mode.dmPaperLength = 2794;
    auto report = PagesReport(1);
    const DeviceMode mode = WrittenFor(printer, *report);
    EXPECT_EQ(mode.dmPaperSize, 1);
    EXPECT_EQ(mode.dmPaperWidth, 2159);
    EXPECT_EQ(mode.dmPaperLength, 2794);
}

TEST(DeviceMode, DuplexCustomCodesAndCustomPaper) {
    const struct {
        bool duplex;
        int extended;
        short written;
    } duplexCases[] = {{false, 0, 1}, {true, 0, 3}, {true, 2, 2}, {false, 3, 3}};
    for (const auto &c : duplexCases) {
        auto report = PagesReport(1);
        report->PrinterSettings().Duplex = c.duplex;
        report->PrinterSettings().ExtendedDuplex = c.extended;
        EXPECT_EQ(WrittenFor(FakePrinter{"P1"}, *report).dmDuplex, c.written)
            << c.duplex << "/" << c.extended;
    }

    auto report = PagesReport(1);
    report->PrinterSettings().UseCustomBinCode = true;
    report->PrinterSettings().CustomBinCode = 259;
    report->PrinterSettings().UseCustomPaperCode = true;
    report->PrinterSettings().CustomPaperCode = 120;
    DeviceMode mode = WrittenFor(FakePrinter{"P1"}, *report);
    EXPECT_EQ(mode.dmDefaultSource, 259);
    EXPECT_EQ(mode.dmPaperSize, 120);

    // A custom page asks for its own size, given as portrait width and length.
    FakePrinter custom{"P1"};
    custom.papers = {9, 256};
    for (const TRpOrientation orientation : {TRpOrientation::Portrait, TRpOrientation::Landscape}) {
        auto page = PagesReport(1);
        page->Page().SetOrientation(orientation);
        page->Page().SetPaperSize(TRpPaperSize::Custom);
        page->Page().SetWidth(orientation == TRpOrientation::Portrait ? 1000.4L : 1500);
        page->Page().SetLength(orientation == TRpOrientation::Portrait ? 1500 : 1000.4L);
        mode = WrittenFor(custom, *page);
        EXPECT_EQ(mode.dmPaperSize, 256);
        EXPECT_EQ(mode.dmPaperWidth, 1000);
        EXPECT_EQ(mode.dmPaperLength, 1500);
        EXPECT_EQ(mode.dmOrientation, orientation == TRpOrientation::Portrait ? 1 : 2);
    }
}
