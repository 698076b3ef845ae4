// A report: its page, bands and printables, the services its items measure and draw with,
// and its run, which turns it into printed pages or page images.
#pragma once

#include "platform/Canvas.h"
#include "platform/TextMeasurer.h"
#include "report/RpBand.h"
#include "report/RpCalibration.h"
#include "report/RpFrame.h"
#include "report/RpPage.h"
#include "report/RpPrintable.h"

#include <QRectF>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class TRpDevice;
class TRpPrinter;
class TRpReportPrinterSettings;

struct TRpReportOptions {
    bool FirstPageHeader = true;
    bool LastPageFooter = true;
    bool Compression = false;
    bool operator==(const TRpReportOptions &) const = default;
};

// A document the printer system took and reported printed: its printer, its job number and
// the registration correction it was printed with.
struct TRpPrinted {
    QString Printer;
    int Job = 0;
    TRpCalibration Correction;
};

enum class TFormStyle { fsNormal, fsStayOnTop };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TRpZoomState { rpZoomToFit, rpZoomToWidth, rpZoomOther, rpZoom100 };

class TRpReport {
public:
    TRpReport();
    ~TRpReport();
    TRpReport(const TRpReport &) = delete;
    TRpReport &operator=(const TRpReport &) = delete;

    QString Name;

    TRpPage &Page() { return page_; }
    const TRpPage &Page() const { return page_; }
    TRpFrame &Frame() { return frame_; }
    const TRpFrame &Frame() const { return frame_; }

    // The page's units; writing them sets the units of the page, every band size and the
    // size of every printable.
    TRpUnit Units() const { return page_.Units(); }
    void SetUnits(TRpUnit units);
    // 1 to 300 percent, passed on to the page, every band and every printable's size;
    // other values are ignored.
    int Zoom() const { return zoom_; }
    void SetZoom(int zoom);
    // The screen's logical pixels per inch, read when the report was created.
    int ScreenDpi() const { return screenDpi_; }

    const platform::Font &Font() const { return font_; }
    // Labels that take their font from the report lay themselves out again.
    void SetFont(const platform::Font &font);

    // The report's size in design pixels, set from the page.
    int PixelWidth() const { return pixelWidth_; }
    int PixelHeight() const { return pixelHeight_; }
    void SetPixelWidth(int width) { pixelWidth_ = width; }
    void SetPixelHeight(int height) { pixelHeight_ = height; }

    TRpBand &AddBand(std::unique_ptr<TRpBand> band);
    const std::vector<std::unique_ptr<TRpBand>> &Bands() const { return bands_; }
    // The first band of a type, or none.
    TRpBand *FindBand(TRpBandType type) const;

    // Places a printable directly on the report rather than on a band.
    template <class Item> Item &AddItem(std::unique_ptr<Item> item) {
        Item &placed = *item;
        PlaceItem(std::move(item));
        return placed;
    }
    const std::vector<std::unique_ptr<TRpPrintable>> &Items() const { return items_; }
    // An item on a band or on the report, by name; none when there is no such item.
    TRpPrintable *FindItem(const QString &name) const;
    template <class Item> Item *Find(const QString &name) const {
        return dynamic_cast<Item *>(FindItem(name));
    }

    // Measuring services, in design pixels, on a surface compatible with the screen:
    // the font's cell height, and the width of a string plus one.
    int LineHeight(const platform::Font &font) const;
    int TextWidth(const platform::Font &font, const QString &text) const;

    // Rendering draws on the device's canvas; always so here (it is off only while a report
    // is exported, which this system never does).
    bool DrawsOnCanvas() const { return true; }
    // The device printables capture in BeginRun: the job of the current run.
    TRpDevice *Device() const { return device_; }
    void SetDevice(TRpDevice *device) { device_ = device; }

    // Every printable, on bands in band order and then on the report.
    void PrintablesBeginRun();
    void PrintablesEndRun();
    // The summed heights of the enabled page-footer bands, tenths of a millimetre.
    long double PageFooterHeight() const;

