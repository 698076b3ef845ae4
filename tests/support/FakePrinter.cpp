#include "FakePrinter.h"

#include "platform/Application.h"

#include <QPainter>

#include <cmath>

namespace testing_support {
namespace {

class FakeSpoolDocument final : public platform::SpoolDocument {
public:
    FakeSpoolDocument(FakePrinterSystem &system, const QString &printer,
                      const platform::DeviceCaps &caps, bool refuses, const QString &refusal)
        : system_(system), name_(printer), refuses_(refuses), refusal_(refusal),
          device_(caps.physicalWidth - 2 * caps.physicalOffsetX,
                  caps.physicalHeight - 2 * caps.physicalOffsetY, caps.logPixelsX,
                  caps.logPixelsY) {}
    ~FakeSpoolDocument() override {
        if (!finished_)
            abortDocument();
    }

    bool startPage() override {
        system_.calls << "StartPage";
        if (refuses_)
            return false;
        system_.pages.push_back({name_, {}});
        if (!painter_.isActive())
            painter_.begin(&device_);
        device_.recordInto(&system_.pages.back().primitives);
        if (system_.onStartPage)
            system_.onStartPage();
        return true;
    }
    void endPage() override {
        system_.calls << "EndPage";
        device_.recordInto(nullptr);
    }
    int endDocument() override {
        system_.calls << "EndDoc";
        finish();
        if (refuses_ || !refusal_.isEmpty())
            throw platform::Error(refusal_.isEmpty() ? QStringLiteral("refused") : refusal_);
        return ++system_.lastJob;
    }
    void abortDocument() override {
        system_.calls << "AbortDoc";
        finish();
    }
    QPainter &painter() override { return painter_; }

private:
    void finish() {
        finished_ = true;
        if (painter_.isActive())
            painter_.end();
        device_.recordInto(nullptr);
    }

    FakePrinterSystem &system_;
    QString name_;
    bool refuses_;
    QString refusal_;
    RecordingPaintDevice device_;
    QPainter painter_;
    bool finished_ = false;
};

} // namespace

FakePrinterSystem::FakePrinterSystem(std::vector<FakePrinter> list, const QString &defaultPrinter)
    : printers(std::move(list)),
      standard(defaultPrinter.isEmpty() && !printers.empty() ? printers.front().name
                                                             : defaultPrinter) {}

FakePrinter *FakePrinterSystem::find(const QString &name) {
    for (FakePrinter &p : printers)
        if (p.name == name)
            return &p;
    return nullptr;
}

QStringList FakePrinterSystem::printerNames() {
    calls << "printerNames";
    QStringList names;
    for (const FakePrinter &p : printers)
        names << p.name;
    return names;
}

QString FakePrinterSystem::defaultPrinterName() {
    return standard;
}

platform::PrinterIdentity FakePrinterSystem::identity(const QString &printer) {
    return {printer, "Fake driver", "fake:/" + printer};
}

std::optional<platform::DeviceMode> FakePrinterSystem::deviceMode(const QString &printer) {
    calls << "deviceMode " + printer;
    const FakePrinter *p = find(printer);
    if (!p || !p->modeReadable)
        return std::nullopt;
    return p->mode;
}

void FakePrinterSystem::setDeviceMode(const QString &printer, const platform::DeviceMode &mode) {
    calls << "setDeviceMode " + printer;
    written.push_back(mode);
    if (FakePrinter *p = find(printer))
        p->mode = mode;
}

std::optional<QList<int>> FakePrinterSystem::papers(const QString &printer) {
    calls << "papers " + printer;
    const FakePrinter *p = find(printer);
    if (!p)
        return std::nullopt;
    return p->papers;
}

std::optional<platform::DeviceCaps> FakePrinterSystem::deviceCaps(const QString &printer) {
    calls << "deviceCaps " + printer;
    const FakePrinter *p = find(printer);
    if (!p || !p->capsReadable)
        return std::nullopt;
    return CapsOf(*p);
}

platform::DeviceCaps FakePrinterSystem::CapsOf(const FakePrinter &printer) {
    // The physical page follows the paper of the driver's settings, like a device context.
    const platform::DeviceMode &mode = printer.mode;
    int width = int(std::lround(mode.dmPaperWidth * printer.dpiX / 254.0));
    int height = int(std::lround(mode.dmPaperLength * printer.dpiY / 254.0));
    if (mode.dmOrientation == platform::DMORIENT_LANDSCAPE)
        std::swap(width, height);
    return {printer.dpiX, printer.dpiY, printer.offsetX, printer.offsetY, width, height};
}

std::unique_ptr<platform::SpoolDocument> FakePrinterSystem::startDocument(const QString &printer,
                                                                          const QString &title) {
    calls << "StartDoc " + printer + " " + title;
    const FakePrinter *p = find(printer);
    return std::make_unique<FakeSpoolDocument>(
        *this, printer, CapsOf(p ? *p : FakePrinter{printer}), p && p->refusesDocuments,
        p ? p->refusal : QString());
}

platform::PrintJobStatus FakePrinterSystem::jobStatus(const QString &printer, int job) {
    calls << QStringLiteral("jobStatus %1 %2").arg(printer).arg(job);
    if (job != lookedAt_) {
        lookedAt_ = job;
        looks_ = 0;
        cancelled_ = false;
    }
    ++looks_;
    if (onLook)
        onLook(looks_);
    if (cancelled_)
        return {platform::PrintJobStatus::State::Cancelled};
    if (jobStates.empty())
        return {platform::PrintJobStatus::State::Completed};
    return jobStates[std::min(std::size_t(looks_), jobStates.size()) - 1];
}

void FakePrinterSystem::cancelJob(const QString &printer, int job) {
    calls << QStringLiteral("cancelJob %1 %2").arg(printer).arg(job);
    if (!cancelRefusal.isEmpty())
        throw platform::Error(cancelRefusal);
    if (job != lookedAt_)
        looks_ = 0;
    lookedAt_ = job;
    cancelled_ = true;
}

QStringList FakePrinterSystem::callsStartingWith(const QStringList &prefixes) const {
    QStringList result;
    for (const QString &call : calls)
        for (const QString &prefix : prefixes)
            if (call.startsWith(prefix)) {
                result << call;
                break;
            }
    return result;
}

} // namespace testing_support
