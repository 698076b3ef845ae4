// A printer system with configurable printers that records every call made to it and
// every primitive drawn on its pages. Installed for its own lifetime.
#pragma once

#include "platform/PrinterSystem.h"
#include "platform/Service.h"
#include "support/FakePrinterDevice.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace testing_support {

// Every device-mode field a driver can declare.
constexpr std::uint32_t AllDeviceModeFields =
    platform::DM_ORIENTATION | platform::DM_PAPERSIZE | platform::DM_PAPERLENGTH |
    platform::DM_PAPERWIDTH | platform::DM_COPIES | platform::DM_DEFAULTSOURCE |
    platform::DM_PRINTQUALITY | platform::DM_COLOR | platform::DM_DUPLEX | platform::DM_COLLATE;

struct FakePrinter {
    QString name;
    int dpiX = 600;
    int dpiY = 600;
    int offsetX = 0; // device pixels from the paper's edge to the printable area
    int offsetY = 0;
    // The driver's settings; paper A4 (code 9, 2100 x 2970 tenths of a millimetre).
    platform::DeviceMode mode{
        AllDeviceModeFields,     platform::DMORIENT_PORTRAIT, 9, 2970, 2100, 1, 7, 600,
        platform::DMCOLOR_COLOR, platform::DMDUP_SIMPLEX,     1};
    QList<int> papers{1, 5, 8, 9, 11};
    bool modeReadable = true;
    bool capsReadable = true;
    bool refusesDocuments = false; // no page starts and no document is handed over
    // Set: the printer system refuses the finished document with this reason.
    QString refusal;
};

struct RecordedPage {
    QString printer;
    Primitives primitives;
};

class FakePrinterSystem final : public platform::PrinterSystem {
public:
    // The default printer is the first one unless named.
    explicit FakePrinterSystem(std::vector<FakePrinter> printers = {},
                               const QString &defaultPrinter = {});

    QStringList printerNames() override;
    QString defaultPrinterName() override;
    platform::PrinterIdentity identity(const QString &printer) override;
    std::optional<platform::DeviceMode> deviceMode(const QString &printer) override;
    void setDeviceMode(const QString &printer, const platform::DeviceMode &mode) override;
    std::optional<QList<int>> papers(const QString &printer) override;
    std::optional<platform::DeviceCaps> deviceCaps(const QString &printer) override;
    std::unique_ptr<platform::SpoolDocument> startDocument(const QString &printer,
                                                           const QString &title) override;
    platform::PrintJobStatus jobStatus(const QString &printer, int job) override;
    void cancelJob(const QString &printer, int job) override;

    FakePrinter *find(const QString &name);

    std::vector<FakePrinter> printers;
    QString standard;
    // Every call, in order: "printerNames", "deviceMode P1", "setDeviceMode P1",
    // "papers P1", "deviceCaps P1", "StartDoc P1 <title>", "StartPage", "EndPage",
    // "EndDoc", "AbortDoc", "jobStatus P1 <job>", "cancelJob P1 <job>".
    QStringList calls;
    std::vector<platform::DeviceMode> written; // every device mode set, in order
    std::vector<RecordedPage> pages;           // every printed page

    // Runs at every page start, after it has been recorded.
    std::function<void()> onStartPage;

    // What each look at a job finds, in turn, the last one from then on; without any, every
    // job has completed when first looked at. A cancelled job is cancelled from then on.
    std::vector<platform::PrintJobStatus> jobStates;
    // Runs at every look at a job, before it is answered: the number of the look, from 1.
    std::function<void(int)> onLook;
    QString cancelRefusal; // set: cancelling is refused with this reason
    int lastJob = 0;       // the number of the last job handed over

    // The calls whose text starts with one of `prefixes`.
    QStringList callsStartingWith(const QStringList &prefixes) const;

private:
    static platform::DeviceCaps CapsOf(const FakePrinter &printer);
    int lookedAt_ = 0; // the job the looks count for
    int looks_ = 0;
    bool cancelled_ = false;
    platform::ScopedService<platform::PrinterSystem> scope_{*this};
};

} // namespace testing_support