    // Run
    // The run and its job are implemented in RpReportRun.cpp.
    // Prints, and when the printer system took the document as a job, follows it until it
    // has printed; raises when it was refused, failed or was cancelled.
    void Print();
    // While Print follows its job: cancels it at the printer system, as "Anuluj wydruk" does.
    // False when no job is being followed.
    bool CancelPrint();
    bool Printing() const { return watch_ != nullptr; }
    // What the last Print that returned handed over and saw printed; no job when it printed
    // nothing.
    const TRpPrinted &LastPrinted() const { return lastPrinted_; }
    void Preview();
    void RunReport();
    void PrintBand(TRpBand &band);
    void OpenPage();
    void FinishPage();
    void CancelRun();
    // The job's preview-closed notice, delivered at once.
    void PreviewClosed();
    // Copies the printer settings, paper and orientation into the current job's settings.
    void ApplyPrinterSettings();

    bool RunInProgress() const { return runInProgress_; }
    bool RunCancelled() const { return runCancelled_; }
    bool FinalPage() const { return finalPage_; }
    // The print position in whole tenths of a millimetre; PrintY is -1 before a page begins.
    int PrintX() const { return printX_; }
    int PrintY() const { return printY_; }
    int PageCount() const { return pageCount_; }
    long double FooterAllowance() const { return footerAllowance_; }
    TRpPrinter *RpPrinter() const { return rpPrinter_.get(); }
    TRpReportPrinterSettings &PrinterSettings() { return *printerSettings_; }
    const TRpReportPrinterSettings &PrinterSettings() const { return *printerSettings_; }

    bool ShowProgress = true;
    bool PrintIfEmpty = true;
    QString ReportTitle;
    TRpReportOptions Options;
    int MemoryLimit = 250000;
    // The registration correction of a printer by its name, applied by a job onto that
    // printer; none when unset.
    std::function<TRpCalibration(const QString &printer)> PrinterCalibration;
    TFormStyle PrevFormStyle = TFormStyle::fsNormal;
    TWindowState PreviewInitialState = TWindowState::wsNormal;
    int PreviewWidth = 0;
    int PreviewHeight = 0;
    int PreviewLeft = 0;
    int PreviewTop = 0;
    TRpZoomState PrevInitialZoom = TRpZoomState::rpZoomToFit;
    // The part of the page the preview opens on, in tenths of a millimetre from the paper's
    // corner; empty: the top of the page. Only where the preview scrolls to changes.
    QRectF PreviewFocus;

private:
    bool runInProgress_ = false;
    bool runCancelled_ = false;
    bool finalPage_ = false;
    int printX_ = 0;
    int printY_ = -1;
    int pageCount_ = 0;
    long double footerAllowance_ = 0;
    std::unique_ptr<TRpPrinter> rpPrinter_;
    class TRpJobWatch *watch_ = nullptr;
    TRpPrinted lastPrinted_;
    std::unique_ptr<TRpReportPrinterSettings> printerSettings_;
    void PrintBands();
    void RenderBand(TRpBand &band);
    bool Fits(const TRpBand &band) const;
    void EndRunJob();
    // End of the run's part.

    void PlaceItem(std::unique_ptr<TRpPrintable> item);
    // Every printable, on bands in band order and then on the report.
    template <class Visit> void ForEachPrintable(Visit visit) const {
        for (const auto &band : bands_)
            for (const auto &item : band->Items())
                visit(*item);
        for (const auto &item : items_)
            visit(*item);
    }

    int screenDpi_;
    platform::TextMeasurer &measurer_;
    TRpPage page_{this};
    TRpFrame frame_;
    int zoom_ = 100;
    platform::Font font_;
    int pixelWidth_ = 0;
    int pixelHeight_ = 0;
    std::vector<std::unique_ptr<TRpBand>> bands_;
    std::vector<std::unique_ptr<TRpPrintable>> items_;
    TRpDevice *device_ = nullptr;
};
