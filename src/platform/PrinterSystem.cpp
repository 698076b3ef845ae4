#include "PrinterSystem.h"

#include "Application.h"
#include "PrinterDeviceMode.h"
#include "PrinterDocument.h"

#include <QHash>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>

namespace platform {

QString PrinterSystem::currentPrinter() {
    // The default is looked up when the current printer is first needed and then kept, like
    // any printer selected later.
    if (selected_.isEmpty()) {
        const QStringList names = printerNames();
        const QString standard = defaultPrinterName();
        selected_ = names.contains(standard) ? standard : names.value(0);
    }
    return selected_;
}

int PrinterSystem::printerIndex() {
    const QString current = currentPrinter();
    return current.isEmpty() ? -1 : int(printerNames().indexOf(current));
}

void PrinterSystem::setPrinterIndex(int index) {
    const QStringList names = printerNames();
    if (index == -1) {
        selected_.clear();
        return;
    }
    if (index < -1 || index >= names.size())
        throw Error(QStringLiteral("Printer index out of range"));
    selected_ = names[index];
}

namespace {

// The CUPS job options of a Qt printer: a property of its print engine under the key Qt's
// CUPS support uses, a list of option names and values.
constexpr auto CupsOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// A printer set up for one document: the printer's resolution, its settings for the next
// document, full-page mode so device pixel (0, 0) is the paper's corner.
void Prepare(QPrinter &printer, const QString &name, const DeviceMode &mode) {
    printer.setPrinterName(name);
    ApplyDeviceMode(mode, printer);
    printer.setFullPage(true);
}

class QtPrinterSystem final : public PrinterSystem {
public:
    QStringList printerNames() override { return QPrinterInfo::availablePrinterNames(); }
    QString defaultPrinterName() override { return QPrinterInfo::defaultPrinterName(); }

    PrinterIdentity identity(const QString &printer) override {
        const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
        return {info.printerName(), info.makeAndModel(), info.location()};
    }
    std::optional<DeviceMode> deviceMode(const QString &printer) override {
        if (const auto held = modes_.find(printer); held != modes_.end())
            return *held;
        const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
        if (info.isNull())
            return std::nullopt;
        return modes_[printer] = DefaultDeviceMode(info);
    }
    void setDeviceMode(const QString &printer, const DeviceMode &mode) override {
        modes_[printer] = mode;
    }
    std::optional<QList<int>> papers(const QString &printer) override {
        const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
        if (info.isNull())
            return std::nullopt;
        return PaperCodesOf(info);
    }
    std::optional<DeviceCaps> deviceCaps(const QString &printer) override {
        const std::optional<DeviceMode> mode = deviceMode(printer);
        if (!mode)
            return std::nullopt;
        // A printer's capabilities change only with its settings; asking the driver takes
        // a round trip to CUPS.
        if (const auto known = caps_.find(printer); known != caps_.end() && known->first == *mode)
            return known->second;
        QPrinter device(QPrinter::HighResolution);
        Prepare(device, printer, *mode);
        const QRect paper = device.paperRect(QPrinter::DevicePixel).toRect();
        const QRect page = device.pageRect(QPrinter::DevicePixel).toRect();
        const DeviceCaps caps{
            device.logicalDpiX(),     device.logicalDpiY(), page.left() - paper.left(),
            page.top() - paper.top(), paper.width(),        paper.height()};
        caps_[printer] = {*mode, caps};
        return caps;
    }
    std::unique_ptr<SpoolDocument> startDocument(const QString &printer,
                                                 const QString &title) override {
        const DeviceMode mode = deviceMode(printer).value_or(DeviceMode{});
        return std::make_unique<PrinterDocument>([&](QPrinter &device) {
            Prepare(device, printer, mode);
            device.setDocName(title);
            // The page is placed exactly as drawn: never fitted to the printable area.
            QStringList options = device.printEngine()->property(CupsOptionsKey).toStringList();
            options << QStringLiteral("print-scaling") << QStringLiteral("none");
            device.printEngine()->setProperty(CupsOptionsKey, options);
        });
    }

private:
    QHash<QString, DeviceMode> modes_; // each printer's settings for its next document
    QHash<QString, std::pair<DeviceMode, DeviceCaps>> caps_; // and what they give
};

} // namespace

PrinterSystem &PrinterSystem::real() {
    static QtPrinterSystem printers;
    return printers;
}

} // namespace platform
