// Renders one plate to a PDF file, placed on a sheet position as the print job places it:
//   render_plate <8|10> <marker> <make> <model> <body number> <station> <output.pdf>
// The plate report prints through the engine onto a printer that writes the file.
#include "forms/uDrukTabliczka.h"
#include "forms/uDrukowanie.h"
#include "platform/Application.h"
#include "platform/Fonts.h"
#include "platform/PrinterDeviceMode.h"
#include "platform/PrinterDocument.h"
#include "platform/PrinterSystem.h"
#include "platform/Service.h"
#include "report/RpCtrls.h"
#include "report/RpPrinterSettings.h"
#include "report/RpReport.h"

#include <QApplication>
#include <QPainter>
#include <QPrinter>
#include <QTextStream>

#include <array>

namespace {

// A printer that writes a PDF file: A4, full page, at Qt's high resolution.
class PdfFilePrinters final : public platform::PrinterSystem {
public:
    explicit PdfFilePrinters(const QString &path) : path_(path) {}

    QStringList printerNames() override { return {Name}; }
    QString defaultPrinterName() override { return Name; }
    platform::PrinterIdentity identity(const QString &) override { return {Name, Name, path_}; }
    std::optional<platform::DeviceMode> deviceMode(const QString &) override { return mode_; }
    void setDeviceMode(const QString &, const platform::DeviceMode &mode) override { mode_ = mode; }
    std::optional<QList<int>> papers(const QString &) override { return QList<int>{A4}; }
    std::optional<platform::DeviceCaps> deviceCaps(const QString &) override {
        QPrinter printer(QPrinter::HighResolution);
        Configure(printer);
        const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
        return platform::DeviceCaps{printer.logicalDpiX(), printer.logicalDpiY(), 0, 0,
                                    paper.width(),         paper.height()};
    }
    std::unique_ptr<platform::SpoolDocument> startDocument(const QString &,
                                                           const QString &title) override {
        return std::make_unique<platform::PrinterDocument>([&](QPrinter &printer) {
            Configure(printer);
            printer.setDocName(title);
        });
    }
    // A file keeps no jobs: the document is done once written.
    platform::PrintJobStatus jobStatus(const QString &, int) override {
        return {platform::PrintJobStatus::State::Completed};
    }
    void cancelJob(const QString &, int) override {}

private:
    static constexpr const char *Name = "PDF file";
    static constexpr short A4 = 9;

    void Configure(QPrinter &printer) const {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path_);
        platform::ApplyDeviceMode(mode_, printer);
        printer.setFullPage(true);
    }

    QString path_;
    platform::DeviceMode mode_{platform::DM_ORIENTATION | platform::DM_PAPERSIZE |
                                   platform::DM_PAPERLENGTH | platform::DM_PAPERWIDTH |
                                   platform::DM_COPIES,
                               platform::DMORIENT_PORTRAIT, A4, 2970, 2100};
};

int Fail(const QString &message) {
    QTextStream(stderr) << "render_plate: " << message << '\n';
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    platform::InstallFontSubstitutions();
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() != 7)
        return Fail(QStringLiteral("usage: render_plate <8|10> <marker> <make> <model> "
                                   "<body number> <station> <output.pdf>"));
    const int sheet = arguments[0].toInt();
    if (sheet != 8 && sheet != 10)
        return Fail(
            QStringLiteral("the sheet has 8 or 10 positions, not \"%1\"").arg(arguments[0]));
    bool number = false;
    const int marker = arguments[1].toInt(&number);
    const bool onSheet =
        sheet == 8 ? marker >= 1 && marker <= 9 && marker != 5 : marker >= 1 && marker <= 10;
    if (!number || !onSheet)
        return Fail(QStringLiteral("the %1-position sheet has no marker \"%2\"")
                        .arg(sheet)
                        .arg(arguments[1]));
    const QString output = arguments[6];

    PdfFilePrinters printers(output);
    platform::ScopedService<platform::PrinterSystem> installed(printers);
    try {
        TfDrukTabliczka plate;
        std::array<platform::TColor, 10> fills;
        fills.fill(platform::clWhite);
        fills[marker - 1] = platform::SelectionColour;
        FillPlate(plate, ChosenPlateOrigin(sheet == 8 ? 0 : 1, fills),
                  {arguments[2], arguments[3], arguments[4], arguments[5]});
        plate.RpReport1->ShowProgress = false;
        plate.RpReport1->PrinterSettings().PrinterIndex = 0;
        plate.RpReport1->Print();
    } catch (const platform::Error &error) {
        return Fail(error.message());
    }
    return 0;
}
