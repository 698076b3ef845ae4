// Printer settings: the ones a report asks for (TRpReportPrinterSettings, kept with the
// report) and the live ones of a job (TPrinterSettings), which hold what the current
// printer's driver reports and what the job will ask of it.
#pragma once

#include "platform/PrinterSystem.h"
#include "report/RpTypes.h"

#include <QString>

#include <array>
#include <optional>

class TRpReportPrinterSettings {
public:
    int PrinterIndex = -1; // position in the printer list; -1 keeps the current printer
    // The printer by its name; when given it decides instead of PrinterIndex, and a printer
    // the platform no longer lists is an error rather than another printer.
    QString PrinterName;
    int Copies = 1;
    TRpBin OutputBin = TRpBin::Auto;
    int FirstPage = 0; // range of pages sent to the printer; 0 means no limit
    int LastPage = 0;
    bool Duplex = false;
    bool UseStandardprinter = false;
    bool PrintMetaFile = false;
    bool UseCustomBinCode = false;
    int CustomBinCode = 0;
    bool UseCustomPaperCode = false;
    int CustomPaperCode = 0;
    int PrintQuality = 0;
    bool Collate = false;
    int ColorOption = 0;
    int ExtendedDuplex = 0;
};

// Paper sizes Letter to Custom, each with its supported flag.
constexpr int SupportedPaperCount = PaperSizeCount - 1;

class TPrinterSettings {
public:
    // The printer the settings were read from.
    QString Device;
    QString Driver;
    QString Port;
    bool HasPrinter = false;
    int PrinterIndex = -1; // list position of the printer read last
    // The driver's settings as read; none when they could not be read.
    std::optional<platform::DeviceMode> DevMode;

    TRpPaperSize PaperSize = TRpPaperSize::A4;
    int PaperWidth = 0; // whole tenths of a millimetre
    int PaperLength = 0;
    TRpOrientation Orientation = TRpOrientation::Portrait;
    int Copies = 1;
    TRpBin OutputBin = TRpBin::First;
    bool Duplex = false;
    int ExtendedDuplex = 0;
    int PrintQuality = 0;
    bool Collate = false;
    int ColorOption = 0;
    int DpiX = 0; // the printer's pixels per inch
    int DpiY = 0;
    int LeftUnprintable = 0; // whole tenths of a millimetre
    int TopUnprintable = 0;
    std::array<bool, SupportedPaperCount> Supported{};
    bool UseStandardPrinter = false;
    int MemoryLimit = 250000;

    int FirstPage = 0;
    int LastPage = 0;
    bool PrintMetaFile = false;
    bool UseCustomBinCode = false;
    int CustomBinCode = 0;
    bool UseCustomPaperCode = false;
    int CustomPaperCode = 0;

    // Whether the printer lists the paper (always false for Default).
    bool IsSupported(TRpPaperSize size) const;
    // The driver declares the device-mode field.
    bool Declares(std::uint32_t field) const;

    // Reads the platform's current printer into the settings. A failure is not reported:
    // the settings are left without a device mode, or without a printer.
    void ReadPrinterSettings();
    // Writes the settings into the current printer's device mode, for its next document.
    void WriteDeviceMode();

    // The printer step of applying a report's settings: selects the printer named, or else
    // the one at `index`, for this and every later job, unless nothing is to change.
    void SelectPrinter(int index, const QString &name = {});
    // The paper asked for, in whole tenths of a millimetre, portrait width and length: the
    // table's for a named size, the settings' own for Default and Custom.
    int RequestedPaperWidth() const;
    int RequestedPaperLength() const;
};

class TRpPage;

// Copies a report's printer settings and its page's paper and orientation into a job's
// live settings, as far as the printer allows.
void ApplyPrinterSettings(const TRpReportPrinterSettings &report, const TRpPage &page,
                          TPrinterSettings &live);
