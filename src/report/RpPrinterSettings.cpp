#include "RpPrinterSettings.h"

#include "platform/Service.h"
#include "report/RpDevice.h"
#include "report/RpPage.h"

using platform::DeviceMode;
using platform::PrinterSystem;
using platform::Service;

namespace {

TRpPaperSize PaperSizeOfCode(int code) {
    if (code == DMPAPER_USER)
        return TRpPaperSize::Custom;
    if (code >= 1 && code < int(TRpPaperSize::Custom))
        return TRpPaperSize(code);
    return TRpPaperSize::Default;
}

TRpBin BinOfCode(int code) {
    for (std::size_t i = 0; i < BinCodes.size(); ++i)
        if (BinCodes[i] == code)
            return TRpBin(i);
    return TRpBin::First;
}

int PaperTenths(double millimetres) {
    return int(RoundHalfEven(millimetres * 10));
}

} // namespace

bool TPrinterSettings::IsSupported(TRpPaperSize size) const {
    return size != TRpPaperSize::Default && Supported[std::size_t(size) - 1];
}

bool TPrinterSettings::Declares(std::uint32_t field) const {
    return DevMode && DevMode->declares(field);
}

void TPrinterSettings::ReadPrinterSettings() {
    PrinterSystem &printers = Service<PrinterSystem>::get();
    const QString current = printers.currentPrinter();
    const platform::PrinterIdentity identity = printers.identity(current);
    Device = identity.device;
    Driver = identity.driver;
    Port = identity.port;
    HasPrinter = !current.isEmpty();
    DevMode = printers.deviceMode(current);

    const std::optional<platform::DeviceCaps> caps = printers.deviceCaps(current);
    const std::optional<QList<int>> papers = printers.papers(current);
    if (!caps || !papers) {
        HasPrinter = false;
        return;
    }
    DpiX = caps->logPixelsX;
    DpiY = caps->logPixelsY;
    Copies = Declares(platform::DM_COPIES) ? DevMode->dmCopies : 1;
    OutputBin =
        Declares(platform::DM_DEFAULTSOURCE) ? BinOfCode(DevMode->dmDefaultSource) : TRpBin::First;
    if (Declares(platform::DM_DUPLEX)) {
        Duplex = DevMode->dmDuplex != platform::DMDUP_SIMPLEX;
        ExtendedDuplex = DevMode->dmDuplex;
    }
    if (DpiX > 0 && DpiY > 0) {
        LeftUnprintable = TRpDeviceMapping::PixelsToTenths(caps->physicalOffsetX, DpiX);
        TopUnprintable = TRpDeviceMapping::PixelsToTenths(caps->physicalOffsetY, DpiY);
        PaperWidth = TRpDeviceMapping::PixelsToTenths(caps->physicalWidth, DpiX);
        PaperLength = TRpDeviceMapping::PixelsToTenths(caps->physicalHeight, DpiY);
    }
    PaperSize = Declares(platform::DM_PAPERSIZE) ? PaperSizeOfCode(DevMode->dmPaperSize)
                                                 : TRpPaperSize::Default;
    for (int i = 0; i < SupportedPaperCount; ++i)
        Supported[std::size_t(i)] = papers->contains(PaperCode(TRpPaperSize(i + 1)));
    if (DevMode) {
        PrintQuality = DevMode->dmPrintQuality;
        Collate = DevMode->dmCollate != 0;
        ColorOption = DevMode->dmColor;
    }
    PrinterIndex = printers.printerIndex();
}

int TPrinterSettings::RequestedPaperWidth() const {
    if (PaperSize == TRpPaperSize::Default || PaperSize == TRpPaperSize::Custom)
        return PaperWidth;
    return PaperTenths(PaperOf(PaperSize).width);
}

int TPrinterSettings::RequestedPaperLength() const {
    if (PaperSize == TRpPaperSize::Default || PaperSize == TRpPaperSize::Custom)
        return PaperLength;
    return PaperTenths(PaperOf(PaperSize).length);
}

