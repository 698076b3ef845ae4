// The printers the platform offers the user, in the platform's order, the process-wide
// current printer, each printer's device mode and capabilities, spooling, and the fate of a
// job handed over. A printer is known by its name; a position in the printer list is a
// printer index only where the report engine's settings ask for one.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

class QPainter;

namespace platform {

// Device-mode fields a printer declares (the dmFields mask).
enum DeviceModeField : std::uint32_t {
    DM_ORIENTATION = 0x00000001,
    DM_PAPERSIZE = 0x00000002,
    DM_PAPERLENGTH = 0x00000004,
    DM_PAPERWIDTH = 0x00000008,
    DM_COPIES = 0x00000100,
    DM_DEFAULTSOURCE = 0x00000200,
    DM_PRINTQUALITY = 0x00000400,
    DM_COLOR = 0x00000800,
    DM_DUPLEX = 0x00001000,
    DM_COLLATE = 0x00008000,
};

constexpr short DMORIENT_PORTRAIT = 1;
constexpr short DMORIENT_LANDSCAPE = 2;
constexpr short DMDUP_SIMPLEX = 1;
constexpr short DMDUP_VERTICAL = 2;   // long-edge binding
constexpr short DMDUP_HORIZONTAL = 3; // short-edge binding
constexpr short DMCOLOR_MONOCHROME = 1;
constexpr short DMCOLOR_COLOR = 2;

// A printer's settings for its next document. Paper lengths are tenths of a millimetre.
struct DeviceMode {
    std::uint32_t dmFields = 0;
    short dmOrientation = DMORIENT_PORTRAIT;
    short dmPaperSize = 0;
    short dmPaperLength = 0;
    short dmPaperWidth = 0;
    short dmCopies = 1;
    short dmDefaultSource = 0;
    short dmPrintQuality = 0;
    short dmColor = 0;
    short dmDuplex = 0;
    short dmCollate = 0;

    bool declares(std::uint32_t field) const { return (dmFields & field) != 0; }
    bool operator==(const DeviceMode &) const = default;
};

// What a printer's device context reports, in device pixels.
struct DeviceCaps {
    int logPixelsX = 0;
    int logPixelsY = 0;
    int physicalOffsetX = 0;
    int physicalOffsetY = 0;
    int physicalWidth = 0;
    int physicalHeight = 0;
};

struct PrinterIdentity {
    QString device;
    QString driver;
    QString port;
};

// One document handed to a printer: started with its name, then pages, then ended or
// aborted. Destroying a document that was neither ended nor aborted aborts it.
class SpoolDocument {
public:
    virtual ~SpoolDocument() = default;
    // False when the printer cannot take the page.
    virtual bool startPage() = 0;
    virtual void endPage() = 0;
    // Hands the document to the printer: its job number with the printer system, 0 when the
    // printer keeps no jobs (a file). Raises Error with the printer system's own reason when
    // the document is refused; nothing is then queued.
    virtual int endDocument() = 0;
    virtual void abortDocument() = 0;
    // The painter on the printer, active from the document start to its end; device pixel
    // (0, 0) is the corner of the printable area.
    virtual QPainter &painter() = 0;
};

// What the printer system says of a job it took, and of the job's printer at that moment.
struct PrintJobStatus {
    enum class State { Pending, Held, Processing, Stopped, Cancelled, Aborted, Completed, Unknown };
    State state = State::Unknown; // Unknown: the printer system no longer knows the job
    QStringList jobReasons;       // job-state-reasons, "none" left out
    QString jobMessage;           // what the printer last said while printing this job
    bool printerStopped = false;  // the queue is stopped (disabled or paused)
    bool printerAccepting = true;
    QStringList printerReasons; // printer-state-reasons, "none" left out
    QString printerMessage;
    QString failure; // empty when the printer system answered; else why it did not
};

class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;
    // Read afresh on every call; empty when no printer is installed (or CUPS is not running).
    virtual QStringList printerNames() = 0;
    // The platform's default printer; empty when there is none.
    virtual QString defaultPrinterName() = 0;

    virtual PrinterIdentity identity(const QString &printer) = 0;
    // The settings the printer's next document gets; none when they cannot be read.
    virtual std::optional<DeviceMode> deviceMode(const QString &printer) = 0;
    // Makes `mode` the printer's settings for its next document.
    virtual void setDeviceMode(const QString &printer, const DeviceMode &mode) = 0;
    // The paper codes the printer offers (DC_PAPERS); none when they cannot be read.
    virtual std::optional<QList<int>> papers(const QString &printer) = 0;
    // The device capabilities under the printer's current settings.
    virtual std::optional<DeviceCaps> deviceCaps(const QString &printer) = 0;
    // Starts a document named `title` with the printer's current settings.
    virtual std::unique_ptr<SpoolDocument> startDocument(const QString &printer,
                                                         const QString &title) = 0;
    // Where a job handed to the printer stands now.
    virtual PrintJobStatus jobStatus(const QString &printer, int job) = 0;
    // Cancels the job; raises Error with the printer system's reason when it refuses.
    virtual void cancelJob(const QString &printer, int job) = 0;

    // The process-wide current printer: the platform's default (looked up when first
    // needed) until a printer is selected, then the one selected last. Empty when no
    // printer is installed.
    QString currentPrinter();
    // Its position in the printer list, read afresh; -1 when there is none.
    int printerIndex();
    // Selects the printer at `index` in a fresh list; -1 returns to the default. Any other
    // position outside the list raises "Printer index out of range".
    void setPrinterIndex(int index);
    // Selects the printer of that name; raises NoSuchPrinter's message when the platform
    // does not list it now.
    void selectPrinter(const QString &name);

    static PrinterSystem &real();

private:
    QString selected_; // empty: not looked up yet
};

// "Drukarka „…” jest niedostępna…": a printer the platform does not list.
QString NoSuchPrinter(const QString &name);

} // namespace platform
