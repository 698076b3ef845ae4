#include "PrinterSystem.h"

#include "Application.h"
#include "CupsJobs.h"
#include "PrinterDeviceMode.h"
#include "PrinterDocument.h"
#include "TemporaryFile.h"

#include <QHash>
#include <QPainter>
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

void PrinterSystem::selectPrinter(const QString &name) {
    if (!printerNames().contains(name))
        throw Error(NoSuchPrinter(name));
    selected_ = name;
}

QString NoSuchPrinter(const QString &name) {
    return QStringLiteral("Drukarka „%1” jest niedostępna: nie ma jej na liście drukarek "
                          "systemu (usunięto ją albo system drukowania nie działa)")
        .arg(name);
}

namespace {

// A printer set up for one document: the printer's resolution, its settings for the next
// document, full-page mode so device pixel (0, 0) is the paper's corner.
void Prepare(QPrinter &printer, const QString &name, const DeviceMode &mode) {
    printer.setPrinterName(name);
    ApplyDeviceMode(mode, printer);
    printer.setFullPage(true);
}

// A document for a CUPS queue: drawn exactly as Qt's CUPS engine draws it (a PDF at the
// printer's high resolution, full page), kept in a file without a name, then handed to the
// queue through libcups with every answer checked.
class CupsDocument final : public SpoolDocument {
public:
    CupsDocument(const QString &printer, const QString &title, const DeviceMode &mode)
        : printer_(printer), title_(title), options_(CupsOptionsOf(mode)),
          file_(OpenNamelessTemporaryFile()), pdf_([&](QPrinter &device) {
              device.setOutputFormat(QPrinter::PdfFormat);
              // The PDF engine opens its output by name: the file's own entry in /proc
              // reaches the nameless file.
              if (file_)
                  device.setOutputFileName(QStringLiteral("/proc/self/fd/%1").arg(file_->handle()));
              ApplyDeviceMode(mode, device);
              device.setFullPage(true);
              device.setDocName(title);
          }) {}

    bool startPage() override { return file_ && pdf_.startPage(); }
    void endPage() override { pdf_.endPage(); }
    int endDocument() override {
        pdf_.endDocument();
        return SubmitPdfJob(printer_, title_, options_, *file_);
    }
    void abortDocument() override { pdf_.abortDocument(); }
    QPainter &painter() override { return pdf_.painter(); }

private:
    QString printer_;
    QString title_;
    QStringList options_;
    std::unique_ptr<QFile> file_;
    PrinterDocument pdf_;
};

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
        return std::make_unique<CupsDocument>(printer, title,
                                              deviceMode(printer).value_or(DeviceMode{}));
    }
    PrintJobStatus jobStatus(const QString &, int job) override { return CupsJobStatus(job); }
    void cancelJob(const QString &printer, int job) override { CancelCupsJob(printer, job); }

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