void TPrinterSettings::WriteDeviceMode() {
    PrinterSystem &printers = Service<PrinterSystem>::get();
    const QString current = printers.currentPrinter();
    std::optional<DeviceMode> mode = printers.deviceMode(current);
    if (!mode)
        return;
    const auto set = [&mode](std::uint32_t field, short &member, int value) {
        member = short(value);
        mode->dmFields |= field;
    };
    set(platform::DM_PAPERLENGTH, mode->dmPaperLength, RequestedPaperLength());
    set(platform::DM_PAPERWIDTH, mode->dmPaperWidth, RequestedPaperWidth());
    if (mode->declares(platform::DM_PAPERSIZE) && PaperSize != TRpPaperSize::Default)
        set(platform::DM_PAPERSIZE, mode->dmPaperSize,
            UseCustomPaperCode ? CustomPaperCode : PaperCode(PaperSize));
    set(platform::DM_COPIES, mode->dmCopies, Copies);
    if (mode->declares(platform::DM_DUPLEX))
        set(platform::DM_DUPLEX, mode->dmDuplex,
            ExtendedDuplex != 0 ? ExtendedDuplex
            : Duplex            ? platform::DMDUP_HORIZONTAL
                                : platform::DMDUP_SIMPLEX);
    set(platform::DM_DEFAULTSOURCE, mode->dmDefaultSource,
        UseCustomBinCode ? CustomBinCode : BinCode(OutputBin));
    set(platform::DM_ORIENTATION, mode->dmOrientation,
        Orientation == TRpOrientation::Landscape ? platform::DMORIENT_LANDSCAPE
                                                 : platform::DMORIENT_PORTRAIT);
    if (mode->declares(platform::DM_COLLATE))
        set(platform::DM_COLLATE, mode->dmCollate, Collate ? 1 : 0);
    if (mode->declares(platform::DM_COLOR))
        set(platform::DM_COLOR, mode->dmColor, ColorOption);
    printers.setDeviceMode(current, *mode);
}

void TPrinterSettings::SelectPrinter(int index, const QString &name) {
    PrinterSystem &printers = Service<PrinterSystem>::get();
    const QStringList names = printers.printerNames();
    if (names.isEmpty() || UseStandardPrinter)
        return;
    if (!name.isEmpty()) {
        if (names.contains(name) && name == printers.currentPrinter())
            return;
        printers.selectPrinter(name);
    } else {
        if (index == -1 || index == printers.printerIndex())
            return;
        printers.setPrinterIndex(index);
    }
    ReadPrinterSettings();
}

void ApplyPrinterSettings(const TRpReportPrinterSettings &report, const TRpPage &page,
                          TPrinterSettings &live) {
    live.SelectPrinter(report.PrinterIndex, report.PrinterName);
    if (page.PaperSize() == TRpPaperSize::Default || live.IsSupported(page.PaperSize()))
        live.PaperSize = page.PaperSize();
    if (live.Declares(platform::DM_ORIENTATION))
        live.Orientation = page.Orientation();
    if (live.PaperSize == TRpPaperSize::Custom) {
        const long double width = page.Native(TRpPage::WidthIndex);
        const long double length = page.Native(TRpPage::LengthIndex);
        const bool landscape = live.Orientation == TRpOrientation::Landscape;
        live.PaperWidth = int(RoundHalfEven(landscape ? length : width));
        live.PaperLength = int(RoundHalfEven(landscape ? width : length));
    }
    if (live.Declares(platform::DM_COPIES))
        live.Copies = report.Copies;
    if (live.Declares(platform::DM_DEFAULTSOURCE))
        live.OutputBin = report.OutputBin;
    live.FirstPage = report.FirstPage;
    live.LastPage = report.LastPage;
    if (live.Declares(platform::DM_DUPLEX))
        live.Duplex = report.Duplex;
    live.UseStandardPrinter = report.UseStandardprinter;
    live.PrintMetaFile = report.PrintMetaFile;
    live.UseCustomBinCode = report.UseCustomBinCode;
    live.CustomBinCode = report.CustomBinCode;
    live.UseCustomPaperCode = report.UseCustomPaperCode;
    live.CustomPaperCode = report.CustomPaperCode;
    live.PrintQuality = report.PrintQuality;
    live.Collate = report.Collate;
    live.ColorOption = report.ColorOption;
    live.ExtendedDuplex = report.ExtendedDuplex;
}
